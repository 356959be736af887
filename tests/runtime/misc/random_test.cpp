#include "runtime/misc/misc.h"
#include "tests/runtime/misc/fake_clock.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

static const std::vector<int32_t> Seed12345Nines = {2, 7, 6, 3, 5, 2, 3, 7, 2, 8,
                                                    1, 4, 5, 9, 0, 8, 9, 0, 6, 4};

static std::vector<int32_t> Draw(int count, int32_t max) {
  std::vector<int32_t> values;
  for (int i = 0; i < count; i++)
    values.push_back(RT_Random(max));
  return values;
}

TEST(Random, KnownSequenceRepeatsOnReseeding) {
  RT_RandomSeed(12345);
  EXPECT_EQ(Draw(20, 9), Seed12345Nines);
  RT_Random(9);
  RT_RandomSeed(12345);
  EXPECT_EQ(Draw(20, 9), Seed12345Nines);
  RT_RandomSeed(12346);
  EXPECT_NE(Draw(20, 9), Seed12345Nines);
}

// Whatever max is, a call takes exactly one step: the next draw is the sequence's second.
TEST(Random, EveryCallAdvancesOneStep) {
  const struct {
    int32_t max;
    int32_t expected;
  } cases[] = {{0, 0}, {-1, INT32_MIN}, {INT32_MIN, INT32_MIN}, {9, 2}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.max);
    RT_RandomSeed(12345);
    EXPECT_EQ(RT_Random(c.max), c.expected);
    EXPECT_EQ(RT_Random(9), Seed12345Nines[1]);
  }
}

TEST(Random, StaysWithinZeroToMax) {
  RT_RandomSeed(1);
  for (int32_t max : {0, 1, 2, 9, 639, 65535, INT32_MAX - 1, INT32_MAX}) {
    SCOPED_TRACE(max);
    int32_t highest = 0;
    for (int32_t value : Draw(20000, max)) {
      ASSERT_GE(value, 0);
      ASSERT_LE(value, max);
      highest = std::max(highest, value);
    }
    if (max < 1000) { // small ranges are covered to the top
      EXPECT_EQ(highest, max);
    }
  }
}

TEST(Random, ZeroAndOneEquallyOften) {
  RT_RandomSeed(777);
  int ones = 0;
  for (int32_t value : Draw(20000, 1))
    ones += value;
  EXPECT_GT(ones, 9500);
  EXPECT_LT(ones, 10500);
}

// The seed is the microseconds part of the calendar clock, also before 1970.
TEST_F(FakeClockTest, InitMiscSeedsFromMicroseconds) {
  for (int64_t now : {int64_t(1700000000) * 1000000 + 12345, int64_t(-1000000) + 12345}) {
    SCOPED_TRACE(now);
    fakeMicroseconds = now;
    RT_InitMisc();
    EXPECT_EQ(Draw(20, 9), Seed12345Nines);
  }
}
