// A gamepad for the tests: a virtual joystick of the SDL 2 library that
// sdl12-compat runs on, which the keyboard library then finds and opens as it
// would a real pad. Attached while SDL 2's joysticks are down, a pad is listed
// when they start; attached while they are up, it is plugged in during play.
// Stopping them unplugs every pad and forgets every mapping added.
#pragma once

#include <cstdint>
#include <string>

// A real pad: its name, its USB ids, how many buttons the kernel gives it, and the
// lines SDL's database has for it, without their leading id (two for a pad whose
// mapping depends on SDL_GAMECONTROLLER_USE_BUTTON_LABELS; none for no mapping).
struct PadModel {
  const char *name;
  uint16_t vendor, product;
  int32_t buttons;
  const char *mappings[2];
};

// Raw numbers in the kernel's order. Every pad has one hat (the D-pad) and six
// axes, the left stick's first.
extern const PadModel XboxPad;       // A 0, B 1, X 2, Y 3, LB, RB, Back 6, Start 7, Guide 8, sticks
extern const PadModel DualSensePad;  // cross 0, circle 1, triangle 2, square 3, L1, R1,
                                     // L2 6, R2 7, Create 8, Options 9, PS 10, sticks
extern const PadModel SwitchProPad;  // A 0, B 1, X 2, Y 3, L, R, ZL 6, ZR 7, Minus 8, Plus 9,
                                     // sticks, Home 12
extern const PadModel PlainJoystick; // twelve buttons and no mapping anywhere

class VirtualPad {
public:
  // Plugs the pad in, with its database mappings, at rest; both at once, so that no
  // reader sees it without them. SDL's type for it is 0: it gets no mapping of
  // SDL's own making, only those given.
  explicit VirtualPad(const PadModel &model);

  bool Attached() const { return id_ >= 0; }
  static const char *Error(); // why the last attach or mapping failed

  // The id SDL files a mapping for this pad under: its own, with the bytes of
  // its name's checksum zeroed
  std::string MappingId() const;
  void Detach() const; // unplugged

  // Once the program has opened the pad, its state changes now; SDL 2 takes it
  // in at its next update of the joysticks
  void Button(int32_t button, bool down) const;
  void Hat(uint8_t value) const; // SDL_HAT_ bits
  void Axis(int32_t axis, int16_t value) const;

private:
  int32_t id_; // SDL 2's instance number for the pad; -1: not attached
};
