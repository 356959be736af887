#include "runtime/misc/misc.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string>

// Runs a test in a given local time zone and restores the machine's afterwards.
class InTimeZone {
public:
  explicit InTimeZone(const char *zone) {
    if (const char *old = getenv("TZ"))
      saved = old, hadZone = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~InTimeZone() {
    if (hadZone)
      setenv("TZ", saved.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

private:
  std::string saved;
  bool hadZone = false;
};

constexpr int32_t LeapDay2000 = 951782400; // 2000-02-29 00:00:00 UTC

TEST(AddDate, ByUnit) {
  InTimeZone utc("UTC0");
  const struct {
    int32_t date, unit, amount, expected;
  } cases[] = {
      // seconds to weeks: plain 32-bit arithmetic
      {LeapDay2000, 6, 5, LeapDay2000 + 5},
      {LeapDay2000, 6, 0, LeapDay2000},
      {LeapDay2000, 6, -5, LeapDay2000 - 5},
      {LeapDay2000, 5, 1, LeapDay2000 + 60},
      {LeapDay2000, 4, -2, LeapDay2000 - 7200},
      {LeapDay2000, 3, 1, LeapDay2000 + 86400},
      {LeapDay2000, 2, 1, LeapDay2000 + 604800},
      {INT32_MAX, 6, 1, INT32_MIN},
      {0, 3, 24856, int32_t(24856LL * 86400 - (1LL << 32))},
      // years and months on the calendar, normalised by mktime
      {LeapDay2000, 0, 1, 983404800}, // 2001-02-29 is 2001-03-01
      {LeapDay2000, 0, -30, 5097600}, // 1970-02-29 is 1970-03-01
      {949276800, 1, 1, 951955200},   // 2000-01-31 + 1 month is 2000-03-02
      {LeapDay2000 + 3723, 1, 0, LeapDay2000 + 3723},
      // a result a 32-bit date cannot hold
      {LeapDay2000, 0, 100, -1},
      {LeapDay2000, 0, INT32_MAX, -1},
      {LeapDay2000, 1, INT32_MIN, -1},
      // no such unit: unchanged
      {LeapDay2000, 7, 1, LeapDay2000},
      {LeapDay2000, -1, 1, LeapDay2000},
      {LeapDay2000, INT32_MIN, 1, LeapDay2000},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "date " << c.date << " unit " << c.unit << " amount " << c.amount);
    EXPECT_EQ(RT_AddDate(c.date, c.unit, c.amount), c.expected);
  }
}

// Months keep the clock time across a change of daylight saving.
TEST(AddDate, MonthsKeepTheTimeOfDay) {
  InTimeZone berlin("CET-1CEST,M3.5.0,M10.5.0/3");
  const int32_t januaryNoon = 1610708400; // 2021-01-15 12:00 CET
  const int32_t julyNoon = 1626343200;    // 2021-07-15 12:00 CEST
  EXPECT_EQ(RT_AddDate(januaryNoon, 1, 6), julyNoon);
  EXPECT_EQ(RT_AddDate(julyNoon, 1, -6), januaryNoon);
  EXPECT_EQ(RT_AddDate(januaryNoon, 0, 0), januaryNoon);
}

TEST(Date2, Validity) {
  InTimeZone utc("UTC0");
  const struct {
    int32_t year, month, day, hour, minute, second, expected;
  } cases[] = {
      // valid moments
      {2000, 2, 29, 0, 0, 0, LeapDay2000}, // divisible by 400
      {2004, 2, 29, 0, 0, 0, 1078012800},
      {1970, 1, 1, 0, 0, 0, 0},
      {2001, 4, 30, 0, 0, 0, 988588800},
      {2001, 12, 31, 23, 59, 59, 1009843199},
      {2038, 1, 19, 3, 14, 7, INT32_MAX},
      {1901, 12, 13, 20, 45, 52, INT32_MIN},
      // days the month does not have
      {2003, 2, 29, 0, 0, 0, -1},
      {1900, 2, 29, 0, 0, 0, -1}, // divisible by 100 (and before 32-bit dates begin)
      {2000, 2, 30, 0, 0, 0, -1},
      {2001, 4, 31, 0, 0, 0, -1},
      {2001, 6, 31, 0, 0, 0, -1},
      {2001, 9, 31, 0, 0, 0, -1},
      {2001, 11, 31, 0, 0, 0, -1},
      {2001, 1, 32, 0, 0, 0, -1},
      {2001, 1, 0, 0, 0, 0, -1},
      // fields out of range
      {2001, 0, 1, 0, 0, 0, -1},
      {2001, 13, 1, 0, 0, 0, -1},
      {0, 1, 1, 0, 0, 0, -1},
      {-2001, 1, 1, 0, 0, 0, -1},
      {2001, 1, 1, 24, 0, 0, -1},
      {2001, 1, 1, -1, 0, 0, -1},
      {2001, 1, 1, 0, 60, 0, -1},
      {2001, 1, 1, 0, -1, 0, -1},
      {2001, 1, 1, 0, 0, 60, -1},
      // moments a 32-bit date cannot hold
      {2038, 1, 19, 3, 14, 8, -1},
      {1901, 12, 13, 20, 45, 51, -1},
      {3600, 2, 28, 0, 0, 0, -1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day << " " << c.hour
                                    << ":" << c.minute << ":" << c.second);
    EXPECT_EQ(RT_Date2(c.year, c.month, c.day, c.hour, c.minute, c.second), c.expected);
  }
}

// The moment counts as UTC whatever the local zone, whole-hour offsets either side of
// Greenwich and summer time included.
TEST(Date2, SameDateInEveryZone) {
  for (const char *zone : {"UTC0", "EST5", "<+02>-2", "<-11>11", "<+13>-13", "<+14>-14",
                           "CET-1CEST,M3.5.0,M10.5.0/3"}) {
    SCOPED_TRACE(zone);
    InTimeZone inZone(zone);
    EXPECT_EQ(RT_Date2(2000, 2, 29, 0, 0, 0), LeapDay2000);
    EXPECT_EQ(RT_Date2(2021, 7, 15, 12, 0, 0), 1626350400);
  }
}
