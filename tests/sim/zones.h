// Time zones as the simulated PC's clock follows them: every change of
// offset over a span of years, from each place's own rules (as the tz
// database has them for those years).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class TZoneName { Berlin, NewYork, LordHowe, Moscow };
inline constexpr TZoneName kZones[] = {TZoneName::Berlin, TZoneName::NewYork,
                                       TZoneName::LordHowe, TZoneName::Moscow};
std::string ZoneText(TZoneName zone);

class TZone {
 public:
  // The changes of the years first..last (and the offset before them).
  TZone(TZoneName name, int firstYear, int lastYear);
  // Local minus universal time at the universal instant (ms since 1970).
  std::int64_t OffsetAt(std::int64_t utcMs) const;
  // The local wall-clock ms since 30 December 1899 at the instant.
  std::int64_t LocalAt(std::int64_t utcMs) const;
  // The first instant at or after `fromUtcMs` at which the local clock
  // reads `localMs` or later: in a skipped hour, the moment it is left;
  // in a repeated hour, its first pass still to come.
  std::int64_t FirstReaching(std::int64_t localMs, std::int64_t fromUtcMs) const;
  // The first change of offset after the instant; INT64_MAX when none.
  std::int64_t NextChangeAfter(std::int64_t utcMs) const;

 private:
  struct TChange {
    std::int64_t AtUtcMs;
    std::int64_t OffsetMs;  // from then on
  };
  std::int64_t before_ = 0;
  std::vector<TChange> changes_;
};

// Days since 1970-01-01 of a civil date, and back.
std::int64_t DaysFromCivil(int y, int m, int d);
void CivilFromDays(std::int64_t days, int& y, int& m, int& d);
