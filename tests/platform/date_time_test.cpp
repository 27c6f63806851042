#include "platform/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double kMsInDays = 1.0 / 86400000.0;

TEST(TimeValue, DecodesAsTheStoredFilesMeanIt) {
  struct Case {
    const char* name;
    double value;
    // Expected y, m, d, weekday (0 = no date) and h, m, s, ms.
    int y, mo, d, wd, h, mi, s, ms;
  };
  const double sunday = EncodeDate(2024, 3, 10);
  const std::vector<Case> cases = {
      {"day 0 was a Saturday", 0, 1899, 12, 30, 6, 0, 0, 0, 0},
      {"1 January 1900, Monday", 2, 1900, 1, 1, 1, 0, 0, 0, 0},
      {"1900 had no 29 February", EncodeDate(1900, 2, 28) + 1, 1900, 3, 1, 4, 0, 0, 0, 0},
      {"a Sunday morning", sunday + EncodeTime(7, 30, 0, 999), 2024, 3, 10, 7, 7, 30, 0, 999},
      {"0.9995 ms rounds up", 0.9995 * kMsInDays, 1899, 12, 30, 6, 0, 0, 0, 1},
      {"0.4999 ms rounds down", 0.4999 * kMsInDays, 1899, 12, 30, 6, 0, 0, 0, 0},
      {"rounding carries into the next day", EncodeDate(2024, 2, 29) + 1 - 0.4 * kMsInDays, 2024, 3,
       1, 5, 0, 0, 0, 0},
      {"negative: time of its absolute value", -1.25, 1899, 12, 29, 5, 6, 0, 0, 0},
      {"negative within day 0", -0.75, 1899, 12, 30, 6, 18, 0, 0, 0},
      {"last day of year 9999", EncodeDate(9999, 12, 31) + 0.5, 9999, 12, 31, 5, 12, 0, 0, 0},
      {"past year 9999: time only", 2999999.5, 0, 0, 0, 0, 12, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto time = DecodeTime(c.value);
    ASSERT_TRUE(time.has_value());
    EXPECT_EQ(std::vector<int>({time->Hour, time->Minute, time->Second, time->Millisecond}),
              std::vector<int>({c.h, c.mi, c.s, c.ms}));
    const auto date = DecodeDate(c.value);
    ASSERT_EQ(date.has_value(), c.y != 0);
    if (date) {
      EXPECT_EQ(std::vector<int>({date->Year, date->Month, date->Day, date->Weekday}),
                std::vector<int>({c.y, c.mo, c.d, c.wd}));
    }
  }
}

TEST(TimeValue, DamagedValuesDecodeToNothing) {
  for (const double v : {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -HUGE_VAL, 3000000.5,
                         -3000000.5, 1e300}) {
    SCOPED_TRACE(v);
    EXPECT_FALSE(RoundedMs(v).has_value());
    EXPECT_FALSE(DecodeTime(v).has_value());
    EXPECT_FALSE(DecodeDate(v).has_value());
  }
}

TEST(TimeValue, EveryDayOfTwoCenturiesRoundTrips) {
  int weekday = WeekdayOfDay(static_cast<std::int64_t>(EncodeDate(1900, 1, 1)));
  int y = 1900, m = 1, d = 1;
  const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (std::int64_t day = 2; y < 2100; ++day) {
    const double v = EncodeDate(y, m, d);
    ASSERT_EQ(v, static_cast<double>(day)) << y << "-" << m << "-" << d;
    const auto date = DecodeDate(v + EncodeTime(23, 59, 59, 999));
    ASSERT_TRUE(date.has_value());
    ASSERT_EQ(std::vector<int>({date->Year, date->Month, date->Day, date->Weekday}),
              std::vector<int>({y, m, d, weekday}));
    weekday = weekday % 7 + 1;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (++d > monthDays[m - 1] + (m == 2 && leap ? 1 : 0)) {
      d = 1;
      if (++m > 12) m = 1, ++y;
    }
  }
}

}  // namespace
