// The clock sample: what the clock label shows, refreshed at every tick.
#pragma once

#include <cstdint>
#include <string>

#include "store/alarm_store.h"

struct TClockSample {
  std::uint16_t Year = 0;
  std::uint16_t Month = 0;
  std::uint16_t Day = 0;
  std::uint16_t Hour = 0;
  std::uint16_t Minute = 0;
  std::uint16_t Second = 0;
  std::uint16_t Millisecond = 0;
  std::uint16_t Weekday = 0;        // 1 = Monday ... 7 = Sunday
  std::uint64_t UptimeTicks = 0;    // ms since Windows started
  std::uint32_t UptimeHours = 0;    // whole hours, not reduced modulo 24
  std::uint16_t UptimeMinutes = 0;  // 0..59
  std::uint16_t UptimeSeconds = 0;  // 0..59
};

// A local time that cannot be decoded leaves the date and time fields 0.
void FillClockSample(TClockSample& sample, TDateTime local, std::uint64_t uptimeMs);

// "H:MM:SS" with each number at least two digits: "09:05:07", "123:04:05".
std::wstring UptimeText(const TClockSample& sample);
