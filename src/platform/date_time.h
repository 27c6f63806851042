// Time values: doubles counting days since 30 December 1899, the fraction
// being the time of day. alarm.rec stores them raw, so a damaged file can
// hold anything; every decoder here says "no value" rather than misbehave.
#pragma once

#include <cstdint>
#include <optional>

using TDateTime = double;  // days since 30 December 1899

inline constexpr std::int64_t kMsPerSecond = 1000;
inline constexpr std::int64_t kSecondsPerDay = 86400;
inline constexpr std::int64_t kMsPerDay = 86400000;
// Days between 30 December 1899 and 1 January 1970.
inline constexpr std::int64_t kDaysTo1970 = 25569;
// Values beyond about 8,000 years either way come only from a damaged file.
inline constexpr double kMaxTimeValueDays = 3000000.0;

// y/m/d must be a valid Gregorian date.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

// The value in whole milliseconds, rounded to the nearest (halves away from
// zero). Empty for NaN, infinities and values beyond kMaxTimeValueDays.
std::optional<std::int64_t> RoundedMs(TDateTime value);

struct TTimeOfDay {
  std::uint16_t Hour;
  std::uint16_t Minute;
  std::uint16_t Second;
  std::uint16_t Millisecond;
};

struct TCalendarDate {
  std::uint16_t Year;
  std::uint16_t Month;
  std::uint16_t Day;
  std::uint16_t Weekday;  // 1 = Monday ... 7 = Sunday
};

// Milliseconds of the time of day of a rounded value: the whole days are
// dropped and a negative value reads as its absolute value.
std::int64_t MsOfDay(std::int64_t roundedMs);
// The day a rounded value falls on: its whole-day part, counted from
// 30 December 1899 (truncated toward zero, as the time of day is absolute).
std::int64_t DayNumber(std::int64_t roundedMs);

// 1 = Monday ... 7 = Sunday; day 0, 30 December 1899, was a Saturday.
int WeekdayOfDay(std::int64_t dayNumber);
// Empty outside the years 1..9999.
std::optional<TCalendarDate> DateOfDay(std::int64_t dayNumber);

std::optional<TTimeOfDay> DecodeTime(TDateTime value);
std::optional<TCalendarDate> DecodeDate(TDateTime value);

// Division and remainder that round toward minus infinity, so that a moment
// before day 0 still falls on the right day and second.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
constexpr std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return a - FloorDiv(a, b) * b; }
