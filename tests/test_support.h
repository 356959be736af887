// What the game's tests share: a working directory of their own, a clock they
// move by hand, and keys arriving through SDL's event queue as a player's would.
#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>

#include "runtime/misc/clock.h"
#include "tests/scratch_dir.h"

// The clock behind the game's timers, in microseconds since the Unix epoch, moved
// by the test. A wait of the game's (a pause looking at the keys again) moves it to
// the wait's end at once, then runs whileWaiting: the test acts on its own thread
// while the game waits, as a player would meanwhile.
inline int64_t clockNow = 0;
inline std::function<void()> whileWaiting;

inline int64_t TestClockNow() {
  return clockNow * 1000;
}
inline void TestClockSleepUntil(int64_t due) {
  clockNow = std::max(clockNow, (due + 999) / 1000);
  if (whileWaiting)
    whileWaiting();
}
// For misc::SetClockSource.
inline const misc::ClockSource TestClock{TestClockNow, TestClockSleepUntil};

// A key goes down or up; the game sees it at its next examination of the keyboard.
inline void PushKey(SDLKey key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  ASSERT_EQ(SDL_PushEvent(&event), 0);
}
