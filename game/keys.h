// The keys the game reads, as SDL 1.2 key symbols.
#pragma once

#include <cstdint>

enum : int32_t {
  KeyReturn = 13,
  KeyEscape = 27,
  KeySpace = 32,
  KeyP = 112,
  KeyUp = 273,
  KeyRight = 275,
  KeyLeft = 276,
};
