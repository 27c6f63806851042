#include "engine/alarm_check.h"

#include <algorithm>
#include <cstddef>
#include <exception>

#include "engine/alarm_rule.h"
#include "platform/date_time.h"
#include "platform/errors.h"

void FireAlarm(const TAlarmStore& store, TAlarmKind kind, std::uint16_t index,
               TAlarmReceiver& receiver) {
  if (kind > akBootCountdown || index < 1 || index > kAlarmCapacity) return;
  const TAlarmActions actions = AlarmActions(store, kind, index);
  receiver.WakeUpAlarm(kind, index, FromShortString(*actions.Msg), FromShortString(*actions.Exe),
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
// How far into a second the tick aims to land, clear of timer jitter, and
// how much later it may land before it is aimed again: a tick that lands
// in that window keeps the running one-second period, so the timer is not
// set anew every second.
constexpr int kTickLagMs = 20;
constexpr int kTickSlackMs = 40;

constexpr TAlarmCheck::TSecondRange kNoSeconds{1, 0};

// After a gap that is not caught up, the examined range starts at the
// current second, or at the planned second when that one fell in the gap
// and is recent enough to ring.
TAlarmCheck::TSecondRange FreshRange(std::int64_t last, std::int64_t current,
                                     std::optional<std::int64_t> planned, std::int64_t limit) {
  if (planned && *planned > last && *planned <= current && current - *planned <= limit) {
    return {*planned, current};
  }
  return {current, current};
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
void CollectDue(const TAlarmStore& store, const TAlarmDays* days, const TAlarmKind (&kinds)[N],
                TAlarmCheck::TSecondRange range, std::vector<TDue>& due) {
  if (range.First > range.Last) return;
  const std::size_t from = due.size();
  const std::int64_t firstOfDay = FloorMod(range.First, kSecondsPerDay);
  for (const TAlarmKind kind : kinds) {
    const std::uint16_t count = LiveCount(store, kind);
    for (std::uint16_t i = 0; i < count; ++i) {
      const TAlarmRule r = DecodeRecord(store, kind, i, days);
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

  if (first || elapsedMs < -kMaxStepBackMs) {
    lastLocalSecond_ = current;
    return {current, current};
  }
  const std::int64_t driftMs = (current - last) * kMsPerSecond - elapsedMs;
  if (driftMs > kMaxLocalDriftMs || driftMs < -kMaxLocalDriftMs) {
    lastLocalSecond_ = current;
    return FreshRange(last, current, planned_.LocalSecond, kMaxCatchUpSeconds);
  }
  // The local clock stands still or went back: the end of daylight saving
  // time repeats an hour, the clock was set back a little, or two ticks fell
  // into one second. Those seconds were examined already, however long ago
  // (the wake timer may sleep through the whole repeated hour); the check
  // goes on once the clock passes the last one.
  if (current <= last) return kNoSeconds;
  lastLocalSecond_ = current;
  if (elapsedMs > kMaxCatchUpMs) {
    // The planned moment is judged late by real time: one the clock jumped
    // over (daylight saving time began in the hour the timer slept) is
    // on time, however far behind the new reading it lies.
    const std::int64_t jumped = driftMs > 0 ? driftMs / kMsPerSecond : 0;
    return FreshRange(last, current, planned_.LocalSecond, kMaxCatchUpSeconds + jumped);
  }
  return {last + 1, current};
}

TAlarmCheck::TSecondRange TAlarmCheck::NextUptimeRange(std::uint64_t uptimeMs) {
  const auto current = static_cast<std::int64_t>(uptimeMs / kMsPerSecond);
  const bool first = !hasUptime_;
  const std::int64_t last = lastUptimeSecond_;
  hasUptime_ = true;
  if (!first && current == last) return kNoSeconds;
  lastUptimeSecond_ = current;
  if (first || current < last) return {current, current};
  if (current - last > kMaxCatchUpSeconds) {
    return FreshRange(last, current, planned_.UptimeSecond, kMaxCatchUpSeconds);
  }
  return {last + 1, current};
}

std::vector<std::uint16_t> TAlarmCheck::MissedNewCountdowns(const TAlarmStore& store) const {
  std::vector<std::uint16_t> missed;
  if (!hasLocal_) return missed;
  std::vector<std::int64_t> known = knownCountdowns_;
  const std::uint16_t count = LiveCount(store, akCountdown);
  for (std::uint16_t i = 0; i < count; ++i) {
    const auto ms = RoundedMs(store.CountdownAlarms[i].AlarmTime);
    if (!ms) continue;
    const auto seen = std::find(known.begin(), known.end(), *ms);
    if (seen != known.end()) {
      known.erase(seen);
      continue;
    }
    const std::int64_t target = FloorDiv(*ms, kMsPerSecond);
    if (target <= lastLocalSecond_ && lastLocalSecond_ - target < kMaxCatchUpSeconds) {
      missed.push_back(i);
    }
  }
  return missed;
}

void TAlarmCheck::RememberCountdowns(const TAlarmStore& store) {
  knownCountdowns_.clear();
  const std::uint16_t count = LiveCount(store, akCountdown);
  for (std::uint16_t i = 0; i < count; ++i) {
    if (const auto ms = RoundedMs(store.CountdownAlarms[i].AlarmTime)) {
      knownCountdowns_.push_back(*ms);
    }
  }
}

std::vector<std::wstring> TAlarmCheck::Tick(const TAlarmStore& store, const TClockReading& now,
                                            std::uint64_t uptimeMs, TAlarmReceiver& receiver) {
  // A countdown that appeared since the last tick with its target second
  // already examined rings now, first, as the earliest due.
  std::vector<TDue> due;
  for (const std::uint16_t i : MissedNewCountdowns(store)) {
    due.push_back({akCountdown, static_cast<std::uint16_t>(i + 1),
                   DecodeRecord(store, akCountdown, i).TargetSecond});
  }
  RememberCountdowns(store);
  // The seconds are marked examined before anything fires: WakeUp can run a
  // message loop that delivers the next tick, and that tick must not find
  // the same occurrences again.
  const TSecondRange local = NextLocalRange(now);
  const TSecondRange uptime = NextUptimeRange(uptimeMs);
  CollectDue(store, days_, kWallClockKinds, local, due);
  CollectDue(store, days_, kUptimeKinds, uptime, due);

  std::vector<std::wstring> errors;
  for (const TDue& d : due) {
    // A nested message loop may have let the user change or delete records
    // meanwhile: fire only what that slot holds now and is still due.
    if (d.Index > LiveCount(store, d.Kind) ||
        !DueAt(d.Kind, DecodeRecord(store, d.Kind, d.Index - 1u, days_), SplitSecond(d.Second))) {
      continue;
    }
    try {
      FireAlarm(store, d.Kind, d.Index, receiver);
    } catch (...) {
      errors.push_back(CurrentErrorText());
    }
  }
  return errors;
}

void TAlarmCheck::MarkExamined(const TClockReading& now, std::uint64_t uptimeMs) {
  NextLocalRange(now);
  NextUptimeRange(uptimeMs);
}

TAlarmCheck::TCatchUp TAlarmCheck::CatchUp(const TAlarmStore& store, const TClockReading& now,
                                           std::int64_t lastExamined, TClock& clock) {
  TCatchUp result;
  const auto ms = RoundedMs(now.Local);
  if (!ms) return result;
  const std::int64_t current = FloorDiv(*ms, kMsPerSecond);
  const std::int64_t from = std::max(lastExamined, current - kMaxCatchUpDays * kSecondsPerDay);
  std::vector<TDue> due;
  CollectDue(store, days_, kWallClockKinds, {from + 1, current}, due);
  for (const TDue& d : due) {
    // Late by real time: the local clock may have jumped (daylight saving
    // time) between the moment and now.
    const std::int64_t lateMs = now.UtcMs - clock.LocalToUtcMs(d.Second * kMsPerSecond);
    if (lateMs <= kLateLimitMs) {
      bool known = false;
      for (const TLate& l : result.Late) known = known || (l.Kind == d.Kind && l.Index == d.Index);
      if (!known) result.Late.push_back({d.Kind, d.Index});
      continue;
    }
    auto it = std::find_if(result.Missed.begin(), result.Missed.end(), [&](const TMissed& m) {
      return m.Kind == d.Kind && m.Index == d.Index;
    });
    if (it == result.Missed.end()) {
      result.Missed.push_back({d.Kind, d.Index, d.Second, 1});
    } else {
      it->LatestSecond = std::max(it->LatestSecond, d.Second);
      ++it->Count;
    }
  }
  // Everything up to the current second is handled.
  if (!hasLocal_ || current > lastLocalSecond_) {
    hasLocal_ = true;
    lastLocalSecond_ = current;
  }
  // The clock was set back a little since then (or the hour repeats): the
  // seconds examined before stay examined, across a restart too.
  if (lastExamined > lastLocalSecond_ &&
      (lastExamined - current) * kMsPerSecond <= kMaxStepBackMs) {
    lastLocalSecond_ = lastExamined;
  }
  lastUtcMs_ = now.UtcMs;
  RememberCountdowns(store);
  return result;
}

TDueMoment TAlarmCheck::PlanNext(const TAlarmStore& store, const TClockReading& now,
                                 std::uint64_t uptimeMs) {
  std::int64_t afterLocal = lastLocalSecond_;
  if (!hasLocal_) {
    const auto ms = RoundedMs(now.Local);
    afterLocal = ms ? FloorDiv(*ms, kMsPerSecond) - 1 : lastLocalSecond_;
  }
  const std::int64_t afterUptime =
      hasUptime_ ? lastUptimeSecond_ : static_cast<std::int64_t>(uptimeMs / kMsPerSecond) - 1;
  planned_ = NextDueMoment(store, afterLocal, afterUptime, days_);
  // A countdown the check has missed rings at its next tick.
  if (!MissedNewCountdowns(store).empty()) planned_.LocalSecond = afterLocal + 1;
  return planned_;
}

int NextTickDelayMs(int millisecond) {
  const int ms = (millisecond % 1000 + 1000) % 1000;
  if (ms >= kTickLagMs && ms < kTickLagMs + kTickSlackMs) return 1000;
  return 1000 - ms + kTickLagMs;
}
