// Calendar clock: dates are signed 32-bit seconds of the platform's calendar clock.
#include "runtime/misc/misc.h"
#include "runtime/misc/wall_clock.h"

#include <climits>
#include <ctime>

enum Unit : uint32_t { Years, Months, Weeks, Days, Hours, Minutes, Seconds };

constexpr int32_t NoDate = -1;

// A date of mktime, or -1 when it has none or it does not fit a 32-bit date.
static int32_t DateOf(tm &broken) {
  const time_t date = mktime(&broken);
  if (date == time_t(-1) || date < INT32_MIN || date > INT32_MAX)
    return NoDate;
  return int32_t(date);
}

static bool LocalTime(int32_t date, tm &broken) {
  const time_t t = date;
  return localtime_r(&t, &broken) != nullptr;
}

// Adds to a field of the broken-down time; false when the sum leaves the field's range.
static bool AddToField(int &field, int32_t amount) {
  const int64_t sum = int64_t(field) + amount;
  if (sum < INT_MIN || sum > INT_MAX)
    return false;
  field = int(sum);
  return true;
}

// Years and months move on the local calendar; the time of day stays.
static int32_t AddCalendarUnits(int32_t date, Unit unit, int32_t amount) {
  tm broken{};
  if (!LocalTime(date, broken) ||
      !AddToField(unit == Years ? broken.tm_year : broken.tm_mon, amount))
    return NoDate;
  broken.tm_isdst = -1; // the new day's own daylight saving keeps the clock time
  return DateOf(broken);
}

static int32_t AddSeconds(int32_t date, uint32_t unitSeconds, int32_t amount) {
  return int32_t(uint32_t(date) + uint32_t(amount) * unitSeconds);
}

int32_t RT_Date() {
  // Whole seconds, then through local time and back, as every date is made. The
  // count wraps at 32 bits so the clock keeps moving after 2038.
  const time_t now = misc::FloorDivide(misc::WallMicroseconds(), 1000000);
  tm broken{};
  if (localtime_r(&now, &broken) == nullptr)
    return int32_t(uint32_t(now));
  return int32_t(uint32_t(mktime(&broken)));
}

int32_t RT_AddDate(int32_t date, int32_t unit, int32_t amount) {
  switch (uint32_t(unit)) {
  case Years:
  case Months:
    return AddCalendarUnits(date, Unit(unit), amount);
  case Weeks:
    return AddSeconds(date, 604800, amount);
  case Days:
    return AddSeconds(date, 86400, amount);
  case Hours:
    return AddSeconds(date, 3600, amount);
  case Minutes:
    return AddSeconds(date, 60, amount);
  case Seconds:
    return AddSeconds(date, 1, amount);
  default:
    return date;
  }
}

static bool IsLeapYear(int32_t year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0) && year != 3600;
}

static bool IsValidMoment(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                          int32_t second) {
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31)
    return false;
  if (uint32_t(hour) > 23 || uint32_t(minute) > 59 || uint32_t(second) > 59)
    return false;
  if (day == 31 && (month == 4 || month == 6 || month == 9 || month == 11))
    return false;
  return month != 2 || day < 29 || (day == 29 && IsLeapYear(year));
}

// The local clock's offset from UTC in whole hours, as it stood at time 0. West of
// Greenwich time 0 falls on the last day of 1969, whatever the hour (UTC-11 shows 13:00).
static int LocalHourOffset() {
  const time_t epoch = 0;
  tm broken{};
  if (localtime_r(&epoch, &broken) == nullptr)
    return 0;
  return broken.tm_year < 70 ? broken.tm_hour - 24 : broken.tm_hour;
}

// The moment is taken as UTC: the local offset is added back before mktime.
int32_t RT_Date2(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                 int32_t second) {
  if (!IsValidMoment(year, month, day, hour, minute, second))
    return NoDate;
  tm broken{};
  broken.tm_year = year - 1900;
  broken.tm_mon = month - 1;
  broken.tm_mday = day;
  broken.tm_hour = hour + LocalHourOffset();
  broken.tm_min = minute;
  broken.tm_sec = second;
  broken.tm_isdst = 0;
  return DateOf(broken);
}
