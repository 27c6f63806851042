#include "sim/zones.h"

#include <algorithm>
#include <limits>

#include "platform/clock.h"

namespace {

constexpr std::int64_t kMin = 60000;
constexpr std::int64_t kHour = 60 * kMin;
constexpr std::int64_t kDay = 24 * kHour;

// 0 Sunday ... 6 Saturday.
int WeekDay(std::int64_t days) { return static_cast<int>(((days % 7) + 11) % 7); }

std::int64_t NthSunday(int y, int m, int n) {
  const std::int64_t first = DaysFromCivil(y, m, 1);
  return first + (7 - WeekDay(first)) % 7 + 7 * (n - 1);
}

std::int64_t LastSunday(int y, int m) {
  const std::int64_t last = DaysFromCivil(m == 12 ? y + 1 : y, m == 12 ? 1 : m + 1, 1) - 1;
  return last - WeekDay(last);
}

// An instant given as a day and a universal time of day.
std::int64_t At(std::int64_t day, std::int64_t utcTimeOfDay) { return day * kDay + utcTimeOfDay; }

}  // namespace

std::int64_t DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

std::string ZoneText(TZoneName zone) {
  switch (zone) {
    case TZoneName::Berlin:
      return "Europe/Berlin";
    case TZoneName::NewYork:
      return "America/New_York";
    case TZoneName::LordHowe:
      return "Australia/Lord_Howe";
    case TZoneName::Moscow:
      return "Europe/Moscow";
  }
  return "?";
}

TZone::TZone(TZoneName name, int firstYear, int lastYear) {
  for (int y = firstYear; y <= lastYear; ++y) {
    switch (name) {
      case TZoneName::Berlin:
        // Last Sundays of March and October, 01:00 UTC.
        if (y == firstYear) before_ = kHour;
        changes_.push_back({At(LastSunday(y, 3), kHour), 2 * kHour});
        changes_.push_back({At(LastSunday(y, 10), kHour), kHour});
        break;
      case TZoneName::NewYork:
        // Second Sunday of March 02:00 EST, first Sunday of November 02:00 EDT.
        if (y == firstYear) before_ = -5 * kHour;
        changes_.push_back({At(NthSunday(y, 3, 2), 7 * kHour), -4 * kHour});
        changes_.push_back({At(NthSunday(y, 11, 1), 6 * kHour), -5 * kHour});
        break;
      case TZoneName::LordHowe:
        // +10:30, and half an hour more from the first Sunday of October
        // 02:00 to the first Sunday of April 02:00 (local, summer time).
        if (y == firstYear) before_ = 11 * kHour;
        changes_.push_back({At(NthSunday(y, 4, 1), 2 * kHour - 11 * kHour), 10 * kHour + 30 * kMin});
        changes_.push_back(
            {At(NthSunday(y, 10, 1), 2 * kHour - 10 * kHour - 30 * kMin), 11 * kHour});
        break;
      case TZoneName::Moscow:
        // +3 with summer time +4 until 2011, whose spring change stayed;
        // +3 for good from 26 October 2014, 02:00 local.
        if (y == firstYear) before_ = y <= 2011 ? 3 * kHour : y <= 2014 ? 4 * kHour : 3 * kHour;
        if (y <= 2011) changes_.push_back({At(LastSunday(y, 3), 2 * kHour - 3 * kHour), 4 * kHour});
        if (y < 2011) changes_.push_back({At(LastSunday(y, 10), 3 * kHour - 4 * kHour), 3 * kHour});
        if (y == 2014) changes_.push_back({At(DaysFromCivil(2014, 10, 26), 2 * kHour - 4 * kHour), 3 * kHour});
        break;
    }
  }
  std::sort(changes_.begin(), changes_.end(),
            [](const TChange& a, const TChange& b) { return a.AtUtcMs < b.AtUtcMs; });
}

std::int64_t TZone::OffsetAt(std::int64_t utcMs) const {
  const auto it = std::upper_bound(changes_.begin(), changes_.end(), utcMs,
                                   [](std::int64_t t, const TChange& c) { return t < c.AtUtcMs; });
  return it == changes_.begin() ? before_ : std::prev(it)->OffsetMs;
}

std::int64_t TZone::LocalAt(std::int64_t utcMs) const {
  return utcMs - kUtcMsOf1899 + OffsetAt(utcMs);
}

std::int64_t TZone::NextChangeAfter(std::int64_t utcMs) const {
  const auto it = std::upper_bound(changes_.begin(), changes_.end(), utcMs,
                                   [](std::int64_t t, const TChange& c) { return t < c.AtUtcMs; });
  return it == changes_.end() ? std::numeric_limits<std::int64_t>::max() : it->AtUtcMs;
}

std::int64_t TZone::FirstReaching(std::int64_t localMs, std::int64_t fromUtcMs) const {
  // Walk the spans of one offset from the instant on: in each the local
  // clock runs with real time; at a change it jumps.
  std::int64_t t = fromUtcMs;
  for (;;) {
    if (LocalAt(t) >= localMs) return t;
    const std::int64_t offset = OffsetAt(t);
    const std::int64_t reach = localMs + kUtcMsOf1899 - offset;  // in this span
    const std::int64_t end = NextChangeAfter(t);
    if (reach < end) return reach;
    t = end;
  }
}
