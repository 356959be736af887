// The six sound effects, carried inside the program as WAV images.
#pragma once

#include <cstdint>

enum : int32_t {
  SoundBeat0 = 0,
  SoundBeat1 = 1,
  SoundExplosion = 2,
  SoundShot = 3,
  SoundSaucer = 4,
  SoundEngine = 5,
};

void LoadSoundEffects(); // loads sounds 0 to 5 into the runtime's table
