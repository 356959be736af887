// Every sound call of the game goes through these, so none is made while
// UseAudio is 0.
#pragma once

#include <cstdint>

#include "game/world.h"
#include "runtime/sound/sound.h"

inline void PlayEffect(int32_t sound, int32_t mode) {
  if (UseAudio != 0)
    RT_PlaySound2(sound, mode);
}

inline void StopEffect(int32_t sound) {
  if (UseAudio != 0)
    RT_StopSound(sound);
}
