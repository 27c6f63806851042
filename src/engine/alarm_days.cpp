#include "engine/alarm_days.h"

#include <algorithm>

#include "platform/date_time.h"

void TAlarmDays::SetDaysOff(const TDaysOff& days) {
  off_.clear();
  for (const TDayOffRange& r : days.Off) {
    if (r.FirstDay <= r.LastDay) off_.push_back({r.FirstDay, r.LastDay});
  }
  std::sort(off_.begin(), off_.end(),
            [](const TRange& a, const TRange& b) { return a.First < b.First; });
  std::vector<TRange> merged;
  for (const TRange& r : off_) {
    if (!merged.empty() && r.First <= merged.back().Last + 1) {
      merged.back().Last = std::max(merged.back().Last, r.Last);
    } else {
      merged.push_back(r);
    }
  }
  off_ = std::move(merged);

  work_.clear();
  for (const TWorkDay& w : days.Work) {
    if (w.Weekday < 1 || w.Weekday > 7) continue;
    // The first line for a date counts, as with any setting read twice.
    const bool known = std::any_of(work_.begin(), work_.end(),
                                   [&](const TWork& k) { return k.Day == w.Day; });
    if (!known) work_.push_back({w.Day, 1u << (w.Weekday - 1)});
  }
  std::sort(work_.begin(), work_.end(),
            [](const TWork& a, const TWork& b) { return a.Day < b.Day; });
}

void TAlarmDays::SetSkips(const std::vector<TSkip>& skips) {
  skips_.clear();
  for (const TSkip& k : skips) {
    if (k.Alarm.Index != 0) skips_.push_back({k.Alarm.Kind, k.Alarm.Index, k.LocalSecond});
  }
}

unsigned TAlarmDays::WeekdayBit(std::int64_t day) const {
  // A date named a working day rings, even inside a range of days off.
  const auto work = std::lower_bound(work_.begin(), work_.end(), day,
                                     [](const TWork& w, std::int64_t d) { return w.Day < d; });
  if (work != work_.end() && work->Day == day) return work->Bit;
  const auto off = std::upper_bound(off_.begin(), off_.end(), day,
                                    [](std::int64_t d, const TRange& r) { return d < r.First; });
  if (off != off_.begin() && std::prev(off)->Last >= day) return 0;
  return 1u << (WeekdayOfDay(day) - 1);
}

std::int64_t TAlarmDays::FirstDayOn(std::int64_t day) const {
  const auto off = std::upper_bound(off_.begin(), off_.end(), day,
                                    [](std::int64_t d, const TRange& r) { return d < r.First; });
  if (off == off_.begin() || std::prev(off)->Last < day) return day;
  // Inside a range (ranges are merged, so the day after it is on), unless
  // a working day comes first.
  const std::int64_t after = std::prev(off)->Last + 1;
  const auto work = std::lower_bound(work_.begin(), work_.end(), day,
                                     [](const TWork& w, std::int64_t d) { return w.Day < d; });
  return work != work_.end() && work->Day < after ? work->Day : after;
}

std::int64_t TAlarmDays::SkippedSecond(TAlarmKind kind, std::uint16_t index) const {
  for (const TSkipAt& k : skips_) {
    if (k.Kind == kind && k.Index == index) return k.Second;
  }
  return kNoSkip;
}
