// The clock service over the Windows system time and tick count.
#pragma once

#include "platform/clock.h"

class TWin32Clock : public TClock {
 public:
  TClockReading Now() override;
  std::uint64_t UptimeMs() override;
  std::int64_t LocalToUtcMs(std::int64_t localMs) override;
};
