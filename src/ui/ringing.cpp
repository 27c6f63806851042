// Snoozes, the ring that ends by itself, alarms missed while nobody could
// hear them, and the state the program keeps beside itself for them.
#include <algorithm>

#include "controls/dispatcher.h"
#include "controls/message_boxes.h"
#include "engine/alarm_rule.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/regional.h"
#include "store/program_state.h"
#include "ui/main_window.h"
#include "ui/missed_window.h"

void TMainWindow::TRinger::WakeUp(const std::wstring& message, const std::wstring& file,
                             const std::wstring& music) {
  form_.rang_ = true;
  form_.wakeUp_.WakeUp(message, file, music);
}

void TMainWindow::TRinger::WakeUpAlarm(TAlarmKind kind, std::uint16_t index,
                                  const std::wstring& message, const std::wstring& file,
                                  const std::wstring& music) {
  form_.wakeUp_.Ringing({RefOf(form_.state_.Store, kind, index), 0, form_.CurrentSecond()});
  WakeUp(message, file, music);
}

std::int64_t TMainWindow::CurrentSecond() const {
  const auto ms = RoundedMs(lastReading_.Local);
  return ms ? FloorDiv(*ms, kMsPerSecond) : 0;
}

void TMainWindow::LoadSignalAndState() {
  if (stateLoaded_) return;
  stateLoaded_ = true;
  // Bound here, not in the constructor: the program creates the wake-up
  // window after the main window.
  wakeUp_.OnSnooze = [this](const std::vector<TWakeUpWindow::TRinging>& rang, int minutes) {
    Form3Snooze(rang, minutes);
  };
  wakeUp_.OnRingEnded = [this](const std::vector<TWakeUpWindow::TRinging>& rang) {
    Form3RingEnded(rang);
  };
  signal_ = ReadSignalSettings(state_.ProgramDir, services_.Files);
  wakeUp_.SetSignal(signal_);

  const TStateLoad load = LoadProgramState(state_.ProgramDir, services_.Files);
  if (load.Damaged) {
    std::wstring text = std::wstring(L"Файл ") + kStateFileName +
                        L" не удалось прочитать: отложенные будильники и время последней "
                        L"проверки потеряны.";
    if (!load.KeptAs.empty()) text += L" Его содержимое сохранено в файле " + load.KeptAs;
    services_.Boxes.ShowMessage(text);
  }
  snoozes_ = load.State.Snoozes;
  ReadClock();
  // Until the check's first tick, the second before the start stands for
  // what it has examined.
  startExamined_ = CurrentSecond() - 1;
  // The first start in this folder, or after the state was lost: nothing
  // can be known to have been missed.
  if (load.State.LastExamined) CatchUp(*load.State.LastExamined);
  SaveState();
}

void TMainWindow::CatchUp(std::int64_t lastExamined) {
  const TAlarmCheck::TCatchUp result =
      check_.CatchUp(state_.Store, lastReading_, lastExamined, services_.Clock);
  for (const TAlarmCheck::TMissed& m : result.Missed) {
    AddMissed(RefOf(state_.Store, m.Kind, m.Index), m.LatestSecond, m.Count);
  }
  std::vector<std::wstring> errors;
  for (const TAlarmCheck::TLate& l : result.Late) {
    try {
      FireAlarm(state_.Store, l.Kind, l.Index, ringer_);
    } catch (const std::exception& e) {
      errors.push_back(ErrorText(e));
    }
  }
  for (const std::wstring& e : errors) ReportError(e);
}

void TMainWindow::ResumeFromSleep() {
  wakeUp_.Resumed();
  ReadClock();
  if (stateLoaded_) CatchUp(check_.LastExamined().value_or(startExamined_));
  if (rang_ || !MissedForm().Entries().empty()) SaveState();
  WakeTimerDue();
}

void TMainWindow::SaveState() {
  rang_ = false;
  if (!stateLoaded_) return;
  TProgramState s;
  s.LastExamined = check_.LastExamined().value_or(startExamined_);
  s.Snoozes = snoozes_;
  const int error = SaveProgramState(s, state_.ProgramDir, services_.Files);
  // Told once a run: a full disk would otherwise speak at every ring.
  if (error && !stateSaveReported_) {
    stateSaveReported_ = true;
    ReportError(L"Не удалось сохранить файл " + state_.ProgramDir + kStateFileName + L": " +
                InOutErrorText(error));
  }
}

void TMainWindow::ProgramEnds() { SaveState(); }

void TMainWindow::FireDueSnoozes() {
  // Snoozes of an alarm.rec that could not be read wait for it.
  if (state_.AlarmFile.Unread || snoozes_.empty()) return;
  const TSnoozes due = TakeDueSnoozes(snoozes_, lastReading_.UtcMs);
  if (due.empty()) return;
  rang_ = true;  // the snoozes are gone from the state, rung or not
  std::vector<std::wstring> errors;
  for (const TSnooze& z : due) {
    const std::uint16_t index = FindAlarm(state_.Store, z.Alarm);
    if (index == 0) continue;
    // Due while the PC was off or asleep: like any alarm, one that is
    // more than five minutes late is told, not rung.
    const std::int64_t lateMs = lastReading_.UtcMs - z.DueUtcMs;
    if (lateMs > TAlarmCheck::kLateLimitMs) {
      AddMissed(RefOf(state_.Store, z.Alarm.Kind, index), CurrentSecond() - lateMs / kMsPerSecond, 1);
      continue;
    }
    const TAlarmActions a = AlarmActions(state_.Store, z.Alarm.Kind, index);
    wakeUp_.Ringing({RefOf(state_.Store, z.Alarm.Kind, index), z.Unanswered, CurrentSecond()});
    try {
      wakeUp_.WakeUpAgain(FromShortString(*a.Msg), FromShortString(*a.Mus));
    } catch (const std::exception& e) {
      errors.push_back(ErrorText(e));
    }
  }
  for (const std::wstring& e : errors) ReportError(e);
}

void TMainWindow::Form3Snooze(const std::vector<TWakeUpWindow::TRinging>& rang, int minutes) {
  const std::int64_t now = services_.Clock.Now().UtcMs;
  for (const TWakeUpWindow::TRinging& r : rang) {
    AddSnooze(snoozes_, {r.Alarm, now + minutes * 60 * kMsPerSecond, 0});
  }
  SaveState();
  ScheduleNextAlarm();
}

void TMainWindow::Form3RingEnded(const std::vector<TWakeUpWindow::TRinging>& rang) {
  const std::int64_t now = services_.Clock.Now().UtcMs;
  for (const TWakeUpWindow::TRinging& r : rang) {
    if (r.Unanswered >= kMaxUnanswered) {
      // The third ring in a row nobody heard: it stops for good.
      AddMissed(r.Alarm, r.LocalSecond, 1);
    } else {
      AddSnooze(snoozes_,
                {r.Alarm, now + signal_.SnoozeMinutes * 60 * kMsPerSecond, r.Unanswered + 1});
    }
  }
  SaveState();
  ScheduleNextAlarm();
}

void TMainWindow::CancelSnoozesClick() {
  snoozes_.clear();
  SaveState();
  ScheduleNextAlarm();
}

void TMainWindow::AddMissed(const TAlarmRef& alarm, std::int64_t second, int count) {
  std::wstring message;
  if (const std::uint16_t index = FindAlarm(state_.Store, alarm)) {
    message = FromShortString(*AlarmActions(state_.Store, alarm.Kind, index).Msg);
  }
  MissedForm().Add({alarm, second, count, message});
}

void TMainWindow::ApplySignal(const TSignalSettings& signal) {
  const TSignalSettings old = signal_;
  signal_ = signal;
  wakeUp_.SetSignal(signal_);
  const int error = WriteSignalSettings(old, signal_, state_.ProgramDir, services_.Files);
  // In effect for this run all the same.
  if (error) {
    ReportError(L"Не удалось сохранить настройки в файл " + state_.ProgramDir + kSignalFileName +
                L": " + InOutErrorText(error));
  }
}

namespace {

// The message of the first record of the given clock that is due at `second`.
std::wstring MessageDueAt(const TAlarmStore& store, bool uptime, std::int64_t second) {
  for (const TAlarmKind kind : {akDate, akDaily, akWeekly, akCountdown, akBootCountdown}) {
    if ((kind == akBootCountdown) != uptime) continue;
    const std::uint16_t count = LiveCount(store, kind);
    for (std::uint16_t i = 0; i < count; ++i) {
      if (FirstDueAfter(kind, DecodeRecord(store, kind, i), second - 1) == second) {
        return FromShortString(*AlarmActions(store, kind, i + 1u).Msg);
      }
    }
  }
  return {};
}

}  // namespace

void TMainWindow::UpdateTrayHint(const TDueMoment& due) {
  const TClockReading now = services_.Clock.Now();
  const std::uint64_t uptime = services_.Clock.UptimeMs();
  // The moment that rings first: a snooze, or the check's next due second
  // on either clock.
  std::optional<std::int64_t> at;
  std::wstring message;
  if (!state_.AlarmFile.Unread) {
    if (const auto z = NextSnooze(snoozes_)) {
      if (const std::uint16_t index = FindAlarm(state_.Store, z->Alarm)) {
        at = z->DueUtcMs;
        message = FromShortString(*AlarmActions(state_.Store, z->Alarm.Kind, index).Msg);
      }
    }
  }
  if (due.LocalSecond) {
    const std::int64_t utc = services_.Clock.LocalToUtcMs(*due.LocalSecond * kMsPerSecond);
    if (!at || utc < *at) {
      at = utc;
      message = MessageDueAt(state_.Store, false, *due.LocalSecond);
    }
  }
  if (due.UptimeSecond) {
    const std::int64_t utc =
        now.UtcMs + *due.UptimeSecond * kMsPerSecond - static_cast<std::int64_t>(uptime);
    if (!at || utc < *at) {
      at = utc;
      message = MessageDueAt(state_.Store, true, *due.UptimeSecond);
    }
  }
  std::wstring hint = L"Tivorra";
  if (at) {
    // In local time as the clock reads now.
    const double local = now.Local + static_cast<double>(*at - now.UtcMs) / kMsPerDay;
    hint += L"\n" + services_.Formats.ShortDate(local) + L" " + services_.Formats.LongTime(local);
    const std::wstring start = MessageStart(message, 24);
    if (!start.empty()) hint += L" " + start;
  }
  // The notification area shows at most 63 characters.
  if (hint.size() > 63) hint = hint.substr(0, 62) + L"…";
  RzTrayIcon1.SetHint(hint);
}
