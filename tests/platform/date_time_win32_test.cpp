// The one conversion between time values and Windows' SYSTEMTIME and
// FILETIME, as the clock, the regional formats and the date pickers use it.
#include "platform/win32/date_time_win32.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

std::vector<int> Parts(const SYSTEMTIME& st) {
  return {st.wYear, st.wMonth,  st.wDay,    st.wDayOfWeek,
          st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

TEST(Win32DateTime, SystemTimeParts) {
  struct Case {
    const char* name;
    double value;
    std::vector<int> parts;  // y, m, d, weekday (Sunday 0), h, m, s, ms; empty: no date
    double back;             // the value the parts read back as
  };
  const double ms = 1.0 / 86400000.0;
  const std::vector<Case> cases = {
      {"day 0, a Saturday", 0.0, {1899, 12, 30, 6, 0, 0, 0, 0}, 0.0},
      {"a Sunday evening",
       EncodeDate(2024, 3, 10) + EncodeTime(21, 5, 7, 250),
       {2024, 3, 10, 0, 21, 5, 7, 250},
       EncodeDate(2024, 3, 10) + EncodeTime(21, 5, 7, 250)},
      {"leap day",
       EncodeDate(2024, 2, 29) + 0.5,
       {2024, 2, 29, 4, 12, 0, 0, 0},
       EncodeDate(2024, 2, 29) + 0.5},
      {"rounding carries into the next day",
       EncodeDate(2023, 12, 31) + 1 - 0.4 * ms,
       {2024, 1, 1, 1, 0, 0, 0, 0},
       EncodeDate(2024, 1, 1)},
      // Day -1 at 06:00, which counts forward from the day's start.
      {"negative: the time of its absolute value", -1.25, {1899, 12, 29, 5, 6, 0, 0, 0}, -0.75},
      {"past year 9999", EncodeDate(9999, 12, 31) + 1, {}, 0},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto st = SystemTimeOf(c.value);
    ASSERT_EQ(st.has_value(), !c.parts.empty());
    if (!st) continue;
    EXPECT_EQ(Parts(*st), c.parts);
    EXPECT_EQ(RoundedMs(TimeValueOf(*st)), RoundedMs(c.back));
  }
}

TEST(Win32DateTime, FileTimes) {
  struct Case {
    const char* name;
    std::int64_t utcMs;
    std::uint64_t ticks;
  };
  const std::vector<Case> cases = {
      {"1970", 0, 116444736000000000ull},
      {"2000-01-01", 946684800000, 125911584000000000ull},
      {"before 1970", -1000, 116444735990000000ull},
      {"1601", -11644473600000, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FILETIME ft = FileTimeOfUtcMs(c.utcMs);
    EXPECT_EQ((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime, c.ticks);
    EXPECT_EQ(UtcMsOf(ft), c.utcMs);
    // Windows reads the same calendar day from it.
    SYSTEMTIME st;
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
    const auto day = DecodeDate(static_cast<double>(c.utcMs) / 86400000.0 + 25569.0);
    ASSERT_TRUE(day.has_value());
    EXPECT_EQ(std::vector<int>({st.wYear, st.wMonth, st.wDay}),
              std::vector<int>({day->Year, day->Month, day->Day}));
  }
}

}  // namespace
