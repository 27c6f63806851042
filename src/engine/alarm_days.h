// What decides, beyond an alarm's own record, whether a daily or weekday
// alarm rings on a day: the user's days off and working days, and the
// occurrences the user chose to skip. Date alarms and countdowns happen once
// and ring as always.
#pragma once

#include <cstdint>
#include <vector>

#include "store/alarm_store.h"
#include "store/days_off.h"
#include "store/program_state.h"

class TAlarmDays {
 public:
  void SetDaysOff(const TDaysOff& days);
  // The skips, with the indices their alarms have now.
  void SetSkips(const std::vector<TSkip>& skips);

  // The weekday bit (bit 0 Monday) the day's weekday alarms ring as: its
  // own, or the one a working day names. 0 on a day off, when the daily
  // and weekday alarms are silent.
  unsigned WeekdayBit(std::int64_t day) const;
  // The first day from `day` on that is not a day off.
  std::int64_t FirstDayOn(std::int64_t day) const;
  // How many working days are named: each may turn a silent weekday into
  // one that rings, so a search for the next ring looks that much further.
  std::size_t WorkDayCount() const { return work_.size(); }
  std::size_t OffRangeCount() const { return off_.size(); }

  // The skipped second of record `index` (1-based) of a kind, or kNoSkip.
  static constexpr std::int64_t kNoSkip = INT64_MIN;
  std::int64_t SkippedSecond(TAlarmKind kind, std::uint16_t index) const;

 private:
  struct TRange {
    std::int64_t First;
    std::int64_t Last;
  };
  struct TWork {
    std::int64_t Day;
    unsigned Bit;
  };
  // Sorted, merged where they touch.
  std::vector<TRange> off_;
  // Sorted by day; one per day.
  std::vector<TWork> work_;
  struct TSkipAt {
    TAlarmKind Kind;
    std::uint16_t Index;
    std::int64_t Second;
  };
  std::vector<TSkipAt> skips_;
};
