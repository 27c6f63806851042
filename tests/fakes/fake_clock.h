// A clock that tests set and move by hand. Local time is kept in whole
// milliseconds so that moving it many times never drifts.
#pragma once

#include <cstdint>

#include "platform/date_time.h"
#include "platform/clock.h"

class TFakeClock : public TClock {
 public:
  // Fixed: local time keeps whatever offset from UTC the clock reads now.
  // The others follow those places' daylight saving rules (EU and US).
  enum class TZone { Fixed, Berlin, NewYork };

  std::int64_t LocalMs = 0;  // local wall-clock ms since 30 December 1899
  std::int64_t UtcMs = 1700000000000;
  std::uint64_t Uptime = 3600000;
  TZone Zone = TZone::Fixed;

  TClockReading Now() override {
    return {static_cast<double>(LocalMs) / static_cast<double>(kMsPerDay), UtcMs};
  }
  std::uint64_t UptimeMs() override { return Uptime; }
  std::int64_t LocalToUtcMs(std::int64_t localMs) override {
    return EarliestUtcReading(localMs, [this](std::int64_t utc) { return LocalAt(utc); });
  }

  void SetLocal(TDateTime local) { LocalMs = RoundedMs(local).value(); }
  // Puts the clock at a universal instant; local time follows the zone.
  void SetUtc(std::int64_t utcMs) {
    LocalMs = LocalAt(utcMs);
    UtcMs = utcMs;
  }
  // Real time passes: local time, UTC and uptime all move on.
  void Advance(std::int64_t ms) {
    LocalMs += ms;
    UtcMs += ms;
    Uptime += static_cast<std::uint64_t>(ms);
  }

  // The local time of a universal instant under the zone's rules.
  std::int64_t LocalAt(std::int64_t utcMs) const {
    constexpr std::int64_t kHour = 3600000;
    const std::int64_t asLocal = utcMs - kUtcMsOf1899;
    if (Zone == TZone::Fixed) return asLocal + (LocalMs - (UtcMs - kUtcMsOf1899));
    const int year = DateOfDay(FloorDiv(asLocal, kMsPerDay))->Year;
    const auto utcOf = [](std::int64_t day, std::int64_t hourUtc) {
      return day * kMsPerDay + hourUtc * kHour + kUtcMsOf1899;
    };
    if (Zone == TZone::Berlin) {
      // Last Sundays of March and October, 01:00 UTC.
      const bool summer =
          utcMs >= utcOf(LastSunday(year, 3), 1) && utcMs < utcOf(LastSunday(year, 10), 1);
      return asLocal + (summer ? 2 : 1) * kHour;
    }
    // Second Sunday of March, 02:00 EST; first Sunday of November, 02:00 EDT.
    const bool summer =
        utcMs >= utcOf(FirstSunday(year, 3) + 7, 7) && utcMs < utcOf(FirstSunday(year, 11), 6);
    return asLocal - (summer ? 4 : 5) * kHour;
  }

 private:
  static std::int64_t Day(int y, int m, int d) {
    return static_cast<std::int64_t>(EncodeDate(y, m, d));
  }
  static std::int64_t FirstSunday(int y, int m) {
    const std::int64_t first = Day(y, m, 1);
    return first + (7 - WeekdayOfDay(first)) % 7;
  }
  static std::int64_t LastSunday(int y, int m) {
    const std::int64_t last = Day(y, m + 1, 1) - 1;  // March and October only
    return last - WeekdayOfDay(last) % 7;
  }
};
