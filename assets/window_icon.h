// The window's icon, built into the program from the picture the application
// menu shows (packaging/heliomants.svg): WindowIconSize pixels square, 4 bytes a
// pixel (red, green, blue, alpha), row by row.
#pragma once

#include <cstdint>

extern const int32_t WindowIconSize;
extern const uint8_t WindowIconPixels[];
