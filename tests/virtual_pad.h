// A gamepad for the tests: a virtual joystick of the SDL 2 library that
// sdl12-compat runs on, which the keyboard library then opens through SDL 1.2
// as it would a real pad. SDL 1.2 lists joysticks only when its joystick
// subsystem starts, so a pad is attached before that; it goes when the
// subsystem stops.
#pragma once

#include <cstdint>

class VirtualPad {
public:
  // A pad with this name and number of buttons, one hat and six axes, all at 0
  VirtualPad(const char *name, int32_t buttons);

  bool Attached() const { return id_ >= 0; }
  static const char *Error(); // why the last attach failed

  // Once the program has opened the pad, its state changes now, and its events
  // reach SDL's queue at the next poll
  void Button(int32_t button, bool down) const;
  void Hat(uint8_t value) const; // SDL_HAT_ bits
  void Axis(int32_t axis, int16_t value) const;

private:
  int32_t id_; // SDL 2's instance number for the pad; -1: not attached
};
