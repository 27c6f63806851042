// When the next alarm is due: the scheduler sleeps until then instead of
// asking every second.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/alarm_days.h"
#include "platform/clock.h"
#include "store/alarm_store.h"

struct TDueMoment {
  // Local wall-clock seconds since 30 December 1899 (date, daily, weekly
  // and countdown alarms).
  std::optional<std::int64_t> LocalSecond;
  // Seconds since Windows started (boot countdowns).
  std::optional<std::int64_t> UptimeSecond;
};

// The first local second after `afterLocal`, and the first uptime second
// after `afterUptime`, at which any live record is due. Empty halves when
// nothing is. Daily and weekly records follow `days` when given.
TDueMoment NextDueMoment(const TAlarmStore& store, std::int64_t afterLocal,
                         std::int64_t afterUptime, const TAlarmDays* days = nullptr);

// The first occurrence after `afterLocal` of any daily or weekly record
// that rings (days off and skips followed): the one a skip of "the next
// alarm" would skip.
struct TNextOccurrence {
  TAlarmKind Kind;
  std::uint16_t Index;  // 1-based
  std::int64_t LocalSecond;
};
std::optional<TNextOccurrence> NextRepeatingOccurrence(const TAlarmStore& store,
                                                       std::int64_t afterLocal,
                                                       const TAlarmDays& days);

// The universal time (ms since 1970) at which the moment comes: a local
// second through the clock's time zone rules for that date, an uptime
// second counted from the reading. Empty when the moment is.
std::optional<std::int64_t> DueUtcMs(const TDueMoment& due, TClock& clock, const TClockReading& now,
                                     std::uint64_t uptimeMs);

// How often the wake timer comes back when no alarm is nearer, so that a
// missed clock or time zone notice costs at most this long.
inline constexpr std::int64_t kSafetyWakeMs = 3600 * 1000;

// When to set the wake timer: the due time, but no later than the safety
// wake. A due time that has already come (the clock's rules disagree with
// what it reads) waits for the next whole second, so a disagreement costs
// one wake a second, never a busy loop.
std::int64_t WakeTimerUtcMs(std::optional<std::int64_t> dueUtcMs, std::int64_t nowUtcMs);

// How long before an alarm the PC is woken from sleep and kept awake: long
// enough for a resume, the sound device and the screen to come back.
inline constexpr std::int64_t kEarlyWakeMs = 60 * 1000;

// When to set the timer that may wake the PC: a minute before the due
// time. Empty when nothing is due, or when that minute has begun already
// (the PC is awake now and is kept so).
std::optional<std::int64_t> EarlyWakeUtcMs(std::optional<std::int64_t> dueUtcMs,
                                           std::int64_t nowUtcMs);

// Whether the due time is within that minute, or has come.
bool AlarmNear(std::optional<std::int64_t> dueUtcMs, std::int64_t nowUtcMs);
