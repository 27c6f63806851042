// The once-a-second alarm check: decides which stored alarms are due and
// hands each one's texts to the wake-up window. It reads the tables and
// never changes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/next_due.h"
#include "platform/clock.h"
#include "store/alarm_store.h"

// Whoever performs an alarm's actions; the wake-up window in the program.
class TAlarmReceiver {
 public:
  virtual ~TAlarmReceiver() = default;
  virtual void WakeUp(const std::wstring& message, const std::wstring& file,
                      const std::wstring& music) = 0;
  // The same, told which record rings; the program's receiver keeps it to
  // snooze that alarm.
  virtual void WakeUpAlarm(TAlarmKind kind, std::uint16_t index, const std::wstring& message,
                           const std::wstring& file, const std::wstring& music) {
    (void)kind;
    (void)index;
    WakeUp(message, file, music);
  }
};

// Hands the texts of record `index` (1-based) of a kind's table to the
// receiver. A kind outside the five, or an index outside 1..100, does
// nothing. Errors of WakeUp pass through.
void FireAlarm(const TAlarmStore& store, TAlarmKind kind, std::uint16_t index,
               TAlarmReceiver& receiver);

// Ticks can come late, bunched or re-entrantly, and the local clock can
// jump, so the check remembers the last whole second it examined and
// examines every second since then exactly once. A gap of real time of more
// than five minutes (the PC slept, the clock was set) is not caught up:
// only the current second is examined, so old alarms do not ring late;
// except the moment the check planned to be woken at (PlanNext), which a
// late wake-up (the PC resuming for it) still rings within that limit. A
// clock set back by up to two hours examines nothing until it passes the
// last examined second again; only a bigger step back starts afresh.
// A countdown stored with a target second the check has already examined
// (a duration of 0:00:00, stored within the second just checked) rings at
// the next tick instead of a day later.
class TAlarmCheck {
 public:
  // The days off, working days and skips the daily and weekly records
  // follow; the owner keeps them. None: every day is as its weekday.
  void SetDays(const TAlarmDays* days) { days_ = days; }

  // Fires every alarm that fell due since the last tick, in order of its
  // second, then kind (date, daily, weekly, countdown), then record; boot
  // countdowns last. Returns the texts of the errors firing raised, in
  // order; an error never keeps the other alarms from firing.
  std::vector<std::wstring> Tick(const TAlarmStore& store, const TClockReading& now,
                                 std::uint64_t uptimeMs, TAlarmReceiver& receiver);

  // The seconds up to the current one count as examined, without firing:
  // the store changed, and an alarm set for a moment already gone waits
  // for its next one (a countdown that is due now still rings, see above).
  void MarkExamined(const TClockReading& now, std::uint64_t uptimeMs);

  // The next moment any record is due after the seconds examined so far
  // (before the first tick: from the current second on). The check keeps
  // it as the moment it expects to be woken at.
  TDueMoment PlanNext(const TAlarmStore& store, const TClockReading& now, std::uint64_t uptimeMs);

  // What happened between `lastExamined` (a second examined in an earlier
  // run, or before the PC slept) and now, for the wall-clock kinds: each
  // alarm due at most kLateLimitMs of real time ago is late and rings now,
  // once; every older moment is missed. Boot countdowns are never missed:
  // they count from the start of Windows. Afterwards the check goes on from
  // the current second, so nothing is found twice.
  struct TLate {
    TAlarmKind Kind;
    std::uint16_t Index;
  };
  struct TMissed {
    TAlarmKind Kind;
    std::uint16_t Index;
    std::int64_t LatestSecond;  // local, of the latest missed moment
    int Count;
  };
  struct TCatchUp {
    std::vector<TLate> Late;
    std::vector<TMissed> Missed;
  };
  static constexpr std::int64_t kLateLimitMs = 5 * 60 * 1000;
  // A longer gap is looked at over its last year only.
  static constexpr std::int64_t kMaxCatchUpDays = 366;
  TCatchUp CatchUp(const TAlarmStore& store, const TClockReading& now, std::int64_t lastExamined,
                   TClock& clock);
  // The last local second examined; none before the first tick.
  std::optional<std::int64_t> LastExamined() const {
    return hasLocal_ ? std::optional<std::int64_t>(lastLocalSecond_) : std::nullopt;
  }

  // Whole seconds, inclusive; empty when First > Last.
  struct TSecondRange {
    std::int64_t First;
    std::int64_t Last;
  };

 private:
  TSecondRange NextLocalRange(const TClockReading& now);
  TSecondRange NextUptimeRange(std::uint64_t uptimeMs);
  // Countdowns not seen at the last tick whose target second was examined
  // before they existed (0-based records).
  std::vector<std::uint16_t> MissedNewCountdowns(const TAlarmStore& store) const;
  void RememberCountdowns(const TAlarmStore& store);

  const TAlarmDays* days_ = nullptr;
  bool hasLocal_ = false;
  std::int64_t lastLocalSecond_ = 0;  // local wall-clock seconds since 30 Dec 1899
  std::int64_t lastUtcMs_ = 0;        // of the last tick
  bool hasUptime_ = false;
  std::int64_t lastUptimeSecond_ = 0;
  TDueMoment planned_;
  // The stored moments of the countdowns live at the last tick.
  std::vector<std::int64_t> knownCountdowns_;
};

// The delay after which the next tick lands just after the next wall-clock
// second begins, given the current millisecond (taken modulo 1000). Ticks
// then sample each second once, early in it (20 to 60 ms in), and stay
// 1000 ms apart: a tick already early in its second keeps the period.
int NextTickDelayMs(int millisecond);
