// The runtime's one clock: a monotonic count of nanoseconds and the waits on it,
// shared by the misc library's timing and the screen library's frame pacing, and
// the one test hook behind every reading of time in the runtime. Not the game's:
// the game reads time through misc.h.
#pragma once

#include <cstdint>

namespace misc {

// Nanoseconds on the monotonic clock, from an arbitrary start: only differences mean anything.
int64_t MonotonicNanoseconds();
void SleepUntil(int64_t due); // until MonotonicNanoseconds() reaches due; at once when it has

// Test hook: a clock of the test's own in place of the system's, behind
// RT_ElapsedMilliseconds, RT_Delay, the calendar clock, the seeding of the random
// generator and the frame pacing. Its reading stands for both the monotonic and the
// calendar clock.
struct ClockSource {
  int64_t (*now)(); // nanoseconds since the Unix epoch
  // Stands for a wait until now() gives due, and returns without waiting on the real
  // clock: the test moves its clock on, and may act meanwhile. Null: waits end at once.
  void (*sleepUntil)(int64_t due);
};
void SetClockSource(const ClockSource *source); // null: the system's clocks again

} // namespace misc
