#include "platform/win32/clock_win32.h"

#include <windows.h>

#include "engine/time_value.h"

namespace {

// FILETIME counts 100 ns intervals since 1601-01-01 (UTC).
constexpr std::uint64_t kFileTimeOf1970 = 116444736000000000ull;
constexpr std::uint64_t kFileTimePerMs = 10000;

TDateTime ToTimeValue(const SYSTEMTIME& t) {
  return EncodeDate(t.wYear, t.wMonth, t.wDay) +
         EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

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
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;

  TClockReading reading{};
  reading.UtcMs = static_cast<std::int64_t>((ticks - kFileTimeOf1970) / kFileTimePerMs);

  SYSTEMTIME utcParts;
  SYSTEMTIME localParts;
  if (FileTimeToSystemTime(&utc, &utcParts) &&
      SystemTimeToTzSpecificLocalTime(nullptr, &utcParts, &localParts)) {
    reading.Local = ToTimeValue(localParts);
  } else {
    // Without a time zone the local time is the best guess we have.
    GetLocalTime(&localParts);
    reading.Local = ToTimeValue(localParts);
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
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(utcMs) * kFileTimePerMs + kFileTimeOf1970;
    FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
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
