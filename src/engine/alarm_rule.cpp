#include "engine/alarm_rule.h"

#include "platform/date_time.h"

namespace {

TAlarmRule DecodeTimeOfDay(TDateTime alarmTime) {
  TAlarmRule d;
  if (const auto ms = RoundedMs(alarmTime)) {
    d.Valid = true;
    d.SecondOfDay = MsOfDay(*ms) / kMsPerSecond;
  }
  return d;
}

TAlarmRule DecodeDateAlarm(const TDateAlarm& r) {
  TAlarmRule d = DecodeTimeOfDay(r.AlarmTime);
  const auto date = RoundedMs(r.AlarmDate);
  d.Valid = d.Valid && date.has_value();
  if (date) d.Day = DayNumber(*date);
  return d;
}

TAlarmRule DecodeWeeklyAlarm(const TWeeklyAlarm& r) {
  TAlarmRule d = DecodeTimeOfDay(r.AlarmTime);
  for (unsigned i = 0; i < 7; ++i) {
    if (r.Days[i] != 0) d.WeekdayMask |= 1u << i;
  }
  return d;
}

TAlarmRule DecodeCountdown(const TTimeAlarm& r) {
  TAlarmRule d;
  if (const auto ms = RoundedMs(r.AlarmTime)) {
    d.Valid = true;
    d.TargetSecond = FloorDiv(*ms, kMsPerSecond);
    d.SecondOfDay = FloorMod(d.TargetSecond, kSecondsPerDay);
  }
  return d;
}

}  // namespace

TAlarmRule DecodeRecord(const TAlarmStore& store, TAlarmKind kind, std::size_t i,
                        const TAlarmDays* days) {
  TAlarmRule r;
  switch (kind) {
    case akDate:
      return DecodeDateAlarm(store.DateAlarms[i]);
    case akDaily:
    case akWeekly:
      r = kind == akDaily ? DecodeTimeOfDay(store.DailyAlarms[i].AlarmTime)
                          : DecodeWeeklyAlarm(store.WeeklyAlarms[i]);
      if (days) {
        r.Days = days;
        r.SkipSecond = days->SkippedSecond(kind, static_cast<std::uint16_t>(i + 1));
      }
      return r;
    case akCountdown:
      return DecodeCountdown(store.CountdownAlarms[i]);
    case akBootCountdown:
      break;
  }
  return DecodeTimeOfDay(store.BootCountdownAlarms[i].AlarmTime);
}

TSecond SplitSecond(std::int64_t second) {
  TSecond s;
  s.Second = second;
  s.Day = FloorDiv(second, kSecondsPerDay);
  s.SecondOfDay = second - s.Day * kSecondsPerDay;
  s.WeekdayBit = 1u << (WeekdayOfDay(s.Day) - 1);
  return s;
}

bool DueAt(TAlarmKind kind, const TAlarmRule& r, const TSecond& s) {
  if (!r.Valid) return false;
  // The hours of a boot countdown's uptime are not reduced modulo 24: it can
  // fall due only in the first day after Windows starts.
  if (kind == akBootCountdown) return r.SecondOfDay == s.Second;
  if (r.SecondOfDay != s.SecondOfDay) return false;
  switch (kind) {
    case akDate:
      return r.Day == s.Day;
    case akDaily:
    case akWeekly: {
      if (s.Second == r.SkipSecond) return false;
      const unsigned bit = r.Days ? r.Days->WeekdayBit(s.Day) : s.WeekdayBit;
      return kind == akDaily ? bit != 0 : (r.WeekdayMask & bit) != 0;
    }
    case akCountdown:
      return s.Second >= r.TargetSecond;
    case akBootCountdown:
      break;
  }
  return false;
}

std::int64_t FirstDueAfter(TAlarmKind kind, const TAlarmRule& r, std::int64_t after) {
  if (!r.Valid) return -1;
  if (kind == akBootCountdown) return r.SecondOfDay > after ? r.SecondOfDay : -1;
  // Every rule of the wall clock is due only at its second of the day, so
  // the candidates are that second on the days after `after`. A weekly rule
  // finds its day within a week; the others decide on the first candidate,
  // or (a countdown before its target) on the target itself.
  std::int64_t second = after + 1 + FloorMod(r.SecondOfDay - (after + 1), kSecondsPerDay);
  if (kind == akCountdown && second < r.TargetSecond) return r.TargetSecond;
  if (kind == akDate) {
    const std::int64_t at = r.Day * kSecondsPerDay + r.SecondOfDay;
    return at > after && DueAt(kind, r, SplitSecond(at)) ? at : -1;
  }
  if (kind == akWeekly && r.WeekdayMask == 0) return -1;
  if (!r.Days) {
    for (int day = 0; day < 7; ++day, second += kSecondsPerDay) {
      if (DueAt(kind, r, SplitSecond(second))) return second;
    }
    // Only a skip can put the next ring a week further.
    return r.SkipSecond != TAlarmDays::kNoSkip && DueAt(kind, r, SplitSecond(second)) ? second
                                                                                        : -1;
  }
  // Days off are stepped over whole; between two of them (or two working
  // days) a week of ordinary days holds a ring, and a skip costs one week
  // more. Looking further finds nothing new.
  const std::size_t interruptions = r.Days->OffRangeCount() + r.Days->WorkDayCount();
  const std::size_t limit = 7 * (interruptions + 2) + 1;
  for (std::size_t n = 0; n < limit; ++n, second += kSecondsPerDay) {
    const std::int64_t day = FloorDiv(second, kSecondsPerDay);
    second += (r.Days->FirstDayOn(day) - day) * kSecondsPerDay;
    if (DueAt(kind, r, SplitSecond(second))) return second;
  }
  return -1;
}
