// What the world's drawing shares: its two colours and the rounding of positions.
#pragma once

#include <cmath>
#include <cstdint>

constexpr int32_t OutlineGrey = 0x969696; // lines
constexpr int32_t DotWhite = 0xFFFFFF;    // vertex dots and shots

// A position handed to the runtime: nearest pixel, ties to even.
inline int32_t RoundPixel(float value) {
  return static_cast<int32_t>(std::lrintf(value));
}

// Strictly inside the screen: dots on or beyond its edge are left out.
inline bool InsideScreen(float x, float y) {
  return x > 0 && x < 639 && y > 0 && y < 479;
}
