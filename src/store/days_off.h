// Days off and working days, sections [DaysOff] and [WorkDays] of
// Tivorra.ini. The user keeps the list (a year's official calendar can be
// pasted in): on a day off the daily and weekday alarms stay silent, and on
// a working day the weekday alarms ring as on the weekday it is named for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Days are counted from 30 December 1899, as platform/date_time.h does.
struct TDayOffRange {
  std::int64_t FirstDay = 0;
  std::int64_t LastDay = 0;  // inclusive; equal to FirstDay for one date
  std::wstring Note;
  bool operator==(const TDayOffRange&) const = default;
};

struct TWorkDay {
  std::int64_t Day = 0;
  int Weekday = 1;  // rings as on this weekday: 1 = Monday ... 7 = Sunday
  std::wstring Note;
  bool operator==(const TWorkDay&) const = default;
};

struct TDaysOff {
  std::vector<TDayOffRange> Off;
  std::vector<TWorkDay> Work;
  bool operator==(const TDaysOff&) const = default;
};
