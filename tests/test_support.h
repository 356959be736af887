// What the game's tests share: a working directory of their own, a clock they
// move by hand, and keys arriving through SDL's event queue as a player's would.
#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/scratch_dir.h"

// The calendar clock behind the game's timers, in microseconds since the Unix
// epoch, for RT_SetClockSource.
inline int64_t clockNow = 0;
inline int64_t TestClock() {
  return clockNow;
}

// A key goes down or up; the game sees it at its next examination of the keyboard.
inline void PushKey(SDLKey key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
}
