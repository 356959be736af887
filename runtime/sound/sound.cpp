// Sound: the device, the sound table and loading. The channels are in channels.cpp.
#include "runtime/sound/sound.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

SDL_AudioSpec wanted;
SDL_AudioSpec obtained;
RT_SoundEntry *RT_Sound_ObjectsArea = nullptr;
int32_t RT_Sound_ObjectsNumber = 0;

namespace {

constexpr int32_t TableMargin = 50; // rows the table has at start and gains past a new number

// A sound converted to the device's format, ready to go into the table.
struct Converted {
  uint8_t *data;
  int32_t length;
};

// A copy of the samples in the obtained format, in a buffer of its own. Null data
// when SDL cannot convert them or memory runs out.
Converted ConvertSamples(const SDL_AudioSpec &spec, const Uint8 *samples, Uint32 length) {
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, obtained.format,
                        obtained.channels, obtained.freq) < 0)
    return {nullptr, 0};
  const int64_t bufferLength = int64_t(length) * cvt.len_mult;
  if (bufferLength > INT32_MAX)
    return {nullptr, 0};
  auto *data = static_cast<uint8_t *>(std::malloc(size_t(std::max<int64_t>(bufferLength, 1))));
  if (!data)
    return {nullptr, 0};
  std::memcpy(data, samples, length);
  int convertedLength = int(length);
  if (cvt.needed) {
    cvt.buf = data;
    cvt.len = int(length);
    if (SDL_ConvertAudio(&cvt) < 0) {
      std::free(data);
      return {nullptr, 0};
    }
    convertedLength = cvt.len_cvt;
  }
  // Whole frames only, so a repeating channel always goes back to a frame's start.
  const int frame = ((obtained.format & 0xFF) / 8) * obtained.channels;
  return {data, convertedLength / frame * frame};
}

// Reads a WAV from the source, closing it, and converts it to the obtained format.
Converted ConvertWav(SDL_RWops *source) {
  SDL_AudioSpec spec;
  Uint8 *samples = nullptr;
  Uint32 length = 0;
  if (!source || !SDL_LoadWAV_RW(source, 1, &spec, &samples, &length))
    return {nullptr, 0};
  const Converted sound = ConvertSamples(spec, samples, length);
  SDL_FreeWAV(samples);
  return sound;
}

// Puts a converted sound into its slot, stopping and releasing what the slot held.
int32_t StoreSound(int32_t number, Converted sound) {
  if (!sound.data)
    return 0;
  if (number < 0 || !RT_Sound_CheckReAlloc(number)) {
    std::free(sound.data);
    return 0;
  }
  RT_FreeSound(number);
  RT_Sound_ObjectsArea[number] = {sound.data, sound.length, 100};
  return 1;
}

uint32_t ReadLE32(const uint8_t *bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24;
}

// A WAV image is taken only when it is tagged RIFF with a "fmt " chunk first and
// every chunk it declares lies inside it.
bool WavImageFits(const uint8_t *image, int32_t imageSize) {
  if (!image || imageSize < 20 || std::memcmp(image, "RIFF", 4) != 0 ||
      std::memcmp(image + 12, "fmt ", 4) != 0)
    return false;
  const uint32_t riffSize = ReadLE32(image + 4);
  if (riffSize > uint32_t(imageSize) - 8)
    return false;
  const uint32_t end = riffSize + 8;
  for (uint32_t offset = 12; offset < end;) {
    if (end - offset < 8)
      return false;
    const uint32_t chunkSize = ReadLE32(image + offset + 4);
    if (chunkSize > end - offset - 8)
      return false;
    offset += 8 + chunkSize + (chunkSize & 1); // a pad byte follows odd chunks
  }
  return true;
}

} // namespace

void *RT_InitSound() {
  RT_Sound_ObjectsArea = nullptr;
  if (SDL_Init(SDL_INIT_AUDIO) != 0)
    return nullptr;
  wanted = {};
  wanted.freq = 44100;
  wanted.format = AUDIO_S16LSB;
  wanted.channels = 2;
  wanted.samples = 512;
  wanted.callback = fill_audio;
  wanted.userdata = nullptr;
  if (SDL_OpenAudio(&wanted, &obtained) < 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  RT_Sound_ObjectsArea =
      static_cast<RT_SoundEntry *>(std::calloc(TableMargin, sizeof(RT_SoundEntry)));
  if (!RT_Sound_ObjectsArea) {
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  RT_Sound_ObjectsNumber = TableMargin;
  for (RT_SoundChannel &channel : RT_Sound_Channels)
    channel.remaining = 0;
  SDL_PauseAudio(0);
  return RT_Sound_ObjectsArea;
}

void RT_FreeSounds() {}

int32_t RT_Sound_CheckReAlloc(int32_t number) {
  if (number < RT_Sound_ObjectsNumber)
    return 1;
  if (number > INT32_MAX - TableMargin)
    return 0;
  const int32_t capacity = number + TableMargin;
  auto *grown = static_cast<RT_SoundEntry *>(
      std::realloc(RT_Sound_ObjectsArea, size_t(capacity) * sizeof(RT_SoundEntry)));
  if (!grown)
    return 0;
  std::memset(grown + RT_Sound_ObjectsNumber, 0,
              size_t(capacity - RT_Sound_ObjectsNumber) * sizeof(RT_SoundEntry));
  RT_Sound_ObjectsArea = grown;
  RT_Sound_ObjectsNumber = capacity;
  return 1;
}

int32_t RT_LoadSound(int32_t number, const char *fileName) {
  if (!fileName)
    return 0;
  std::string name = fileName;
  for (char &c : name)
    if (c == '\\')
      c = '/';
  return StoreSound(number, ConvertWav(SDL_RWFromFile(name.c_str(), "rb")));
}

int32_t RT_CatchSound(int32_t number, const void *image, int32_t imageSize) {
  const auto *bytes = static_cast<const uint8_t *>(image);
  if (!WavImageFits(bytes, imageSize))
    return 0;
  return StoreSound(number, ConvertWav(SDL_RWFromConstMem(bytes, imageSize)));
}

void RT_FreeSound(int32_t number) {
  RT_SoundEntry &entry = RT_Sound_ObjectsArea[number];
  if (!entry.data)
    return;
  RT_StopSound(number);
  std::free(entry.data);
  entry.data = nullptr;
  entry.length = 0;
}
