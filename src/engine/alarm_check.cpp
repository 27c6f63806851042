#include "engine/alarm_check.h"

#include <algorithm>
#include <cstddef>
#include <exception>

#include "controls/dispatcher.h"
#include "engine/time_value.h"

void FireAlarm(const TAlarmStore& store, TAlarmKind kind, std::uint16_t index,
               TAlarmReceiver& receiver) {
  if (kind > akBootCountdown || index < 1 || index > kAlarmCapacity) return;
  const TAlarmActions actions = AlarmActions(store, kind, index);
  receiver.WakeUp(FromShortString(*actions.Msg), FromShortString(*actions.Exe),
                  FromShortString(*actions.Mus));
}

namespace {

// More real time than this between two ticks is not caught up.
constexpr std::int64_t kMaxCatchUpMs = 300 * kMsPerSecond;
constexpr std::int64_t kMaxCatchUpSeconds = 300;
// The local clock may part from real time by a daylight saving change (one
// hour). A bigger jump either way is a time zone or clock change: the check
// then starts afresh from the current second.
constexpr std::int64_t kMaxLocalDriftMs = 2 * 3600 * kMsPerSecond;
// A time sync or a user setting a fast clock right steps real time back by
// seconds or minutes; that is treated like the end of daylight saving time,
// so nothing rings twice. A bigger step back is a changed date, after which
// the check starts afresh from the current second.
constexpr std::int64_t kMaxStepBackMs = 2 * 3600 * kMsPerSecond;
// How far into a second the tick aims to land, clear of timer jitter.
constexpr int kTickLagMs = 20;

constexpr TAlarmCheck::TSecondRange kNoSeconds{1, 0};

// A record's stored values, decoded once per tick.
struct TDecoded {
  bool Valid = false;
  std::int64_t SecondOfDay = 0;   // of AlarmTime; for a countdown, of its target
  std::int64_t Day = 0;           // date alarm: day number of AlarmDate
  std::int64_t TargetSecond = 0;  // countdown: the second holding the target moment
  unsigned WeekdayMask = 0;       // weekly: bit 0 Monday ... bit 6 Sunday
};

// A damaged alarm.rec may hold any count; never look past a table.
std::uint16_t LiveCount(const TAlarmStore& store, TAlarmKind kind) {
  return std::min(AlarmCount(store, kind), kAlarmCapacity);
}

TDecoded DecodeTimeOfDay(TDateTime alarmTime) {
  TDecoded d;
  if (const auto ms = RoundedMs(alarmTime)) {
    d.Valid = true;
    d.SecondOfDay = MsOfDay(*ms) / kMsPerSecond;
  }
  return d;
}

TDecoded DecodeDateAlarm(const TDateAlarm& r) {
  TDecoded d = DecodeTimeOfDay(r.AlarmTime);
  const auto date = RoundedMs(r.AlarmDate);
  d.Valid = d.Valid && date.has_value();
  if (date) d.Day = DayNumber(*date);
  return d;
}

TDecoded DecodeWeeklyAlarm(const TWeeklyAlarm& r) {
  TDecoded d = DecodeTimeOfDay(r.AlarmTime);
  for (unsigned i = 0; i < 7; ++i) {
    if (r.Days[i] != 0) d.WeekdayMask |= 1u << i;
  }
  return d;
}

TDecoded DecodeCountdown(const TTimeAlarm& r) {
  TDecoded d;
  if (const auto ms = RoundedMs(r.AlarmTime)) {
    d.Valid = true;
    d.TargetSecond = FloorDiv(*ms, kMsPerSecond);
    d.SecondOfDay = FloorMod(d.TargetSecond, kSecondsPerDay);
  }
  return d;
}

// Record i (0-based) of a kind's table; i must lie below its live count.
TDecoded DecodeRecord(const TAlarmStore& store, TAlarmKind kind, std::size_t i) {
  switch (kind) {
    case akDate:
      return DecodeDateAlarm(store.DateAlarms[i]);
    case akDaily:
      return DecodeTimeOfDay(store.DailyAlarms[i].AlarmTime);
    case akWeekly:
      return DecodeWeeklyAlarm(store.WeeklyAlarms[i]);
    case akCountdown:
      return DecodeCountdown(store.CountdownAlarms[i]);
    case akBootCountdown:
      break;
  }
  return DecodeTimeOfDay(store.BootCountdownAlarms[i].AlarmTime);
}

// One examined second (local wall-clock, or uptime for boot countdowns),
// split as the rules compare it.
struct TSecond {
  std::int64_t Second;
  std::int64_t Day;
  std::int64_t SecondOfDay;
  unsigned WeekdayBit;
};

TSecond SplitSecond(std::int64_t second) {
  TSecond s;
  s.Second = second;
  s.Day = FloorDiv(second, kSecondsPerDay);
  s.SecondOfDay = second - s.Day * kSecondsPerDay;
  s.WeekdayBit = 1u << (WeekdayOfDay(s.Day) - 1);
  return s;
}

bool DueAt(TAlarmKind kind, const TDecoded& r, const TSecond& s) {
  if (!r.Valid) return false;
  // The hours of a boot countdown's uptime are not reduced modulo 24: it can
  // fall due only in the first day after Windows starts.
  if (kind == akBootCountdown) return r.SecondOfDay == s.Second;
  if (r.SecondOfDay != s.SecondOfDay) return false;
  switch (kind) {
    case akDate:
      return r.Day == s.Day;
    case akDaily:
      return true;
    case akWeekly:
      return (r.WeekdayMask & s.WeekdayBit) != 0;
    case akCountdown:
      return s.Second >= r.TargetSecond;
    case akBootCountdown:
      break;
  }
  return false;
}

struct TDue {
  TAlarmKind Kind;
  std::uint16_t Index;
  std::int64_t Second;  // the examined second it fell due in
};

// Appends the alarms of `kinds` due in the seconds of `range`, in order of
// second, then kind, then record. Each record is decoded once and tested
// only at the seconds of the range that share its time of day, so a tick
// that catches up minutes costs hardly more than one that examines a second.
template <std::size_t N>
void CollectDue(const TAlarmStore& store, const TAlarmKind (&kinds)[N],
                TAlarmCheck::TSecondRange range, std::vector<TDue>& due) {
  if (range.First > range.Last) return;
  const std::size_t from = due.size();
  const std::int64_t firstOfDay = FloorMod(range.First, kSecondsPerDay);
  for (const TAlarmKind kind : kinds) {
    const std::uint16_t count = LiveCount(store, kind);
    for (std::uint16_t i = 0; i < count; ++i) {
      const TDecoded r = DecodeRecord(store, kind, i);
      if (!r.Valid) continue;
      std::int64_t second = range.First + FloorMod(r.SecondOfDay - firstOfDay, kSecondsPerDay);
      for (; second <= range.Last; second += kSecondsPerDay) {
        if (DueAt(kind, r, SplitSecond(second))) {
          due.push_back({kind, static_cast<std::uint16_t>(i + 1), second});
        }
      }
    }
  }
  std::stable_sort(due.begin() + static_cast<std::ptrdiff_t>(from), due.end(),
                   [](const TDue& a, const TDue& b) { return a.Second < b.Second; });
}

constexpr TAlarmKind kWallClockKinds[] = {akDate, akDaily, akWeekly, akCountdown};
constexpr TAlarmKind kUptimeKinds[] = {akBootCountdown};

}  // namespace

TAlarmCheck::TSecondRange TAlarmCheck::NextLocalRange(const TClockReading& now) {
  const auto ms = RoundedMs(now.Local);
  if (!ms) return kNoSeconds;
  const std::int64_t current = FloorDiv(*ms, kMsPerSecond);
  // Computed without signed overflow whatever the clock reports; C++20
  // defines the conversion back to signed.
  const auto elapsedMs = static_cast<std::int64_t>(static_cast<std::uint64_t>(now.UtcMs) -
                                                   static_cast<std::uint64_t>(lastUtcMs_));
  const bool first = !hasLocal_;
  const std::int64_t last = lastLocalSecond_;
  hasLocal_ = true;
  lastUtcMs_ = now.UtcMs;

  if (first || elapsedMs < -kMaxStepBackMs || elapsedMs > kMaxCatchUpMs) {
    lastLocalSecond_ = current;
    return {current, current};
  }
  const std::int64_t driftMs = (current - last) * kMsPerSecond - elapsedMs;
  if (driftMs > kMaxLocalDriftMs || driftMs < -kMaxLocalDriftMs) {
    lastLocalSecond_ = current;
    return {current, current};
  }
  // The local clock stands still or went back: the end of daylight saving
  // time repeats an hour, the clock was set back a little, or two ticks fell
  // into one second. Those seconds were examined already; the check goes on
  // once the clock passes the last one.
  if (current <= last) return kNoSeconds;
  lastLocalSecond_ = current;
  return {last + 1, current};
}

TAlarmCheck::TSecondRange TAlarmCheck::NextUptimeRange(std::uint64_t uptimeMs) {
  const auto current = static_cast<std::int64_t>(uptimeMs / kMsPerSecond);
  const bool first = !hasUptime_;
  const std::int64_t last = lastUptimeSecond_;
  hasUptime_ = true;
  if (!first && current == last) return kNoSeconds;
  lastUptimeSecond_ = current;
  if (first || current < last || current - last > kMaxCatchUpSeconds) return {current, current};
  return {last + 1, current};
}

std::vector<std::wstring> TAlarmCheck::Tick(const TAlarmStore& store, const TClockReading& now,
                                            std::uint64_t uptimeMs, TAlarmReceiver& receiver) {
  // The seconds are marked examined before anything fires: WakeUp can run a
  // message loop that delivers the next tick, and that tick must not find
  // the same occurrences again.
  const TSecondRange local = NextLocalRange(now);
  const TSecondRange uptime = NextUptimeRange(uptimeMs);
  std::vector<TDue> due;
  CollectDue(store, kWallClockKinds, local, due);
  CollectDue(store, kUptimeKinds, uptime, due);

  std::vector<std::wstring> errors;
  for (const TDue& d : due) {
    // A nested message loop may have let the user change or delete records
    // meanwhile: fire only what that slot holds now and is still due.
    if (d.Index > LiveCount(store, d.Kind) ||
        !DueAt(d.Kind, DecodeRecord(store, d.Kind, d.Index - 1u), SplitSecond(d.Second))) {
      continue;
    }
    try {
      FireAlarm(store, d.Kind, d.Index, receiver);
    } catch (const std::exception& e) {
      errors.push_back(ErrorText(e));
    } catch (...) {
      errors.push_back(L"Unknown error");
    }
  }
  return errors;
}

int NextTickDelayMs(int millisecond) {
  const int ms = (millisecond % 1000 + 1000) % 1000;
  return 1000 - ms + kTickLagMs;
}
