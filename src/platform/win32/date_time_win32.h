// Time values as Windows holds them: SYSTEMTIME parts and FILETIME counts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "platform/date_time.h"

// FILETIME counts 100 ns intervals since 1601-01-01 (UTC).
inline constexpr std::int64_t kFileTimeOf1970 = 116444736000000000LL;
inline constexpr std::int64_t kFileTimePerMs = 10000;

// The time value of a date and time of day in SYSTEMTIME parts.
TDateTime TimeValueOf(const SYSTEMTIME& t);
// The parts of a time value as the decoders read it (negative values count
// their time of day from the absolute value); empty where they give no date.
std::optional<SYSTEMTIME> SystemTimeOf(TDateTime value);

// Universal ms since 1970 of a FILETIME, and back.
std::int64_t UtcMsOf(const FILETIME& ft);
FILETIME FileTimeOfUtcMs(std::int64_t utcMs);
