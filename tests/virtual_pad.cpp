// A virtual gamepad, set up through SDL 2's own calls.
#include "tests/virtual_pad.h"

#include <SDL2/SDL.h>

#include "runtime/sdl2/sdl2.h"

namespace {

struct Sdl2Calls {
  decltype(&SDL_JoystickAttachVirtualEx) AttachVirtualEx;
  decltype(&SDL_JoystickDetachVirtual) DetachVirtual;
  decltype(&SDL_NumJoysticks) NumJoysticks;
  decltype(&SDL_JoystickGetDeviceInstanceID) GetDeviceInstanceID;
  decltype(&SDL_JoystickGetDeviceGUID) GetDeviceGUID;
  decltype(&SDL_JoystickGetGUIDString) GetGUIDString;
  decltype(&SDL_GameControllerAddMapping) AddMapping;
  decltype(&SDL_LockJoysticks) LockJoysticks;
  decltype(&SDL_UnlockJoysticks) UnlockJoysticks;
  decltype(&SDL_JoystickFromInstanceID) FromInstanceID;
  decltype(&SDL_JoystickSetVirtualButton) SetVirtualButton;
  decltype(&SDL_JoystickSetVirtualHat) SetVirtualHat;
  decltype(&SDL_JoystickSetVirtualAxis) SetVirtualAxis;
  decltype(&SDL_GetError) GetError;
};

#define SDL2_CALL(name) sdl2::Find<decltype(&name)>(#name)

// Null when SDL 2 is not loaded: every SDL 1.2 program here has it, through sdl12-compat
const Sdl2Calls *Sdl2() {
  static const Sdl2Calls calls{
      SDL2_CALL(SDL_JoystickAttachVirtualEx),
      SDL2_CALL(SDL_JoystickDetachVirtual),
      SDL2_CALL(SDL_NumJoysticks),
      SDL2_CALL(SDL_JoystickGetDeviceInstanceID),
      SDL2_CALL(SDL_JoystickGetDeviceGUID),
      SDL2_CALL(SDL_JoystickGetGUIDString),
      SDL2_CALL(SDL_GameControllerAddMapping),
      SDL2_CALL(SDL_LockJoysticks),
      SDL2_CALL(SDL_UnlockJoysticks),
      SDL2_CALL(SDL_JoystickFromInstanceID),
      SDL2_CALL(SDL_JoystickSetVirtualButton),
      SDL2_CALL(SDL_JoystickSetVirtualHat),
      SDL2_CALL(SDL_JoystickSetVirtualAxis),
      SDL2_CALL(SDL_GetError),
  };
  return calls.GetError ? &calls : nullptr;
}

constexpr int32_t AxisCount = 6, HatCount = 1;
constexpr int32_t NameChecksumBytes[] = {2, 3};

// The pad's place in SDL 2's list; -1 when it is not listed
int DeviceIndex(int32_t id) {
  for (int index = 0; index < Sdl2()->NumJoysticks(); index++)
    if (Sdl2()->GetDeviceInstanceID(index) == id)
      return index;
  return -1;
}

// The handle the program opened the pad with, through which SDL 2 takes the
// pad's state; null until then
SDL_Joystick *Opened(int32_t id) {
  return Sdl2()->FromInstanceID(id);
}

} // namespace

// The lines of SDL's database for Linux's own drivers of these pads
const PadModel XboxPad{
    "Microsoft X-Box 360 pad",
    0x045e,
    0x028e,
    11,
    {"Microsoft X-Box 360 "
     "pad,a:b0,b:b1,back:b6,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,dpup:h0.1,guide:b8,"
     "leftshoulder:b4,leftstick:b9,lefttrigger:a2,leftx:a0,lefty:a1,rightshoulder:b5,"
     "rightstick:b10,righttrigger:a5,rightx:a3,righty:a4,start:b7,x:b2,y:b3,"}};
const PadModel DualSensePad{
    "Sony Interactive Entertainment DualSense Wireless Controller",
    0x054c,
    0x0ce6,
    13,
    {"PS5 Controller,a:b0,b:b1,back:b8,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,dpup:h0.1,guide:b10,"
     "leftshoulder:b4,leftstick:b11,lefttrigger:a2,leftx:a0,lefty:a1,rightshoulder:b5,"
     "rightstick:b12,righttrigger:a5,rightx:a3,righty:a4,start:b9,x:b3,y:b2,"}};
const PadModel SwitchProPad{
    "Nintendo Switch Pro Controller",
    0x057e,
    0x2009,
    13,
    {"Nintendo Switch Pro Controller,a:b0,b:b1,back:b8,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,"
     "dpup:h0.1,guide:b12,leftshoulder:b4,leftstick:b10,lefttrigger:b6,leftx:a0,lefty:a1,"
     "rightshoulder:b5,rightstick:b11,righttrigger:b7,rightx:a2,righty:a3,start:b9,x:b2,y:b3,"
     "hint:SDL_GAMECONTROLLER_USE_BUTTON_LABELS:=1,",
     "Nintendo Switch Pro Controller,a:b1,b:b0,back:b8,dpdown:h0.4,dpleft:h0.8,dpright:h0.2,"
     "dpup:h0.1,guide:b12,leftshoulder:b4,leftstick:b10,lefttrigger:b6,leftx:a0,lefty:a1,"
     "rightshoulder:b5,rightstick:b11,righttrigger:b7,rightx:a2,righty:a3,start:b9,x:b3,y:b2,"
     "hint:!SDL_GAMECONTROLLER_USE_BUTTON_LABELS:=1,"}};
const PadModel PlainJoystick{"USB Joystick", 0x0079, 0x0006, 12, {}};

VirtualPad::VirtualPad(const PadModel &model) : id_(-1) {
  const Sdl2Calls *sdl2 = Sdl2();
  if (!sdl2)
    return;
  SDL_VirtualJoystickDesc description{};
  description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  description.type = SDL_JOYSTICK_TYPE_UNKNOWN;
  description.naxes = AxisCount;
  description.nbuttons = static_cast<Uint16>(model.buttons);
  description.nhats = HatCount;
  description.vendor_id = model.vendor;
  description.product_id = model.product;
  description.name = model.name;
  sdl2->LockJoysticks();
  const int index = sdl2->AttachVirtualEx(&description);
  if (index >= 0)
    id_ = sdl2->GetDeviceInstanceID(index);
  for (const char *mapping : model.mappings)
    if (mapping && Attached() && sdl2->AddMapping((MappingId() + "," + mapping).c_str()) < 0) {
      Detach();
      id_ = -1;
    }
  sdl2->UnlockJoysticks();
}

const char *VirtualPad::Error() {
  return Sdl2() ? Sdl2()->GetError() : "SDL 2 is not loaded";
}

std::string VirtualPad::MappingId() const {
  SDL_JoystickGUID guid = Sdl2()->GetDeviceGUID(DeviceIndex(id_));
  for (int32_t byte : NameChecksumBytes)
    guid.data[byte] = 0;
  char text[33];
  Sdl2()->GetGUIDString(guid, text, sizeof text);
  return text;
}

void VirtualPad::Detach() const {
  Sdl2()->DetachVirtual(DeviceIndex(id_));
}

void VirtualPad::Button(int32_t button, bool down) const {
  Sdl2()->SetVirtualButton(Opened(id_), button, down ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualPad::Hat(uint8_t value) const {
  Sdl2()->SetVirtualHat(Opened(id_), 0, value);
}

void VirtualPad::Axis(int32_t axis, int16_t value) const {
  Sdl2()->SetVirtualAxis(Opened(id_), axis, value);
}
