// WAV images made in memory for the sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void PutLE(Bytes &out, uint32_t value, int size) {
  for (int i = 0; i < size; i++)
    out.push_back(uint8_t(value >> (8 * i)));
}

inline void PutChunk(Bytes &out, const char *tag, const Bytes &body) {
  out.insert(out.end(), tag, tag + 4);
  PutLE(out, uint32_t(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() & 1)
    out.push_back(0);
}

// A PCM "fmt " body; extraBytes > 0 makes the longer form with a cbSize field.
inline Bytes FormatBody(int rate, int channels, int bits, int extraBytes = 0) {
  Bytes body;
  const int block = channels * bits / 8;
  PutLE(body, 1, 2);
  PutLE(body, channels, 2);
  PutLE(body, rate, 4);
  PutLE(body, rate * block, 4);
  PutLE(body, block, 2);
  PutLE(body, bits, 2);
  if (extraBytes > 0) {
    PutLE(body, extraBytes - 2, 2);
    body.resize(body.size() + extraBytes - 2, 0);
  }
  return body;
}

// RIFF, WAVE, then the given chunks in order.
inline Bytes RiffImage(const std::vector<std::pair<std::string, Bytes>> &chunks) {
  Bytes rest = {'W', 'A', 'V', 'E'};
  for (const auto &[tag, body] : chunks)
    PutChunk(rest, tag.c_str(), body);
  Bytes image = {'R', 'I', 'F', 'F'};
  PutLE(image, uint32_t(rest.size()), 4);
  image.insert(image.end(), rest.begin(), rest.end());
  return image;
}

// The device's own format (44100 Hz, 16-bit stereo), so it loads without conversion:
// frame i holds value(i) on both sides.
template <typename Value> Bytes DeviceWav(int frames, Value value) {
  Bytes data;
  for (int i = 0; i < frames; i++) {
    PutLE(data, uint16_t(int16_t(value(i))), 2);
    PutLE(data, uint16_t(int16_t(value(i))), 2);
  }
  return RiffImage({{"fmt ", FormatBody(44100, 2, 16)}, {"data", data}});
}

inline Bytes ConstantWav(int frames, int16_t value) {
  return DeviceWav(frames, [value](int) { return value; });
}

// 8-bit mono at 11025 Hz, the game's own format.
inline Bytes GameFormatWav(int samples) {
  return RiffImage({{"fmt ", FormatBody(11025, 1, 8)}, {"data", Bytes(samples, 200)}});
}
