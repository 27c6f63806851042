#include "engine/next_due.h"

#include <algorithm>

#include "engine/alarm_rule.h"
#include "platform/date_time.h"

namespace {

void KeepEarliest(std::optional<std::int64_t>& best, std::int64_t candidate) {
  if (candidate >= 0 && (!best || candidate < *best)) best = candidate;
}

}  // namespace

TDueMoment NextDueMoment(const TAlarmStore& store, std::int64_t afterLocal,
                         std::int64_t afterUptime, const TAlarmDays* days) {
  TDueMoment next;
  for (const TAlarmKind kind : {akDate, akDaily, akWeekly, akCountdown, akBootCountdown}) {
    const bool uptime = kind == akBootCountdown;
    const std::int64_t after = uptime ? afterUptime : afterLocal;
    std::optional<std::int64_t>& best = uptime ? next.UptimeSecond : next.LocalSecond;
    const std::uint16_t count = LiveCount(store, kind);
    for (std::uint16_t i = 0; i < count; ++i) {
      const std::int64_t second = FirstDueAfter(kind, DecodeRecord(store, kind, i, days), after);
      // Local seconds before day 0 are never due: FirstDueAfter uses -1 for
      // "none", and no alarm clock needs the year 1899.
      KeepEarliest(best, second);
    }
  }
  return next;
}

std::optional<TNextOccurrence> NextRepeatingOccurrence(const TAlarmStore& store,
                                                       std::int64_t afterLocal,
                                                       const TAlarmDays& days) {
  std::optional<TNextOccurrence> next;
  for (const TAlarmKind kind : {akDaily, akWeekly}) {
    const std::uint16_t count = LiveCount(store, kind);
    for (std::uint16_t i = 0; i < count; ++i) {
      const std::int64_t second = FirstDueAfter(kind, DecodeRecord(store, kind, i, &days), afterLocal);
      if (second >= 0 && (!next || second < next->LocalSecond)) {
        next = TNextOccurrence{kind, static_cast<std::uint16_t>(i + 1), second};
      }
    }
  }
  return next;
}

std::optional<std::int64_t> DueUtcMs(const TDueMoment& due, TClock& clock, const TClockReading& now,
                                     std::uint64_t uptimeMs) {
  std::optional<std::int64_t> utc;
  if (due.LocalSecond) utc = clock.LocalToUtcMs(*due.LocalSecond * kMsPerSecond);
  if (due.UptimeSecond) {
    const std::int64_t fromNow =
        *due.UptimeSecond * kMsPerSecond - static_cast<std::int64_t>(uptimeMs);
    const std::int64_t at = now.UtcMs + fromNow;
    if (!utc || at < *utc) utc = at;
  }
  return utc;
}

std::int64_t WakeTimerUtcMs(std::optional<std::int64_t> dueUtcMs, std::int64_t nowUtcMs) {
  const std::int64_t safety = nowUtcMs + kSafetyWakeMs;
  if (!dueUtcMs) return safety;
  if (*dueUtcMs <= nowUtcMs) return (FloorDiv(nowUtcMs, kMsPerSecond) + 1) * kMsPerSecond;
  return std::min(*dueUtcMs, safety);
}

std::optional<std::int64_t> EarlyWakeUtcMs(std::optional<std::int64_t> dueUtcMs,
                                           std::int64_t nowUtcMs) {
  if (!dueUtcMs || *dueUtcMs - kEarlyWakeMs <= nowUtcMs) return std::nullopt;
  return *dueUtcMs - kEarlyWakeMs;
}

bool AlarmNear(std::optional<std::int64_t> dueUtcMs, std::int64_t nowUtcMs) {
  return dueUtcMs && *dueUtcMs - nowUtcMs <= kEarlyWakeMs;
}
