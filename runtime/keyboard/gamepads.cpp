// Gamepads: every joystick SDL lists at start-up, turned into the game's keys.
#include "runtime/keyboard/gamepads.h"

#include <SDL/SDL.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t PadCount = 16;        // pads past these are left out
constexpr int32_t ButtonCount = 32;     // buttons followed on each pad
constexpr Sint16 StickDeadZone = 16384; // half the stick's travel
constexpr int32_t DpadHat = 0;
constexpr int32_t StickXAxis = 0, StickYAxis = 1;
constexpr int32_t SouthButton = 0, EastButton = 1;

// Where Back and Start sit in the kernel's order of a pad's buttons
struct ButtonLayout {
  int32_t back, start;
};
constexpr ButtonLayout XboxLayout{6, 7};
constexpr ButtonLayout PlayStationLayout{8, 9}; // after the two trigger buttons

// What SDL or the kernel call PlayStation pads
constexpr const char *PlayStationNames[] = {"PS3",  "PS4",       "PS5",      "PlayStation",
                                            "Sony", "DualSense", "DualShock"};

struct Pad {
  SDL_Joystick *joystick; // null: no pad at this number
  ButtonLayout layout;
  uint32_t buttons;      // bit n set while button n is held
  Uint8 hat;             // the D-pad, as SDL_HAT_ bits
  Sint16 stickX, stickY; // the left stick, negative left and up
};

Pad Pads[PadCount] = {};
bool PadsUp = false; // the joystick subsystem is up on the pads' behalf

ButtonLayout LayoutOf(const char *name) {
  for (const char *word : PlayStationNames)
    if (name && strcasestr(name, word))
      return PlayStationLayout;
  return XboxLayout;
}

Pad *PadNumbered(int32_t number) {
  if (number >= PadCount || !Pads[number].joystick)
    return nullptr;
  return &Pads[number];
}

void SetButton(Pad &pad, int32_t button, bool down) {
  if (button >= ButtonCount)
    return;
  const uint32_t bit = uint32_t{1} << button;
  pad.buttons = down ? pad.buttons | bit : pad.buttons & ~bit;
}

void SetStick(Pad &pad, int32_t axis, Sint16 value) {
  if (axis == StickXAxis)
    pad.stickX = value;
  else if (axis == StickYAxis)
    pad.stickY = value;
}

bool ButtonHeld(const Pad &pad, int32_t button) {
  return pad.buttons >> button & 1;
}

bool PadHolds(const Pad &pad, int32_t key) {
  switch (key) {
  case SDLK_LEFT:
    return pad.hat & SDL_HAT_LEFT || pad.stickX <= -StickDeadZone;
  case SDLK_RIGHT:
    return pad.hat & SDL_HAT_RIGHT || pad.stickX >= StickDeadZone;
  case SDLK_UP:
    return pad.hat & SDL_HAT_UP || pad.stickY <= -StickDeadZone || ButtonHeld(pad, EastButton);
  case SDLK_SPACE:
  case SDLK_RETURN:
    return ButtonHeld(pad, SouthButton);
  case SDLK_p:
    return ButtonHeld(pad, pad.layout.start);
  case SDLK_ESCAPE:
    return ButtonHeld(pad, pad.layout.back);
  default:
    return false;
  }
}

} // namespace

void OpenPads() {
  ClosePads();
  // SDL's own drivers for some pads number the buttons in another order than the
  // kernel's, which the layouts follow; a player's own setting wins.
  setenv("SDL_JOYSTICK_HIDAPI", "0", 0);
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
    return;
  PadsUp = true;
  SDL_JoystickEventState(SDL_ENABLE);
  const int32_t count = std::min(SDL_NumJoysticks(), PadCount);
  bool any = false;
  for (int32_t number = 0; number < count; number++) {
    Pads[number].joystick = SDL_JoystickOpen(number);
    Pads[number].layout = LayoutOf(SDL_JoystickName(number));
    any |= Pads[number].joystick != nullptr;
  }
  // With no pad open the subsystem goes: it would look for new devices at every
  // examination, and the game takes none after start-up
  if (!any)
    ClosePads();
}

void ClosePads() {
  // SDL_Quit, when it came first, took the pads with it
  if (PadsUp && SDL_WasInit(SDL_INIT_JOYSTICK)) {
    for (const Pad &pad : Pads)
      if (pad.joystick)
        SDL_JoystickClose(pad.joystick);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  PadsUp = false;
  memset(Pads, 0, sizeof Pads);
}

void TakePadEvent(const SDL_Event &event) {
  switch (event.type) {
  case SDL_JOYBUTTONDOWN:
  case SDL_JOYBUTTONUP:
    if (Pad *pad = PadNumbered(event.jbutton.which))
      SetButton(*pad, event.jbutton.button, event.type == SDL_JOYBUTTONDOWN);
    break;
  case SDL_JOYHATMOTION:
    if (Pad *pad = PadNumbered(event.jhat.which); pad && event.jhat.hat == DpadHat)
      pad->hat = event.jhat.value;
    break;
  case SDL_JOYAXISMOTION:
    if (Pad *pad = PadNumbered(event.jaxis.which))
      SetStick(*pad, event.jaxis.axis, event.jaxis.value);
    break;
  }
}

bool PadsHold(int32_t key) {
  for (const Pad &pad : Pads)
    if (pad.joystick && PadHolds(pad, key))
      return true;
  return false;
}
