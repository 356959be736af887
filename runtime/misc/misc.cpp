// Colours packed as 0x00BBGGRR, and the arctangent the saucer aims with.
#include "runtime/misc/misc.h"

#include <cmath>

// Components are not masked: the game passes 0 to 255.
int32_t RT_RGB(int32_t red, int32_t green, int32_t blue) {
  return int32_t(uint32_t(red) + uint32_t(green) * 256u + uint32_t(blue) * 65536u);
}

int32_t RT_Red(int32_t colour) {
  return colour & 255;
}
int32_t RT_Green(int32_t colour) {
  return (colour >> 8) & 255;
}
int32_t RT_Blue(int32_t colour) {
  return (colour >> 16) & 255;
}

float RT_ATan(float value) {
  return float(std::atan(double(value)));
}
