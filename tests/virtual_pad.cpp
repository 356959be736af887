// A virtual gamepad, set up through SDL 2's own calls.
#include "tests/virtual_pad.h"

#include <SDL2/SDL.h>
#include <dlfcn.h>

namespace {

// SDL 2's calls, found by name in the copy sdl12-compat loaded: linked in, they
// would clash with SDL 1.2's calls of the same names.
struct Sdl2 {
  decltype(&SDL_JoystickAttachVirtualEx) AttachVirtualEx;
  decltype(&SDL_JoystickGetDeviceInstanceID) GetDeviceInstanceID;
  decltype(&SDL_JoystickFromInstanceID) FromInstanceID;
  decltype(&SDL_JoystickSetVirtualButton) SetVirtualButton;
  decltype(&SDL_JoystickSetVirtualHat) SetVirtualHat;
  decltype(&SDL_JoystickSetVirtualAxis) SetVirtualAxis;
  decltype(&SDL_GetError) GetError;
};

constexpr int32_t AxisCount = 6, HatCount = 1;

template <class Function> Function Find(void *library, const char *name) {
  return reinterpret_cast<Function>(dlsym(library, name));
}

// Null when SDL 2 is not loaded: every SDL 1.2 program here has it, through sdl12-compat
const Sdl2 *Library() {
  static const Sdl2 sdl2 = [] {
    void *library = dlopen("libSDL2-2.0.so.0", RTLD_NOLOAD | RTLD_NOW);
    if (!library)
      return Sdl2{};
    return Sdl2{
        Find<decltype(Sdl2::AttachVirtualEx)>(library, "SDL_JoystickAttachVirtualEx"),
        Find<decltype(Sdl2::GetDeviceInstanceID)>(library, "SDL_JoystickGetDeviceInstanceID"),
        Find<decltype(Sdl2::FromInstanceID)>(library, "SDL_JoystickFromInstanceID"),
        Find<decltype(Sdl2::SetVirtualButton)>(library, "SDL_JoystickSetVirtualButton"),
        Find<decltype(Sdl2::SetVirtualHat)>(library, "SDL_JoystickSetVirtualHat"),
        Find<decltype(Sdl2::SetVirtualAxis)>(library, "SDL_JoystickSetVirtualAxis"),
        Find<decltype(Sdl2::GetError)>(library, "SDL_GetError"),
    };
  }();
  return sdl2.GetError ? &sdl2 : nullptr;
}

// The handle the program opened the pad with, through which SDL 2 takes the
// pad's state; null until then
SDL_Joystick *Opened(int32_t id) {
  return Library()->FromInstanceID(id);
}

} // namespace

VirtualPad::VirtualPad(const char *name, int32_t buttons) : id_(-1) {
  const Sdl2 *sdl2 = Library();
  if (!sdl2)
    return;
  SDL_VirtualJoystickDesc description{};
  description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  description.type = SDL_JOYSTICK_TYPE_UNKNOWN; // a game controller's triggers would rest at -32768
  description.naxes = AxisCount;
  description.nbuttons = static_cast<Uint16>(buttons);
  description.nhats = HatCount;
  description.name = name;
  // Attached while SDL 2's joystick subsystem is down, the pad is listed when it
  // starts and detached when it stops: the keyboard library's start and stop.
  const int index = sdl2->AttachVirtualEx(&description);
  if (index >= 0)
    id_ = sdl2->GetDeviceInstanceID(index);
}

const char *VirtualPad::Error() {
  const Sdl2 *sdl2 = Library();
  return sdl2 ? sdl2->GetError() : "SDL 2 is not loaded";
}

void VirtualPad::Button(int32_t button, bool down) const {
  Library()->SetVirtualButton(Opened(id_), button, down ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualPad::Hat(uint8_t value) const {
  Library()->SetVirtualHat(Opened(id_), 0, value);
}

void VirtualPad::Axis(int32_t axis, int16_t value) const {
  Library()->SetVirtualAxis(Opened(id_), axis, value);
}
