// The six sound effects' WAV images, built into the program from the files in
// assets/ and lying one after another in sound-number order.
#pragma once

#include <cstdint>

struct SoundEffectImage {
  const uint8_t *data;
  int32_t size; // bytes of the whole image
};

constexpr int SoundEffectCount = 6;
extern const SoundEffectImage SoundEffectImages[SoundEffectCount];
