// A clock that tests set and move by hand. Local time is kept in whole
// milliseconds so that moving it many times never drifts.
#pragma once

#include <cstdint>

#include "engine/time_value.h"
#include "platform/clock.h"

class TFakeClock : public TClock {
 public:
  std::int64_t LocalMs = 0;  // local wall-clock ms since 30 December 1899
  std::int64_t UtcMs = 1700000000000;
  std::uint64_t Uptime = 3600000;

  TClockReading Now() override {
    return {static_cast<double>(LocalMs) / static_cast<double>(kMsPerDay), UtcMs};
  }
  std::uint64_t UptimeMs() override { return Uptime; }

  void SetLocal(TDateTime local) { LocalMs = RoundedMs(local).value(); }
  // Real time passes: local time, UTC and uptime all move on.
  void Advance(std::int64_t ms) {
    LocalMs += ms;
    UtcMs += ms;
    Uptime += static_cast<std::uint64_t>(ms);
  }
};
