// Inside the keyboard library: the pads SDL 2 lists, opened as they are plugged
// in and closed as they go, and the controls they hold. The keyboard turns the
// controls into its keys; no SDL header is needed here.
#pragma once

#include <cstdint>

namespace keyboard {

// The controls a pad holds the game's keys with, as bits
enum PadControl : uint32_t {
  PadLeft = 1 << 0,  // D-pad or left stick left; a joystick's first hat or first axis
  PadRight = 1 << 1, // the same, right
  PadUp = 1 << 2,    // the same, up (second axis)
  PadA = 1 << 3,     // A (cross); a joystick's first button
  PadB = 1 << 4,     // B (circle)
  PadStart = 1 << 5, // Start (Options, Plus)
  PadBack = 1 << 6,  // Back (Select, Create, Minus)
};

void OpenPads();     // starts SDL 2's game controllers; without them no pad plays, told on stderr
void FollowPads();   // one read of the pads: opens those plugged in, closes those gone
void ClosePads();    // closes them and forgets what they held
uint32_t PadsHeld(); // the controls some pad held at the last read, as PadControl bits

} // namespace keyboard
