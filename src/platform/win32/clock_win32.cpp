#include "platform/win32/clock_win32.h"

#include <windows.h>

#include "platform/date_time.h"
#include "platform/win32/date_time_win32.h"

namespace {

std::int64_t LocalMsOf(const SYSTEMTIME& t) {
  const auto day = static_cast<std::int64_t>(EncodeDate(t.wYear, t.wMonth, t.wDay));
  return day * kMsPerDay + ((t.wHour * 60LL + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds;
}

}  // namespace

TClockReading TWin32Clock::Now() {
  // Both halves of the reading come from one system time, so they describe
  // the same instant even when a tick straddles a clock change.
  FILETIME utc;
  GetSystemTimeAsFileTime(&utc);
  TClockReading reading{};
  reading.UtcMs = UtcMsOf(utc);

  SYSTEMTIME utcParts;
  SYSTEMTIME localParts;
  if (FileTimeToSystemTime(&utc, &utcParts) &&
      SystemTimeToTzSpecificLocalTime(nullptr, &utcParts, &localParts)) {
    reading.Local = TimeValueOf(localParts);
  } else {
    // Without a time zone the local time is the best guess we have.
    GetLocalTime(&localParts);
    reading.Local = TimeValueOf(localParts);
  }
  return reading;
}

std::uint64_t TWin32Clock::UptimeMs() { return GetTickCount64(); }

std::int64_t TWin32Clock::LocalToUtcMs(std::int64_t localMs) {
  // The dynamic rules know the daylight saving dates of each year, not only
  // this year's; without them the current zone's classic rules serve.
  DYNAMIC_TIME_ZONE_INFORMATION zone{};
  const bool dynamic = GetDynamicTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID;
  TIME_ZONE_INFORMATION rules{};
  bool haveRules = false;
  WORD rulesYear = 0;
  return EarliestUtcReading(localMs, [&](std::int64_t utcMs) {
    const FILETIME ft = FileTimeOfUtcMs(utcMs);
    SYSTEMTIME utc;
    SYSTEMTIME local;
    if (!FileTimeToSystemTime(&ft, &utc)) return utcMs - kUtcMsOf1899;
    if (dynamic && utc.wYear != rulesYear) {
      rulesYear = utc.wYear;
      haveRules = GetTimeZoneInformationForYear(utc.wYear, &zone, &rules) != FALSE;
    }
    if (SystemTimeToTzSpecificLocalTime(haveRules ? &rules : nullptr, &utc, &local)) {
      return LocalMsOf(local);
    }
    return utcMs - kUtcMsOf1899;  // no time zone: local time is universal time
  });
}
