// Needs Windows itself: reads the real system clock.
#include "platform/win32/clock_win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/date_time.h"

namespace {

TEST(Win32Clock, ReadsOneInstantInLocalAndUniversalTime) {
  TWin32Clock clock;
  const std::int64_t systemMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                    .count();
  const TClockReading r = clock.Now();
  EXPECT_NEAR(static_cast<double>(r.UtcMs), static_cast<double>(systemMs), 2000.0);

  // Both halves come from one instant, so they differ by exactly the time
  // zone's offset: whole quarter hours, at most 14 hours.
  const std::int64_t utcSince1899Ms = r.UtcMs + 25569 * kMsPerDay;
  const std::int64_t offsetMs = RoundedMs(r.Local).value() - utcSince1899Ms;
  EXPECT_EQ(offsetMs % (15 * 60000), 0) << offsetMs;
  EXPECT_LE(std::llabs(offsetMs), 14 * 3600000LL);

  const std::uint64_t uptime = clock.UptimeMs();
  EXPECT_GT(uptime, 0u);
  EXPECT_GE(clock.UptimeMs(), uptime);
}

}  // namespace
