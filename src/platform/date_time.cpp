#include "platform/date_time.h"

#include <cmath>

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date; eras of 400 years
// keep the arithmetic exact for any year.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = FloorDiv(y, 400);
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct TCivil {
  std::int64_t Year;
  unsigned Month;
  unsigned Day;
};

constexpr TCivil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0);
  return {y, m, d};
}

static_assert(DaysFromCivil(1899, 12, 30) == -kDaysTo1970);
static_assert(CivilFromDays(-kDaysTo1970).Year == 1899);

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
  return static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kDaysTo1970);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  const std::int64_t ms = ((hour * 60LL + minute) * 60 + second) * kMsPerSecond + millisecond;
  return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

std::optional<std::int64_t> RoundedMs(TDateTime value) {
  // The range test also turns NaN away, since every comparison with it is
  // false; converting such a value to an integer would be undefined.
  if (!(std::fabs(value) <= kMaxTimeValueDays)) return std::nullopt;
  return static_cast<std::int64_t>(std::round(value * static_cast<double>(kMsPerDay)));
}

std::int64_t MsOfDay(std::int64_t roundedMs) {
  return (roundedMs < 0 ? -roundedMs : roundedMs) % kMsPerDay;
}

std::int64_t DayNumber(std::int64_t roundedMs) { return roundedMs / kMsPerDay; }

int WeekdayOfDay(std::int64_t dayNumber) {
  return static_cast<int>(FloorMod(dayNumber + 5, 7)) + 1;
}

std::optional<TCalendarDate> DateOfDay(std::int64_t dayNumber) {
  const TCivil c = CivilFromDays(dayNumber - kDaysTo1970);
  if (c.Year < 1 || c.Year > 9999) return std::nullopt;
  return TCalendarDate{static_cast<std::uint16_t>(c.Year), static_cast<std::uint16_t>(c.Month),
                       static_cast<std::uint16_t>(c.Day),
                       static_cast<std::uint16_t>(WeekdayOfDay(dayNumber))};
}

std::optional<TTimeOfDay> DecodeTime(TDateTime value) {
  const auto ms = RoundedMs(value);
  if (!ms) return std::nullopt;
  const std::int64_t r = MsOfDay(*ms);
  return TTimeOfDay{
      static_cast<std::uint16_t>(r / 3600000), static_cast<std::uint16_t>(r / 60000 % 60),
      static_cast<std::uint16_t>(r / 1000 % 60), static_cast<std::uint16_t>(r % 1000)};
}

std::optional<TCalendarDate> DecodeDate(TDateTime value) {
  const auto ms = RoundedMs(value);
  if (!ms) return std::nullopt;
  return DateOfDay(DayNumber(*ms));
}
