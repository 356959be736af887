#include "runtime/misc/misc.h"
#include "tests/runtime/misc/fake_clock.h"

#include <ctime>
#include <gtest/gtest.h>

constexpr int64_t MicrosecondsPerMillisecond = 1000;

// A second apart, the readings differ by 1000 in 32-bit arithmetic, also where the
// count wraps.
TEST_F(FakeClockTest, MillisecondsWrapAt32Bits) {
  const struct {
    int64_t milliseconds;
    int32_t reading;
  } cases[] = {
      {1000, 1000},
      {int64_t(INT32_MAX) - 499, INT32_MAX - 499}, // crosses into the negative readings
      {(int64_t(1) << 32) - 500, -500},            // crosses back to zero
      {1700000000123, int32_t(uint32_t(1700000000123 % (int64_t(1) << 32)))},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.milliseconds);
    fakeMicroseconds = c.milliseconds * MicrosecondsPerMillisecond + 999;
    const int32_t before = RT_ElapsedMilliseconds();
    EXPECT_EQ(before, c.reading);
    fakeMicroseconds += 1000 * MicrosecondsPerMillisecond;
    EXPECT_EQ(int32_t(uint32_t(RT_ElapsedMilliseconds()) - uint32_t(before)), 1000);
  }
}

TEST_F(FakeClockTest, DateIsWholeSecondsOfTheSource) {
  const struct {
    int64_t microseconds;
    int32_t date;
  } cases[] = {
      {1000000000LL * 1000000 + 999999, 1000000000},
      {0, 0},
      {-1, -1}, // the last second of 1969
      {-1000001, -2},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.microseconds);
    fakeMicroseconds = c.microseconds;
    EXPECT_EQ(RT_Date(), c.date);
  }
}

// A sleep is a wait on the runtime's clock, the test's here: it never waits on the
// real one, whose readings are decades away from the test's.
TEST_F(FakeClockTest, DelayWaitsOnTheClockUntilItsEnd) {
  fakeMicroseconds = 1'800'000'000'000'000;
  const int64_t now = fakeMicroseconds * 1000;
  for (int32_t milliseconds : {-5, 0, 1, 30})
    RT_Delay(milliseconds);
  EXPECT_EQ(fakeWaits, (std::vector<int64_t>{now + 1'000'000, now + 30'000'000}))
      << "one wait each for 1 and 30 ms, none for 0 or less";
}

TEST(Clock, RealClocksAfterTheHookIsRemoved) {
  misc::SetClockSource(&FakeClock);
  fakeMicroseconds = 0;
  misc::SetClockSource(nullptr);

  const int32_t first = RT_ElapsedMilliseconds();
  EXPECT_GT(first, 1000); // the game's first beat, timed from 0, is due at once
  RT_Delay(30);
  const int32_t second = RT_ElapsedMilliseconds();
  EXPECT_GE(second - first, 30);
  EXPECT_LT(second - first, 5000);

  const int64_t now = time(nullptr);
  EXPECT_NEAR(RT_Date(), now, 2);
}
