// Gamepads: SDL 2's game controllers, beneath the game's SDL 1.2. A pad SDL has a
// mapping for (its database, the player's SDL_GAMECONTROLLERCONFIG, Steam's) is
// read by its buttons' names; any other joystick only by what every joystick has.
#include "runtime/keyboard/gamepads.h"

#include <SDL2/SDL.h>

#include <cstdio>

#include "runtime/sdl2/sdl2.h"

namespace keyboard {
namespace {

constexpr int32_t PadCount = 16;        // pads past these are left out
constexpr Sint16 StickDeadZone = 16384; // half the stick's travel
// A joystick with no mapping: what its first controls surely are
constexpr int32_t JoystickHat = 0, JoystickX = 0, JoystickY = 1, JoystickButton = 0;

// The SDL 2 calls the pads need, all found in the copy beneath SDL 1.2 or none used
struct Sdl2Calls {
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_WasInit) WasInit;
  decltype(&SDL_GetError) GetError;
  decltype(&SDL_JoystickEventState) JoystickEventState;
  decltype(&SDL_GameControllerEventState) GameControllerEventState;
  decltype(&SDL_GameControllerUpdate) GameControllerUpdate;
  decltype(&SDL_NumJoysticks) NumJoysticks;
  decltype(&SDL_JoystickGetDeviceInstanceID) JoystickGetDeviceInstanceID;
  decltype(&SDL_IsGameController) IsGameController;
  decltype(&SDL_GameControllerOpen) GameControllerOpen;
  decltype(&SDL_GameControllerGetButton) GameControllerGetButton;
  decltype(&SDL_GameControllerGetAxis) GameControllerGetAxis;
  decltype(&SDL_GameControllerClose) GameControllerClose;
  decltype(&SDL_JoystickOpen) JoystickOpen;
  decltype(&SDL_JoystickGetButton) JoystickGetButton;
  decltype(&SDL_JoystickGetHat) JoystickGetHat;
  decltype(&SDL_JoystickGetAxis) JoystickGetAxis;
  decltype(&SDL_JoystickClose) JoystickClose;
};

// A controller's buttons by name, and the controls they hold
struct NamedButton {
  SDL_GameControllerButton button;
  uint32_t control;
};
constexpr NamedButton NamedButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, PadLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, PadRight},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, PadUp},
    {SDL_CONTROLLER_BUTTON_A, PadA},
    {SDL_CONTROLLER_BUTTON_B, PadB},
    {SDL_CONTROLLER_BUTTON_START, PadStart},
    {SDL_CONTROLLER_BUTTON_BACK, PadBack},
};

struct Pad {
  SDL_JoystickID id = -1;                   // SDL 2's number for it while plugged in; -1: free
  SDL_GameController *controller = nullptr; // a pad SDL has a mapping for
  SDL_Joystick *joystick = nullptr;         // any other; both null: it would not open
  bool listed = false;                      // in SDL's list at this read
};

Pad Pads[PadCount];
uint32_t Held = 0;   // PadControl bits, as the last read left them
bool PadsUp = false; // the game-controller subsystem is up on the pads' behalf

const char *MissingCall = nullptr; // the first SDL 2 call not found

template <class Call> Call Need(const char *name) {
  const Call call = sdl2::Find<Call>(name);
  if (!call && !MissingCall)
    MissingCall = name;
  return call;
}
#define SDL2_CALL(name) Need<decltype(&name)>(#name)

// Null, told once, when SDL 2 or one of its calls is missing
const Sdl2Calls *Sdl2() {
  static const Sdl2Calls calls{
      SDL2_CALL(SDL_InitSubSystem),
      SDL2_CALL(SDL_QuitSubSystem),
      SDL2_CALL(SDL_WasInit),
      SDL2_CALL(SDL_GetError),
      SDL2_CALL(SDL_JoystickEventState),
      SDL2_CALL(SDL_GameControllerEventState),
      SDL2_CALL(SDL_GameControllerUpdate),
      SDL2_CALL(SDL_NumJoysticks),
      SDL2_CALL(SDL_JoystickGetDeviceInstanceID),
      SDL2_CALL(SDL_IsGameController),
      SDL2_CALL(SDL_GameControllerOpen),
      SDL2_CALL(SDL_GameControllerGetButton),
      SDL2_CALL(SDL_GameControllerGetAxis),
      SDL2_CALL(SDL_GameControllerClose),
      SDL2_CALL(SDL_JoystickOpen),
      SDL2_CALL(SDL_JoystickGetButton),
      SDL2_CALL(SDL_JoystickGetHat),
      SDL2_CALL(SDL_JoystickGetAxis),
      SDL2_CALL(SDL_JoystickClose),
  };
  static const bool found = [] {
    if (MissingCall)
      fprintf(stderr, "keyboard: no gamepads: no %s in an SDL 2 beneath SDL 1.2\n", MissingCall);
    return !MissingCall;
  }();
  return found ? &calls : nullptr;
}

Pad *PadWithId(SDL_JoystickID id) {
  for (Pad &pad : Pads)
    if (pad.id == id)
      return &pad;
  return nullptr;
}

// A pad just plugged in, as a controller when SDL has a mapping for it. One that
// will not open keeps its row, so that it is not tried again at every read.
void OpenPad(const Sdl2Calls &sdl, int index, SDL_JoystickID id) {
  Pad *pad = PadWithId(-1);
  if (!pad)
    return;
  pad->id = id;
  pad->listed = true;
  if (sdl.IsGameController(index))
    pad->controller = sdl.GameControllerOpen(index);
  else
    pad->joystick = sdl.JoystickOpen(index);
}

void ClosePad(const Sdl2Calls &sdl, Pad &pad) {
  if (pad.controller)
    sdl.GameControllerClose(pad.controller);
  if (pad.joystick)
    sdl.JoystickClose(pad.joystick);
  pad = Pad{};
}

uint32_t If(bool held, PadControl control) {
  return held ? control : 0u;
}

uint32_t StickControls(Sint16 x, Sint16 y) {
  return If(x <= -StickDeadZone, PadLeft) | If(x >= StickDeadZone, PadRight) |
         If(y <= -StickDeadZone, PadUp);
}

uint32_t ControllerControls(const Sdl2Calls &sdl, SDL_GameController *controller) {
  uint32_t controls =
      StickControls(sdl.GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX),
                    sdl.GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
  for (const NamedButton &named : NamedButtons)
    if (sdl.GameControllerGetButton(controller, named.button))
      controls |= named.control;
  return controls;
}

// Nothing whose meaning would be a guess: no Start, no Back, no second button
uint32_t JoystickControls(const Sdl2Calls &sdl, SDL_Joystick *joystick) {
  const Uint8 hat = sdl.JoystickGetHat(joystick, JoystickHat); // centred when it has none
  return StickControls(sdl.JoystickGetAxis(joystick, JoystickX),
                       sdl.JoystickGetAxis(joystick, JoystickY)) |
         If(hat & SDL_HAT_LEFT, PadLeft) | If(hat & SDL_HAT_RIGHT, PadRight) |
         If(hat & SDL_HAT_UP, PadUp) | If(sdl.JoystickGetButton(joystick, JoystickButton), PadA);
}

uint32_t PadControls(const Sdl2Calls &sdl, const Pad &pad) {
  if (pad.controller)
    return ControllerControls(sdl, pad.controller);
  return pad.joystick ? JoystickControls(sdl, pad.joystick) : 0;
}

} // namespace
} // namespace keyboard

void keyboard::OpenPads() {
  ClosePads();
  const Sdl2Calls *sdl = Sdl2();
  if (!sdl)
    return;
  if (sdl->InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    fprintf(stderr, "keyboard: no gamepads: %s\n", sdl->GetError());
    return;
  }
  PadsUp = true;
  // Without their events SDL's event pump leaves the pads alone: FollowPads reads
  // them, once per examination of the keyboard
  sdl->JoystickEventState(SDL_IGNORE);
  sdl->GameControllerEventState(SDL_IGNORE);
}

void keyboard::FollowPads() {
  if (!PadsUp)
    return;
  const Sdl2Calls &sdl = *Sdl2();
  // The one read of the devices, which also notices pads plugged in or out
  sdl.GameControllerUpdate();
  for (Pad &pad : Pads)
    pad.listed = false;
  const int count = sdl.NumJoysticks();
  for (int index = 0; index < count; index++) {
    const SDL_JoystickID id = sdl.JoystickGetDeviceInstanceID(index);
    if (id < 0)
      continue;
    if (Pad *pad = PadWithId(id))
      pad->listed = true;
    else
      OpenPad(sdl, index, id);
  }
  // An unplugged pad holds nothing from this read on
  Held = 0;
  for (Pad &pad : Pads) {
    if (pad.id < 0)
      continue;
    if (pad.listed)
      Held |= PadControls(sdl, pad);
    else
      ClosePad(sdl, pad);
  }
}

void keyboard::ClosePads() {
  // SDL_Quit, when it came first, took the pads with it
  const Sdl2Calls *sdl = PadsUp ? Sdl2() : nullptr;
  if (sdl && sdl->WasInit(SDL_INIT_GAMECONTROLLER)) {
    for (Pad &pad : Pads)
      ClosePad(*sdl, pad);
    sdl->QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  PadsUp = false;
  for (Pad &pad : Pads)
    pad = Pad{};
  Held = 0;
}

uint32_t keyboard::PadsHeld() {
  return Held;
}
