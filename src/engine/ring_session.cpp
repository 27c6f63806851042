#include "engine/ring_session.h"

#include <algorithm>

#include "engine/alarm_rule.h"
#include "platform/callback_boundary.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/shell.h"
#include "platform/tickers.h"
#include "platform/wake_timer.h"

namespace {

// Whole local seconds since 30 December 1899 of a clock reading.
std::int64_t LocalSecondOf(const TClockReading& reading) {
  const auto ms = RoundedMs(reading.Local);
  return ms ? FloorDiv(*ms, kMsPerSecond) : 0;
}

}  // namespace

// Hands the check's due alarms to the ring, telling it which record rings.
class TRingSession::TReceiver : public TAlarmReceiver {
 public:
  explicit TReceiver(TRingSession& session) : session_(session) {}
  void WakeUp(const std::wstring& message, const std::wstring& file,
              const std::wstring& music) override {
    Perform({}, message, file, music);
  }
  void WakeUpAlarm(TAlarmKind kind, std::uint16_t index, const std::wstring& message,
                   const std::wstring& file, const std::wstring& music) override {
    Perform({RefOf(session_.store_, kind, index), 0, session_.CurrentSecond()}, message, file,
            music);
  }

 private:
  void Perform(const TRing& ring, const std::wstring& message, const std::wstring& file,
               const std::wstring& music) {
    session_.rang_ = true;
    // The check gathers the errors of every alarm it fires and tells them
    // once all have rung.
    if (const auto error = session_.Ring(ring, message, file, music, false)) throw EAppError(*error);
  }
  TRingSession& session_;
};

TRingSession::TRingSession(const TAlarmStore& store, const TAlarmFileState& file,
                           TRingServices services, TRingView& view, TRingPlayer& player)
    : store_(store),
      file_(file),
      services_(services),
      view_(view),
      sound_(player, services.Clock, services.Audio, services.Tickers),
      tunes_(services.Files, services.Random),
      awake_(services.Power),
      ringEnd_(services.Tickers.Make()),
      receiver_(std::make_unique<TReceiver>(*this)) {
  check_.SetDays(&days_);
  ringEnd_->OnTick = [this] { RingTimeUp(); };
  sound_.OnError = [this](const std::wstring& text) { view_.ReportError(text); };
  TWakeTimer& timer = services_.WakeTimer;
  timer.OnDue = [this] { Due(); };
  timer.OnResume = [this] { Resumed(); };
  // The clock was set: what its new reading makes due is looked at now,
  // before the timer is aimed from it.
  timer.OnClockChanged = [this] {
    Due();
    // What the new reading made examined is kept, so that a restart does
    // not take the moments the clock was set over for missed.
    SaveState();
  };
  // A minute before an alarm: the PC is up (perhaps just woken) and is
  // kept so until it rings.
  timer.OnWake = [this] { Schedule(); };
  timer.OnSuspend = [this] { SaveState(); };
  timer.OnSessionEnd = [this] { SaveState(); };
  timer.OnLock = [this] { screen_.Lock(); };
  timer.OnUnlock = [this] { Unlocked(); };
}

TRingSession::~TRingSession() {
  TWakeTimer& timer = services_.WakeTimer;
  timer.OnDue = nullptr;
  timer.OnResume = nullptr;
  timer.OnClockChanged = nullptr;
  timer.OnWake = nullptr;
  timer.OnSuspend = nullptr;
  timer.OnSessionEnd = nullptr;
  timer.OnLock = nullptr;
  timer.OnUnlock = nullptr;
}

void TRingSession::Start(const std::wstring& programDir) {
  if (started_) return;
  started_ = true;
  programDir_ = programDir;
  const TStateLoad load = LoadProgramState(programDir_, services_.Files);
  if (load.Damaged) {
    std::wstring text = std::wstring(L"Файл ") + kStateFileName +
                        L" не удалось прочитать: отложенные будильники и время последней "
                        L"проверки потеряны.";
    if (!load.KeptAs.empty()) text += L" Его содержимое сохранено в файле " + load.KeptAs;
    view_.ShowNotice(text);
  }
  snoozes_ = load.State.Snoozes;
  skips_ = load.State.Skips;
  if (!file_.Unread) FollowStore(skips_, store_);
  days_.SetSkips(skips_);
  ReadClock();
  startExamined_ = CurrentSecond() - 1;
  // The first start in this folder, or after the state was lost: nothing
  // can be known to have been missed.
  if (load.State.LastExamined) CatchUp(*load.State.LastExamined);
  SaveState();
}

void TRingSession::SetSignal(const TSignalSettings& signal) {
  signal_ = signal;
  sound_.SetSignal(signal);
}

void TRingSession::SetDaysOff(const TDaysOff& days) {
  daysOff_ = days;
  days_.SetDaysOff(days);
  RulesChanged();
}

void TRingSession::StoreChanged() {
  // A snooze or a skip follows its alarm; a changed or deleted alarm
  // loses it.
  if (!file_.Unread) {
    FollowStore(snoozes_, store_);
    if (FollowStore(skips_, store_)) days_.SetSkips(skips_);
  }
  RulesChanged();
}

void TRingSession::RulesChanged() {
  // The alarms as they are now start now: a moment they make due that has
  // gone by (a day that is no longer off, a skip taken back) is not due,
  // here or after a restart.
  ReadClock();
  check_.MarkExamined(reading_, uptime_);
  // Kept at once: a catch-up after the program is cut off must not take
  // such moments, or new alarms, for missed.
  SaveState();
  Schedule();
}

void TRingSession::Tick() {
  ReadClock();
  Check();
}

void TRingSession::Due() {
  ReadClock();
  Check();
  Schedule();
}

void TRingSession::Resumed() {
  sound_.Resumed();
  ReadClock();
  if (started_) CatchUp(check_.LastExamined().value_or(startExamined_));
  if (rang_ || !missed_.empty()) SaveState();
  Due();
}

void TRingSession::ProgramEnds() { SaveState(); }

void TRingSession::Check() {
  // Every due alarm rings before any error is told: the error report is a
  // message box whose loop goes on ticking.
  Tell(check_.Tick(store_, reading_, uptime_, *receiver_));
  FireDueSnoozes();
  // A skipped moment that has passed is over; the skip with it.
  const bool skipsPassed = DropPassed(skips_, Examined());
  if (skipsPassed) days_.SetSkips(skips_);
  // What rang is examined for good, even if the program ends unseen.
  if (rang_ || skipsPassed) SaveState();
  // The next ring stays as planned (it was aimed past the skip), but what
  // shows the plans shows the skip no more.
  if (skipsPassed) view_.NextRingChanged();
}

void TRingSession::CatchUp(std::int64_t lastExamined) {
  const TAlarmCheck::TCatchUp result =
      check_.CatchUp(store_, reading_, lastExamined, services_.Clock);
  if (DropPassed(skips_, Examined())) days_.SetSkips(skips_);
  for (const TAlarmCheck::TMissed& m : result.Missed) {
    AddMissed(RefOf(store_, m.Kind, m.Index), m.LatestSecond, m.Count);
  }
  std::vector<std::wstring> errors;
  for (const TAlarmCheck::TLate& l : result.Late) {
    try {
      FireAlarm(store_, l.Kind, l.Index, *receiver_);
    } catch (...) {
      errors.push_back(CurrentErrorText());
    }
  }
  Tell(errors);
}

void TRingSession::FireDueSnoozes() {
  // Snoozes of an alarm.rec that could not be read wait for it.
  if (file_.Unread || snoozes_.empty()) return;
  const TSnoozes due = TakeDueSnoozes(snoozes_, reading_.UtcMs);
  if (due.empty()) return;
  rang_ = true;  // the snoozes are gone from the state, rung or not
  std::vector<std::wstring> errors;
  for (const TSnooze& z : due) {
    const std::uint16_t index = FindAlarm(store_, z.Alarm);
    if (index == 0) continue;
    // Due while the PC was off or asleep: like any alarm, one that is
    // more than five minutes late is told, not rung.
    const std::int64_t lateMs = reading_.UtcMs - z.DueUtcMs;
    if (lateMs > TAlarmCheck::kLateLimitMs) {
      // Its run ends here; one named at an unlock is not named again.
      const TAlarmRef alarm = RefOf(store_, z.Alarm.Kind, index);
      if (screen_.MissedForGood(alarm)) {
        AddMissed(alarm, CurrentSecond() - lateMs / kMsPerSecond, 1);
      }
      continue;
    }
    const TAlarmActions a = AlarmActions(store_, z.Alarm.Kind, index);
    const TRing ring{RefOf(store_, z.Alarm.Kind, index), z.Unanswered, CurrentSecond()};
    if (const auto error =
            Ring(ring, FromShortString(*a.Msg), L"", FromShortString(*a.Mus), true)) {
      errors.push_back(*error);
    }
  }
  Tell(errors);
}

std::optional<std::wstring> TRingSession::Ring(const TRing& ring, const std::wstring& message,
                                               const std::wstring& file,
                                               const std::wstring& music, bool again) {
  const bool fresh = !ringing_;
  // A ring that was answered is over: what rang then is forgotten.
  if (fresh) rings_.clear();
  std::erase_if(rings_, [&](const TRing& r) { return r.Alarm == ring.Alarm; });
  rings_.push_back(ring);
  if (ring.Unanswered == 0) screen_.RunStarts(ring.Alarm);
  ringing_ = true;
  awake_.SetRinging(true);
  sound_.Begin(fresh);
  // Each alarm that rings gives the user the whole time to answer.
  ringEnd_->Stop();
  if (signal_.RingMinutes > 0) ringEnd_->Start(std::int64_t{signal_.RingMinutes} * 60 * 1000);
  // The window first: it is what the user waits for, and opening the
  // music or the file may take a while.
  view_.ShowRing(message, fresh);
  // A section's music picks its tune anew at every ring, snoozes included.
  std::optional<std::wstring> error = sound_.PlayMusic(tunes_.Pick(music), again);
  // A snoozed alarm's file was opened at its first ring.
  if (!again && !file.empty()) services_.Shell.Open(file);
  sound_.RaiseOutput();
  return error;
}

std::vector<TRingSession::TRing> TRingSession::StopRinging() {
  std::vector<TRing> rang = std::move(rings_);
  rings_.clear();
  ringing_ = false;
  ringEnd_->Stop();
  awake_.SetRinging(false);
  // The window goes even when the music will not stop: the user must
  // always be able to dismiss an alarm. Such an error is told once it has
  // gone.
  const std::optional<std::wstring> error = sound_.End();
  view_.HideRing();
  if (error) view_.ReportError(*error);
  return rang;
}

void TRingSession::Answer() {
  if (!ringing_) return;
  for (const TRing& r : StopRinging()) screen_.Heard(r.Alarm);
}

void TRingSession::Snooze(int minutes) {
  if (!ringing_) return;
  const std::vector<TRing> rang = StopRinging();
  const std::int64_t now = services_.Clock.Now().UtcMs;
  for (const TRing& r : rang) {
    screen_.Heard(r.Alarm);
    // An alarm deleted or changed while it rang has nothing left to snooze.
    if (!file_.Unread && FindAlarm(store_, r.Alarm) == 0) continue;
    AddSnooze(snoozes_, {r.Alarm, now + std::int64_t{minutes} * 60 * kMsPerSecond, 0});
  }
  SaveState();
  Schedule();
}

void TRingSession::RingTimeUp() {
  ringEnd_->Stop();
  if (!ringing_) return;
  const std::vector<TRing> rang = StopRinging();
  const std::int64_t now = services_.Clock.Now().UtcMs;
  for (const TRing& r : rang) {
    if (!file_.Unread && FindAlarm(store_, r.Alarm) == 0) continue;
    if (r.Unanswered >= kMaxUnanswered) {
      // The third ring in a row nobody heard: it stops for good.
      if (screen_.MissedForGood(r.Alarm)) AddMissed(r.Alarm, r.LocalSecond, 1);
    } else {
      AddSnooze(snoozes_, {r.Alarm, now + std::int64_t{signal_.SnoozeMinutes} * 60 * kMsPerSecond,
                           r.Unanswered + 1});
      screen_.EndedUnanswered(r.Alarm, r.LocalSecond);
    }
  }
  SaveState();
  Schedule();
}

void TRingSession::CancelSnoozes() {
  snoozes_.clear();
  SaveState();
  Schedule();
}

void TRingSession::MissedSeen() { missed_.clear(); }

void TRingSession::Unlocked() {
  const std::vector<TUnheardRing> unheard = screen_.Unlock([this](const TAlarmRef& alarm) {
    return ringing_ && std::any_of(rings_.begin(), rings_.end(),
                                   [&](const TRing& r) { return r.Alarm == alarm; });
  });
  for (const TUnheardRing& u : unheard) {
    // An alarm changed or deleted meanwhile has nothing left to name.
    if (!file_.Unread && FindAlarm(store_, u.Alarm) == 0) continue;
    AddMissed(u.Alarm, u.LocalSecond, 1);
  }
  // After the missed list, so that the ring lies on top of it.
  if (ringing_) view_.BringRingToFront();
}

bool TRingSession::SkipNext(TAlarmKind kind, std::uint16_t index) {
  if ((kind != akDaily && kind != akWeekly) || index < 1 || index > LiveCount(store_, kind)) {
    return false;
  }
  if (FindSkip(skips_, kind, index)) return true;
  // The next occurrence from now on: the check may not have looked at the
  // clock for a while (it sleeps until the next due moment).
  ReadClock();
  const std::int64_t second = FirstDueAfter(kind, DecodeRecord(store_, kind, index - 1u, &days_),
                                            std::max(Examined(), CurrentSecond()));
  if (second < 0) return false;
  skips_.push_back({RefOf(store_, kind, index), second});
  SkipsChanged();
  return true;
}

void TRingSession::Unskip(TAlarmKind kind, std::uint16_t index) {
  if (std::erase_if(skips_, [&](const TSkip& k) {
        return k.Alarm.Kind == kind && k.Alarm.Index == index;
      }) != 0) {
    SkipsChanged();
  }
}

std::optional<std::int64_t> TRingSession::SkippedAt(TAlarmKind kind, std::uint16_t index) const {
  if (const TSkip* k = FindSkip(skips_, kind, index)) return k->LocalSecond;
  return std::nullopt;
}

std::optional<TRingSession::TNextAlarm> TRingSession::NextSkippable() const {
  const std::int64_t current = LocalSecondOf(services_.Clock.Now());
  const auto next = NextRepeatingOccurrence(store_, std::max(Examined(), current), days_);
  if (!next) return std::nullopt;
  return TNextAlarm{next->Kind, next->Index, next->LocalSecond,
                    FromShortString(*AlarmActions(store_, next->Kind, next->Index).Msg)};
}

void TRingSession::SkipsChanged() {
  days_.SetSkips(skips_);
  RulesChanged();
}

std::int64_t TRingSession::Examined() const {
  return check_.LastExamined().value_or(startExamined_);
}

void TRingSession::MusicEnded(TMusicEnd how) {
  if (const auto error = sound_.MusicEnded(how)) view_.ReportError(*error);
}

void TRingSession::AddMissed(const TAlarmRef& alarm, std::int64_t second, int count) {
  std::wstring message;
  if (const std::uint16_t index = FindAlarm(store_, alarm)) {
    message = FromShortString(*AlarmActions(store_, alarm.Kind, index).Msg);
  }
  ::AddMissed(missed_, {alarm, second, count, message});
  view_.ShowMissed(missed_);
}

void TRingSession::SaveState() {
  rang_ = false;
  if (!started_) return;
  TProgramState s;
  s.LastExamined = Examined();
  s.Snoozes = snoozes_;
  s.Skips = skips_;
  const int error = SaveProgramState(s, programDir_, services_.Files);
  // Told once a run: a full disk would otherwise speak at every ring.
  if (error && !stateSaveReported_) {
    stateSaveReported_ = true;
    view_.ReportError(L"Не удалось сохранить файл " + programDir_ + kStateFileName + L": " +
                      InOutErrorText(error));
  }
}

void TRingSession::ReadClock() {
  reading_ = services_.Clock.Now();
  uptime_ = services_.Clock.UptimeMs();
}

std::int64_t TRingSession::CurrentSecond() const { return LocalSecondOf(reading_); }

void TRingSession::Tell(const std::vector<std::wstring>& errors) {
  for (const std::wstring& e : errors) view_.ReportError(e);
}

namespace {

// The message of the first record of the given clock that is due at `second`.
std::wstring MessageDueAt(const TAlarmStore& store, const TAlarmDays& days, bool uptime,
                         std::int64_t second) {
  for (const TAlarmKind kind : {akDate, akDaily, akWeekly, akCountdown, akBootCountdown}) {
    if ((kind == akBootCountdown) != uptime) continue;
    const std::uint16_t count = LiveCount(store, kind);
    for (std::uint16_t i = 0; i < count; ++i) {
      if (FirstDueAfter(kind, DecodeRecord(store, kind, i, &days), second - 1) == second) {
        return FromShortString(*AlarmActions(store, kind, i + 1u).Msg);
      }
    }
  }
  return {};
}

}  // namespace

void TRingSession::Schedule() {
  // The check plans from the seconds it has examined, so the timer is set
  // for exactly the moment its next tick will find something due.
  TClock& clock = services_.Clock;
  const TClockReading now = clock.Now();
  const std::uint64_t uptime = clock.UptimeMs();
  const TDueMoment due = check_.PlanNext(store_, now, uptime);
  std::optional<std::int64_t> at = DueUtcMs(due, clock, now, uptime);
  if (const auto z = NextSnooze(snoozes_)) {
    if (!at || z->DueUtcMs < *at) at = z->DueUtcMs;
  }
  // A skip ends when the check passes its moment, so the check looks at
  // the clock then too, without waking the PC for it: a clock set back
  // afterwards finds the skip over and the alarm ringing as usual.
  std::optional<std::int64_t> checkAt = at;
  for (const TSkip& k : skips_) {
    const std::int64_t utc = clock.LocalToUtcMs(k.LocalSecond * kMsPerSecond);
    if (!checkAt || utc < *checkAt) checkAt = utc;
  }
  services_.WakeTimer.SetAt(WakeTimerUtcMs(checkAt, now.UtcMs));
  services_.WakeTimer.SetWakeAt(EarlyWakeUtcMs(at, now.UtcMs));
  awake_.SetAlarmNear(AlarmNear(at, now.UtcMs));

  // The moment that rings first and what it says: a snooze, or the
  // check's next due second on either clock.
  std::optional<TNextRing> next;
  if (!file_.Unread) {
    if (const auto z = NextSnooze(snoozes_)) {
      if (const std::uint16_t index = FindAlarm(store_, z->Alarm)) {
        next = TNextRing{z->DueUtcMs, FromShortString(*AlarmActions(store_, z->Alarm.Kind, index).Msg)};
      }
    }
  }
  if (due.LocalSecond) {
    const std::int64_t utc = clock.LocalToUtcMs(*due.LocalSecond * kMsPerSecond);
    if (!next || utc < next->UtcMs) next = TNextRing{utc, MessageDueAt(store_, days_, false, *due.LocalSecond)};
  }
  if (due.UptimeSecond) {
    const std::int64_t utc =
        now.UtcMs + *due.UptimeSecond * kMsPerSecond - static_cast<std::int64_t>(uptime);
    if (!next || utc < next->UtcMs) next = TNextRing{utc, MessageDueAt(store_, days_, true, *due.UptimeSecond)};
  }
  next_ = next;
  view_.NextRingChanged();
}
