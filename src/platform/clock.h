// The local clock and the time since Windows started. The Win32 half reads
// the system; tests set a fake one freely.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/date_time.h"

// One instant read once: its local wall-clock time and its universal time.
// The alarm check needs both from the same reading, since the local clock
// can jump (daylight saving time, time zone) while real time moves on.
struct TClockReading {
  TDateTime Local;     // local date and time as a time value
  std::int64_t UtcMs;  // universal time, ms since 1970-01-01
};

class TClock {
 public:
  virtual ~TClock() = default;
  virtual TClockReading Now() = 0;
  // Milliseconds since Windows started; 64 bits, so it never wraps.
  virtual std::uint64_t UptimeMs() = 0;
  // The first universal instant (ms since 1970) at which the local clock
  // reads `localMs` (ms since 30 December 1899) or later, by the time zone
  // rules of that date: a moment in the hour skipped when daylight saving
  // time begins comes as the clock leaves the gap, and one in the hour
  // repeated when it ends comes on its first pass.
  virtual std::int64_t LocalToUtcMs(std::int64_t localMs) = 0;
};

// Universal ms since 1970 of 30 December 1899, 00:00.
inline constexpr std::int64_t kUtcMsOf1899 = -kDaysTo1970 * kMsPerDay;

// LocalToUtcMs over any rule that tells the local time of a universal
// instant (both in the units above). Time zone offsets change at most once
// in a day around the moment, as every real rule does.
std::int64_t EarliestUtcReading(std::int64_t localMs,
                                const std::function<std::int64_t(std::int64_t utcMs)>& localAt);
