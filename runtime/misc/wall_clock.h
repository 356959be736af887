// Inside the misc library: the calendar clock that the date functions and the seeding read.
#pragma once

#include <cstdint>

namespace misc {

// Microseconds since the Unix epoch, from the test hook when one is installed.
int64_t WallMicroseconds();

// Whole units of a reading, rounded towards minus infinity (readings before 1970 too).
inline int64_t FloorDivide(int64_t value, int64_t unit) {
  return value / unit - (value % unit < 0 ? 1 : 0);
}

} // namespace misc
