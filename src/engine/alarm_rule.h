// The one decoder of stored records: it turns a record into the rule that
// says in which seconds the alarm is due. The check's tick and the next due
// moment both ask it, so they can never disagree.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/alarm_days.h"
#include "store/alarm_store.h"

struct TAlarmRule {
  bool Valid = false;
  std::int64_t SecondOfDay = 0;   // of AlarmTime; for a countdown, of its target
  std::int64_t Day = 0;           // date alarm: day number of AlarmDate
  std::int64_t TargetSecond = 0;  // countdown: the second holding the target moment
  unsigned WeekdayMask = 0;       // weekly: bit 0 Monday ... bit 6 Sunday
  // Daily and weekly: the days off and working days they follow (none:
  // every day is as its weekday), and the one second they skip.
  const TAlarmDays* Days = nullptr;
  std::int64_t SkipSecond = TAlarmDays::kNoSkip;
};

// A damaged alarm.rec may hold any count; never look past a table.
inline std::uint16_t LiveCount(const TAlarmStore& store, TAlarmKind kind) {
  return std::min(AlarmCount(store, kind), kAlarmCapacity);
}

// Record i (0-based) of a kind's table; i must lie below its live count.
// With `days`, a daily or weekly record follows them.
TAlarmRule DecodeRecord(const TAlarmStore& store, TAlarmKind kind, std::size_t i,
                        const TAlarmDays* days = nullptr);

// One second, split as the rules compare it: local wall-clock seconds since
// 30 December 1899, or uptime seconds for boot countdowns.
struct TSecond {
  std::int64_t Second;
  std::int64_t Day;
  std::int64_t SecondOfDay;
  unsigned WeekdayBit;
};
TSecond SplitSecond(std::int64_t second);

bool DueAt(TAlarmKind kind, const TAlarmRule& rule, const TSecond& s);

// The first second after `after` in which the rule is due; -1 when none is.
std::int64_t FirstDueAfter(TAlarmKind kind, const TAlarmRule& rule, std::int64_t after);
