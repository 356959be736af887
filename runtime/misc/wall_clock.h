// Inside the misc library: the calendar clock that the date functions and the seeding read.
#pragma once

#include <cstdint>

// Microseconds since the Unix epoch, from the test hook when one is installed.
int64_t MiscWallMicroseconds();

// Whole units of a reading, rounded towards minus infinity (readings before 1970 too).
inline int64_t MiscFloorDivide(int64_t value, int64_t unit) {
  return value / unit - (value % unit < 0 ? 1 : 0);
}
