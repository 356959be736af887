// Keyboard: the one reader of SDL's event queue, and the held and released tables.
#include "runtime/keyboard/keyboard.h"

#include <SDL/SDL.h>
#include <cstring>

#include "runtime/keyboard/gamepads.h"
#include "runtime/keyboard/quit_signals.h"
#include "runtime/screen/video.h"

namespace {

constexpr int32_t KeyCount = 500;     // every SDL 1.2 key symbol lies below 323
constexpr int32_t ReleaseCount = 256; // codes RT_KeyboardReleased can follow
constexpr int32_t AnyKeyCount = 255;  // codes the any-key form looks at

uint8_t KeyHeld[KeyCount] = {};
uint8_t ReleasePending[ReleaseCount] = {}; // seen held; release not reported yet

// The pad controls that hold the key
uint32_t PadControlsFor(int32_t key) {
  switch (key) {
  case SDLK_LEFT:
    return keyboard::PadLeft;
  case SDLK_RIGHT:
    return keyboard::PadRight;
  case SDLK_UP:
    return keyboard::PadUp | keyboard::PadB;
  case SDLK_SPACE:
  case SDLK_RETURN:
    return keyboard::PadA;
  case SDLK_p:
    return keyboard::PadStart;
  case SDLK_ESCAPE:
    return keyboard::PadBack;
  default:
    return 0;
  }
}

// Held on the keyboard or on any pad
int32_t Held(int32_t key) {
  return KeyHeld[key] || (keyboard::PadsHeld() & PadControlsFor(key)) != 0;
}

// One step of release tracking for one key; 1 when its release is reported now
int32_t TrackRelease(int32_t key) {
  if (Held(key)) {
    ReleasePending[key] = 1;
    return 0;
  }
  if (ReleasePending[key]) {
    ReleasePending[key] = 0;
    return 1;
  }
  return 0;
}

} // namespace

int32_t RT_InitKeyboard() {
  memset(KeyHeld, 0, sizeof KeyHeld);
  if (!screen::BringUpVideo())
    return 0;
  keyboard::CatchQuitSignals();
  keyboard::OpenPads();
  return 1;
}

int32_t RT_ExamineKeyboard() {
  int32_t any = 0;
  SDL_Event event;
  // Every event is taken and only keys are kept; a quit event counts only when the
  // display has gone with it, so a close request changes nothing
  while (SDL_PollEvent(&event)) {
    any = 1;
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP)
      KeyHeld[event.key.keysym.sym] = event.type == SDL_KEYDOWN;
    else if (event.type == SDL_QUIT)
      screen::TakeQuitEvent(); // unless the display has gone
  }
  keyboard::FollowPads();
  return any;
}

int32_t RT_KeyboardPushed(int32_t key) {
  return Held(key);
}

int32_t RT_KeyboardReleased(int32_t key) {
  if (key != -1)
    return TrackRelease(key);
  // Every code is visited, so all held keys are marked and all pending releases cleared
  int32_t any = 0;
  for (int32_t code = 0; code < AnyKeyCount; code++)
    any |= TrackRelease(code);
  return any;
}

void RT_FreeKeyboards() {
  keyboard::ClosePads();
}
