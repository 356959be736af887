// The six sound effects, handed to the runtime from the images built into the program.
#include "game/effects.h"

#include "assets/sound_effects.h"
#include "runtime/sound/sound.h"

void LoadSoundEffects() {
  // A sound that fails to load stays silent: playing an empty slot does nothing.
  for (int32_t number = 0; number < SoundEffectCount; number++)
    RT_CatchSound(number, SoundEffectImages[number].data, SoundEffectImages[number].size);
}
