// A calendar clock that tests set by hand, installed for the length of a test.
#pragma once

#include "runtime/misc/misc.h"

#include <gtest/gtest.h>

inline int64_t fakeMicroseconds = 0;
inline int64_t FakeMicroseconds() {
  return fakeMicroseconds;
}

class FakeClockTest : public testing::Test {
protected:
  void SetUp() override { RT_SetClockSource(FakeMicroseconds); }
  void TearDown() override { RT_SetClockSource(nullptr); }
};
