// The local clock and the time since Windows started. The Win32 half reads
// the system; tests set a fake one freely.
#pragma once

#include <cstdint>

#include "store/alarm_store.h"

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
};
