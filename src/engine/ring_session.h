// The life of an alarm from due to done, with no window: the check that
// finds it due, the ring (answered, snoozed, or ending unanswered and
// snoozing itself), the snoozes, the alarms missed while the PC was off or
// asleep, what the program keeps of it in Tivorra.state, the wake timer
// aimed at the next moment and a minute before it, and the hold on the PC
// and its screen. Time, power, sound output, files and timers come from
// the platform's services; what to show it tells its view, what to play
// its player.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/alarm_check.h"
#include "engine/alarm_days.h"
#include "engine/awake_hold.h"
#include "engine/locked_screen.h"
#include "engine/missed_alarms.h"
#include "engine/next_due.h"
#include "engine/random_tune.h"
#include "engine/ring_sound.h"
#include "engine/skips.h"
#include "engine/snoozes.h"
#include "platform/random.h"
#include "store/alarm_file.h"
#include "store/days_off.h"
#include "store/program_state.h"
#include "store/signal_settings.h"

class TClock;
class TPower;
class TShell;
class TTicker;
class TTickers;
class TWakeTimer;
namespace fileio {
class TFileSystem;
}

// What the session shows: the wake-up window, the missed list, the next
// moment that rings and what went wrong.
class TRingView {
 public:
  virtual ~TRingView() = default;
  // The wake-up window shows the message in front; `fresh` when it was not
  // showing, so its snooze choice starts anew.
  virtual void ShowRing(const std::wstring& message, bool fresh) = 0;
  virtual void HideRing() = 0;
  // The workstation was unlocked while the wake-up window shows: it comes
  // to the front with the focus on its "OK".
  virtual void BringRingToFront() = 0;
  // The missed list changed; it is shown in front while it has entries.
  virtual void ShowMissed(const std::vector<TMissedAlarm>& missed) = 0;
  // The next moment that rings changed (TRingSession::NextRing).
  virtual void NextRingChanged() = 0;
  // An error to tell, in the error report.
  virtual void ReportError(const std::wstring& text) = 0;
  // A notice to tell (a message box).
  virtual void ShowNotice(const std::wstring& text) = 0;
};

// The services the session works with.
struct TRingServices {
  TClock& Clock;
  TWakeTimer& WakeTimer;
  TPower& Power;
  TAudioOutput& Audio;
  TShell& Shell;
  TTickers& Tickers;
  fileio::TFileSystem& Files;
  // Picks a section's tune at each ring; the program's own source unless
  // the owner gives another.
  TRandomSource& Random = SystemRandom();
};

class TRingSession {
 public:
  // The store and its file's state are the program's; the session reads
  // them and never changes them.
  TRingSession(const TAlarmStore& store, const TAlarmFileState& file, TRingServices services,
               TRingView& view, TRingPlayer& player);
  ~TRingSession();
  TRingSession(const TRingSession&) = delete;
  TRingSession& operator=(const TRingSession&) = delete;

  // At start, once alarm.rec is loaded: the state kept in `programDir`,
  // the snoozes in it, and what fell due while the program was not
  // running (rung when at most five minutes late, listed when older).
  void Start(const std::wstring& programDir);
  // Tivorra.ini's values: the snooze, the ring's length, the sound.
  void SetSignal(const TSignalSettings& signal);
  const TSignalSettings& Signal() const { return signal_; }
  // Tivorra.ini's days off and working days: the daily and weekday alarms
  // follow them from now on.
  void SetDaysOff(const TDaysOff& days);
  const TDaysOff& DaysOff() const { return daysOff_; }

  // The store changed (an alarm added, changed or deleted, a load): a
  // snooze follows its alarm or goes with it, and the timer is aimed anew.
  void StoreChanged();
  // The window's clock turned a second: the check runs now.
  void Tick();
  // The program ends: what the session knows is kept.
  void ProgramEnds();

  // The user's answers to a ring: "OK" or the close box, and "Отложить"
  // for the chosen minutes. Either ends the ring for every alarm in it.
  void Answer();
  void Snooze(int minutes);
  // Tray "Отменить отложенные".
  void CancelSnoozes();
  // The missed list was read ("OK"): it starts empty again.
  void MissedSeen();

  // The next occurrence of daily or weekday alarm `index` (1-based) does
  // not ring and is not missed. False, with nothing changed, for the other
  // kinds and for an alarm that will not ring again; an alarm skipped
  // already keeps its skip.
  bool SkipNext(TAlarmKind kind, std::uint16_t index);
  // The skip is taken back: the occurrence rings after all.
  void Unskip(TAlarmKind kind, std::uint16_t index);
  // The local second (since 30 December 1899) the alarm skips, if any.
  std::optional<std::int64_t> SkippedAt(TAlarmKind kind, std::uint16_t index) const;
  const TSkips& Skips() const { return skips_; }
  // The daily or weekday alarm that rings next (snoozes aside), which
  // "skip the nearest alarm" would skip, with its message.
  struct TNextAlarm {
    TAlarmKind Kind;
    std::uint16_t Index;  // 1-based
    std::int64_t LocalSecond;
    std::wstring Message;
  };
  std::optional<TNextAlarm> NextSkippable() const;
  // The player's notice of how a play of the music ended.
  void MusicEnded(TMusicEnd how);

  bool Ringing() const { return ringing_; }
  const TSnoozes& Snoozes() const { return snoozes_; }
  const std::vector<TMissedAlarm>& Missed() const { return missed_; }
  // The next moment that rings (a snooze or a due alarm) and its message.
  struct TNextRing {
    std::int64_t UtcMs = 0;
    std::wstring Message;
  };
  std::optional<TNextRing> NextRing() const { return next_; }
  // What keeps the PC awake.
  const TAwakeHold& Awake() const { return awake_; }
  // What a test looks at: the timer that ends an unanswered ring, and the
  // sound's own.
  const TTicker& RingTicker() const { return *ringEnd_; }
  const TRingSound& Sound() const { return sound_; }

  // One alarm in the ring: its record, how many of its rings in a row
  // nobody answered, and the local second it began to ring.
  struct TRing {
    TAlarmRef Alarm;
    int Unanswered = 0;
    std::int64_t LocalSecond = 0;
  };
  const std::vector<TRing>& Rings() const { return rings_; }

 private:
  class TReceiver;
  // The wake timer's events.
  void Due();
  void Resumed();
  // The unlock: what rang unheard is named, the ring comes to the front.
  void Unlocked();
  void Schedule();
  // The check over the current reading, then the snoozes due.
  void Check();
  void CatchUp(std::int64_t lastExamined);
  void FireDueSnoozes();
  // One alarm rings: the window first, then its music, its file and the
  // output. `again`: a snooze ringing, whose file was opened at its first
  // ring. Returns the text of an error to tell.
  std::optional<std::wstring> Ring(const TRing& ring, const std::wstring& message,
                                   const std::wstring& file, const std::wstring& music,
                                   bool again);
  // Ends the ring silently and hands over what rang.
  std::vector<TRing> StopRinging();
  void RingTimeUp();
  void AddMissed(const TAlarmRef& alarm, std::int64_t second, int count);
  void SaveState();
  // The store, the days off or the skips changed: the check goes on from
  // now under the new rules, and the timer is aimed anew.
  void RulesChanged();
  // The skips changed: the check follows them.
  void SkipsChanged();
  // The seconds the check has examined, or before its first tick the one
  // before the start.
  std::int64_t Examined() const;
  void ReadClock();
  std::int64_t CurrentSecond() const;
  void Tell(const std::vector<std::wstring>& errors);

  const TAlarmStore& store_;
  const TAlarmFileState& file_;
  TRingServices services_;
  TRingView& view_;
  TAlarmCheck check_;
  TRingSound sound_;
  TRandomTune tunes_;
  TAwakeHold awake_;
  std::unique_ptr<TTicker> ringEnd_;
  std::unique_ptr<TReceiver> receiver_;

  TSignalSettings signal_;
  TDaysOff daysOff_;
  std::wstring programDir_;
  bool started_ = false;
  TSnoozes snoozes_;
  TSkips skips_;
  // The days off and skips, as the check reads them.
  TAlarmDays days_;
  std::vector<TMissedAlarm> missed_;
  std::vector<TRing> rings_;
  bool ringing_ = false;
  TLockedScreen screen_;
  std::optional<TNextRing> next_;
  // An alarm rang since the state was last kept.
  bool rang_ = false;
  // Until the check's first tick, the second before the start stands for
  // what it has examined.
  std::int64_t startExamined_ = 0;
  bool stateSaveReported_ = false;
  TClockReading reading_{};
  std::uint64_t uptime_ = 0;
};
