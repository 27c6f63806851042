#include "engine/clock_sample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/date_time.h"

namespace {

TEST(ClockSample, UptimeCountsWholeHoursPastOneDayAndPast32Bits) {
  struct Case {
    std::uint64_t ms;
    std::uint32_t hours;
    int minutes, seconds;
    const wchar_t* text;
  };
  const std::vector<Case> cases = {
      {0, 0, 0, 0, L"00:00:00"},
      {32707000, 9, 5, 7, L"09:05:07"},
      {108000000, 30, 0, 0, L"30:00:00"},
      {443045999, 123, 4, 5, L"123:04:05"},
      {4294967295, 1193, 2, 47, L"1193:02:47"},            // the last ms a 32-bit count holds
      {4294967296 + 3600000, 1194, 2, 47, L"1194:02:47"},  // and on past it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ms);
    TClockSample s;
    FillClockSample(s, 0, c.ms);
    EXPECT_EQ(s.UptimeTicks, c.ms);
    EXPECT_EQ(s.UptimeHours, c.hours);
    EXPECT_EQ(s.UptimeMinutes, c.minutes);
    EXPECT_EQ(s.UptimeSeconds, c.seconds);
    EXPECT_EQ(UptimeText(s), c.text);
  }
}

TEST(ClockSample, HoldsTheLocalDateTimeAndWeekday) {
  TClockSample s;
  FillClockSample(s, EncodeDate(2024, 3, 10) + EncodeTime(7, 30, 0, 999), 0);
  EXPECT_EQ(std::vector<int>(
                {s.Year, s.Month, s.Day, s.Weekday, s.Hour, s.Minute, s.Second, s.Millisecond}),
            std::vector<int>({2024, 3, 10, 7, 7, 30, 0, 999}));
  FillClockSample(s, std::nan(""), 5000);
  EXPECT_EQ(std::vector<int>(
                {s.Year, s.Month, s.Day, s.Weekday, s.Hour, s.Minute, s.Second, s.Millisecond}),
            std::vector<int>(8, 0));
  EXPECT_EQ(s.UptimeSeconds, 5);
}

}  // namespace
