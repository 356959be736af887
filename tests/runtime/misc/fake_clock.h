// A clock that tests set by hand, in microseconds since the Unix epoch, installed
// for the length of a test.
#pragma once

#include "runtime/misc/clock.h"
#include "runtime/misc/misc.h"

#include <gtest/gtest.h>

#include <vector>

inline int64_t fakeMicroseconds = 0;
inline std::vector<int64_t> fakeWaits; // the nanosecond readings each wait was to end at

inline int64_t FakeNanoseconds() {
  return fakeMicroseconds * 1000;
}
inline void FakeSleepUntil(int64_t due) {
  fakeWaits.push_back(due);
}
inline const misc::ClockSource FakeClock{FakeNanoseconds, FakeSleepUntil};

class FakeClockTest : public testing::Test {
protected:
  void SetUp() override {
    fakeWaits.clear();
    misc::SetClockSource(&FakeClock);
  }
  void TearDown() override { misc::SetClockSource(nullptr); }
};
