// The runtime's monotonic clock and its waits, the millisecond clock and the sleep
// read from it, and the calendar-clock reading behind the dates; tests can replace
// them all with one clock of their own.
#include "runtime/misc/clock.h"

#include "runtime/misc/misc.h"
#include "runtime/misc/wall_clock.h"

#include <cerrno>
#include <ctime>
#include <sys/time.h>

namespace {

// Readings start above the game's longest beat interval (1000 ms), so that the first
// beat, timed from 0, plays at once.
constexpr int64_t FirstReading = 1001;
constexpr int64_t NanosecondsPerSecond = 1'000'000'000;
constexpr int64_t NanosecondsPerMillisecond = 1'000'000;

const misc::ClockSource *Source = nullptr;

int64_t SystemNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * NanosecondsPerSecond + now.tv_nsec;
}

// The count starts at the first use (RT_InitMisc at start-up).
int64_t MillisecondsSinceStart() {
  static const int64_t start = SystemNanoseconds() / NanosecondsPerMillisecond;
  return SystemNanoseconds() / NanosecondsPerMillisecond - start;
}

// A count wrapped to 32 bits and read as signed.
int32_t Wrap32(int64_t count) {
  return int32_t(uint32_t(uint64_t(count)));
}

} // namespace

int64_t misc::MonotonicNanoseconds() {
  return Source ? Source->now() : SystemNanoseconds();
}

void misc::SleepUntil(int64_t due) {
  if (Source) {
    if (Source->sleepUntil)
      Source->sleepUntil(due);
    return;
  }
  const timespec at{time_t(due / NanosecondsPerSecond), long(due % NanosecondsPerSecond)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
  }
}

void misc::SetClockSource(const ClockSource *source) {
  Source = source;
}

int64_t misc::WallMicroseconds() {
  if (Source)
    return FloorDivide(Source->now(), 1000);
  timeval now{};
  gettimeofday(&now, nullptr);
  return int64_t(now.tv_sec) * 1000000 + now.tv_usec;
}

int32_t RT_ElapsedMilliseconds() {
  if (Source)
    return Wrap32(misc::FloorDivide(Source->now(), NanosecondsPerMillisecond));
  return Wrap32(MillisecondsSinceStart() + FirstReading);
}

void RT_Delay(int32_t milliseconds) {
  if (milliseconds <= 0)
    return;
  misc::SleepUntil(misc::MonotonicNanoseconds() + milliseconds * NanosecondsPerMillisecond);
}
