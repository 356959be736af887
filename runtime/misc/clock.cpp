// The millisecond clock, the sleep, and the calendar-clock reading behind both, which
// tests can replace.
#include "runtime/misc/misc.h"
#include "runtime/misc/wall_clock.h"

#include <cerrno>
#include <ctime>
#include <sys/time.h>

// Readings start above the game's longest beat interval (1000 ms), so that the first
// beat, timed from 0, plays at once.
constexpr int64_t kFirstReading = 1001;

static int64_t (*clockSource)() = nullptr;

// Monotonic milliseconds; the count starts at the first use (RT_InitMisc at start-up).
static int64_t MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

static int64_t MillisecondsSinceStart() {
  static const int64_t start = MonotonicMilliseconds();
  return MonotonicMilliseconds() - start;
}

// A count wrapped to 32 bits and read as signed.
static int32_t Wrap32(int64_t count) {
  return int32_t(uint32_t(uint64_t(count)));
}

int64_t MiscWallMicroseconds() {
  if (clockSource)
    return clockSource();
  timeval now{};
  gettimeofday(&now, nullptr);
  return int64_t(now.tv_sec) * 1000000 + now.tv_usec;
}

void RT_SetClockSource(int64_t (*microseconds)()) {
  clockSource = microseconds;
}

int32_t RT_ElapsedMilliseconds() {
  if (clockSource)
    return Wrap32(MiscFloorDivide(clockSource(), 1000));
  return Wrap32(MillisecondsSinceStart() + kFirstReading);
}

void RT_Delay(int32_t milliseconds) {
  if (milliseconds <= 0)
    return;
  timespec left{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}
