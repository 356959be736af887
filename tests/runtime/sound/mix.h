// The mixer as the sound tests drive it: sounds loaded, one device buffer mixed by
// calling the callback directly, and the channels' sounds.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/sound/sound.h"

constexpr int BufferBytes = 2048; // one device buffer: 512 stereo 16-bit frames

// Loads a WAV image at the number; the test fails if it does not load.
inline void Load(int32_t number, const std::vector<uint8_t> &image) {
  ASSERT_EQ(RT_CatchSound(number, image.data(), int32_t(image.size())), 1);
}

// One device buffer mixed from silence, as 16-bit samples.
inline std::vector<int16_t> Mix() {
  std::vector<int16_t> samples(BufferBytes / 2, 0);
  fill_audio(nullptr, reinterpret_cast<uint8_t *>(samples.data()), BufferBytes);
  return samples;
}

// The sound on each channel, -1 for a free one.
inline std::vector<int32_t> BusySounds() {
  std::vector<int32_t> sounds;
  for (const RT_SoundChannel &channel : RT_Sound_Channels)
    sounds.push_back(channel.remaining > 0 ? channel.sound : -1);
  return sounds;
}

// Every sample of the buffer from sample `from` on (to `to`) equals value.
inline testing::AssertionResult AllEqual(const std::vector<int16_t> &samples, int16_t value,
                                         size_t from = 0, size_t to = SIZE_MAX) {
  for (size_t i = from; i < std::min(to, samples.size()); i++)
    if (samples[i] != value)
      return testing::AssertionFailure()
             << "sample " << i << ": expected " << value << ", got " << samples[i];
  return testing::AssertionSuccess();
}
