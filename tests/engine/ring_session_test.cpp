// The ring session: snoozes, the ring that ends by itself, missed alarms,
// what is kept in Tivorra.state, and the wake timer aimed at what comes
// next, with no window at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "engine/ring_session_fixture.h"
#include "store/alarm_store.h"

namespace fs = std::filesystem;

namespace {

class RingSession : public RingSessionTest {
 public:
  // The universal time at which the local clock reads h:m:s, `days` after
  // 08.12.2026 (the fake clock keeps a fixed offset).
  std::int64_t UtcAt(int days, int h, int m, int s) {
    return clock.LocalToUtcMs((LocalSecondAt(h, m, s) + days * 86400LL) * 1000);
  }
  void ExpectNext(std::int64_t utcMs, const std::wstring& message) {
    const auto next = session->NextRing();
    ASSERT_TRUE(next);
    EXPECT_EQ(next->UtcMs, utcMs);
    EXPECT_EQ(next->Message, message);
  }
};

TEST_F(RingSession, ASnoozeRingsAgainOnTheInstantAndSurvivesARestart) {
  Daily(EncodeTime(7, 5, 20, 0), L"Подъём", L"C:\\plan.txt", L"C:\\a.wav");
  Start();
  RunToWakeTimer();
  ASSERT_TRUE(view.ringShown);
  EXPECT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(SavedState().LastExamined, LocalSecondAt(7, 5, 20)) << "kept as the alarm rang";

  session->Snooze(5);
  EXPECT_FALSE(view.ringShown);
  const std::int64_t due = clock.UtcMs + 5 * kMinute;
  EXPECT_EQ(wakeTimer.at, due) << "the wake timer aims at the snooze's moment";
  ASSERT_EQ(session->Snoozes().size(), 1u);
  EXPECT_EQ(SavedState().Snoozes, session->Snoozes());
  ExpectNext(due, L"Подъём");

  clock.Advance(kMinute);
  Restart();
  ASSERT_EQ(session->Snoozes().size(), 1u);
  EXPECT_EQ(wakeTimer.at, due);
  ExpectNext(due, L"Подъём");
  EXPECT_FALSE(view.ringShown);
  RunToWakeTimer();
  EXPECT_TRUE(view.ringShown);
  EXPECT_EQ(view.message, L"Подъём");
  EXPECT_EQ(shell.opened.size(), 1u) << "the file is not opened a second time";
  EXPECT_TRUE(session->Snoozes().empty());
  EXPECT_TRUE(SavedState().Snoozes.empty());
  // A day later the alarm rings as usual.
  session->Answer();
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000) << "the safety wake; the alarm is a day away";
  ExpectNext(UtcAt(1, 7, 5, 20), L"Подъём");
}

TEST_F(RingSession, ASnoozeDueLongAgoWhileThePcWasOffIsListedNotRung) {
  Daily(EncodeTime(7, 5, 20, 0), L"Подъём");
  Start();
  RunToWakeTimer();
  SnoozeAsOffered();  // 10 minutes: due at 07:15:20
  clock.Advance(15 * kMinute + 1000);  // 07:20:21, just over 5 minutes late
  Restart(false);
  clock.Advance(1000);
  session->Tick();
  EXPECT_FALSE(view.ringShown);
  EXPECT_TRUE(session->Snoozes().empty());
  EXPECT_EQ(Missed(), (std::vector<TLine>{{akDaily, LocalSecondAt(7, 15, 20), 1, L"Подъём"}}));
  EXPECT_TRUE(view.missedShown);
  // Within five minutes it still rings.
  session->MissedSeen();
  EXPECT_TRUE(session->Missed().empty());
  clock.Advance(24 * 60 * kMinute - 15 * kMinute - 2000);  // 07:05:20 the next day
  wakeTimer.Fire();
  ASSERT_TRUE(view.ringShown);
  SnoozeAsOffered();
  clock.Advance(15 * kMinute);
  Restart(false);
  session->Tick();
  EXPECT_TRUE(view.ringShown);
  EXPECT_TRUE(session->Missed().empty());
}

TEST_F(RingSession, ChangingOrDeletingItsAlarmCancelsASnooze) {
  const struct {
    const char* name;
    std::function<void(TAlarmStore&)> edit;
    bool kept;
  } cases[] = {
      {"an earlier alarm deleted", [](TAlarmStore& s) { DeleteAlarm(s, akDaily, 1); }, true},
      {"a later alarm added",
       [](TAlarmStore& s) {
         s.DailyAlarms[s.DailyCount].AlarmTime = 0.5;
         ToShortString(L"later", s.DailyAlarms[s.DailyCount++].Msg);
       },
       true},
      {"its time changed", [](TAlarmStore& s) { s.DailyAlarms[1].AlarmTime += 1.0 / 24; }, false},
      {"its message changed", [](TAlarmStore& s) { ToShortString(L"x", s.DailyAlarms[1].Msg); },
       false},
      {"deleted", [](TAlarmStore& s) { DeleteAlarm(s, akDaily, 2); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 9, 400));
    session.reset();
    std::memset(store.get(), 0, sizeof(TAlarmStore));
    Daily(EncodeTime(6, 0, 0, 0), L"first");
    Daily(EncodeTime(7, 5, 20, 0), L"second");
    fs::remove(dir.Path(L"Tivorra.state"));
    view = TFakeRingView{};
    Start();
    RunToWakeTimer();
    SnoozeAsOffered();
    ASSERT_EQ(session->Snoozes().size(), 1u);
    c.edit(*store);
    session->StoreChanged();
    EXPECT_EQ(session->Snoozes().size(), c.kept ? 1u : 0u);
    EXPECT_EQ(SavedState().Snoozes.size(), c.kept ? 1u : 0u);
    clock.Advance(10 * kMinute);
    wakeTimer.Fire();
    EXPECT_EQ(view.ringShown, c.kept);
    if (c.kept) {
      EXPECT_EQ(view.message, L"second");
    }
  }
}

TEST_F(RingSession, ARingNobodyAnswersSnoozesItselfTwiceThenIsListedAsMissed) {
  signal.RingMinutes = 1;
  Daily(EncodeTime(7, 5, 20, 0), L"Подъём", L"", L"a.wav");
  Start();
  RunToWakeTimer();
  for (int ring = 1; ring <= 3; ++ring) {
    SCOPED_TRACE(ring);
    ASSERT_TRUE(view.ringShown);
    EXPECT_EQ(RingEnd().IntervalMs(), kMinute);
    EXPECT_TRUE(RingEnd().Running());
    Pass(kMinute);
    EXPECT_FALSE(view.ringShown);
    EXPECT_FALSE(power.display) << "the screen may sleep again";
    if (ring < 3) {
      ASSERT_EQ(session->Snoozes().size(), 1u);
      EXPECT_EQ(session->Snoozes()[0].Unanswered, ring);
      EXPECT_EQ(session->Snoozes()[0].DueUtcMs, clock.UtcMs + 10 * kMinute) << "SnoozeMinutes";
      EXPECT_TRUE(session->Missed().empty());
      RunToWakeTimer();
    }
  }
  EXPECT_TRUE(session->Snoozes().empty()) << "stopped for good";
  EXPECT_TRUE(view.missedShown);
  EXPECT_EQ(Missed(), (std::vector<TLine>{{akDaily, LocalSecondAt(7, 27, 20), 1, L"Подъём"}}));
  session->MissedSeen();

  // Answering in between starts the count anew.
  clock.Advance(24 * 60 * kMinute - 23 * kMinute);  // 07:05:20 the next day
  wakeTimer.Fire();
  ASSERT_TRUE(view.ringShown);
  RingEnd().Tick();
  RunToWakeTimer();
  session->Answer();
  EXPECT_TRUE(session->Snoozes().empty());
  // Without a ring's length it rings until answered.
  signal.RingMinutes = 0;
  session->SetSignal(signal);
  RingNow(L"long");
  EXPECT_FALSE(RingEnd().Running());
}

TEST_F(RingSession, AfterARunAnHourAgoOldMomentsAreListedAndRecentOnesRingOnce) {
  Daily(EncodeTime(6, 35, 0, 0), L"Тридцать минут назад");
  Daily(EncodeTime(7, 3, 0, 0), L"Две минуты назад");
  Daily(EncodeTime(5, 0, 0, 0), L"Два часа назад");
  store->BootCountdownAlarms[0].AlarmTime = EncodeTime(0, 30, 0, 0);  // uptime is 1 h
  store->BootCountdownCount = 1;
  WriteState(LocalSecondAt(6, 5, 9));
  Start();
  EXPECT_TRUE(view.ringShown);
  EXPECT_EQ(view.message, L"Две минуты назад");
  EXPECT_EQ(Missed(), (std::vector<TLine>{
                          {akDaily, LocalSecondAt(6, 35, 0), 1, L"Тридцать минут назад"}}));
  EXPECT_TRUE(view.missedShown);
  EXPECT_EQ(SavedState().LastExamined, LocalSecondAt(7, 5, 9));
  // Nothing rings twice.
  session->Answer();
  for (int i = 0; i < 3; ++i) {
    clock.Advance(1000);
    session->Tick();
  }
  EXPECT_FALSE(view.ringShown);

  // A restart a minute later misses nothing more; one after a week lists
  // every alarm with its count, and rings the one 3 minutes late.
  clock.Advance(kMinute);
  Restart();
  EXPECT_FALSE(view.ringShown);
  EXPECT_TRUE(session->Missed().empty());
  session->ProgramEnds();
  clock.Advance(7LL * 24 * 60 * kMinute);
  Restart();
  const std::int64_t day = 86400;
  EXPECT_EQ(Missed(), (std::vector<TLine>{
                          {akDaily, LocalSecondAt(5, 0, 0) + 7 * day, 7, L"Два часа назад"},
                          {akDaily, LocalSecondAt(6, 35, 0) + 7 * day, 7, L"Тридцать минут назад"},
                          {akDaily, LocalSecondAt(7, 3, 0) + 6 * day, 6, L"Две минуты назад"}}));
  EXPECT_EQ(view.message, L"Две минуты назад");
}

TEST_F(RingSession, TheFirstStartInAFolderMissesNothingAndADamagedStateIsKeptAside) {
  Daily(EncodeTime(6, 0, 0, 0), L"Старое");
  Start();
  EXPECT_FALSE(view.ringShown);
  EXPECT_FALSE(view.missedShown);
  EXPECT_TRUE(view.notices.empty());
  // Kept at the start, and again as the store is taken: up to its second.
  EXPECT_EQ(SavedState().LastExamined, LocalSecondAt(7, 5, 9)) << "written at once";

  WriteBytes(dir.Path(L"Tivorra.state"), {'?', '?'});
  Restart(false);
  ASSERT_EQ(view.notices.size(), 1u);
  EXPECT_NE(view.notices[0].find(L"Tivorra.state.bad"), std::wstring::npos);
  EXPECT_EQ(ReadBytes(dir.Path(L"Tivorra.state.bad")), (Bytes{'?', '?'}));
  EXPECT_FALSE(view.missedShown) << "an unknown past misses nothing";
  EXPECT_TRUE(SavedState().LastExamined) << "a sound file in its place";
}

TEST_F(RingSession, ASaveThatFailsIsToldOnceARunAndLosesNothingItKnows) {
  Daily(EncodeTime(7, 5, 20, 0), L"Подъём");
  Start();
  const Bytes before = ReadBytes(dir.Path(L"Tivorra.state"));
  files.FailAt = static_cast<int>(files.Calls.size()) + 1;
  files.Crash = true;
  files.Error = kErrDiskFull;
  RunToWakeTimer();
  SnoozeAsOffered();
  ASSERT_EQ(view.errors.size(), 1u) << "told once, not at every save";
  EXPECT_EQ(view.errors[0].rfind(L"Не удалось сохранить файл " + dir.ProgramDir() +
                                     L"Tivorra.state",
                                 0),
            0u);
  EXPECT_EQ(ReadBytes(dir.Path(L"Tivorra.state")), before) << "the old file stays whole";
  EXPECT_EQ(session->Snoozes().size(), 1u) << "the snooze holds in this run";
}

TEST_F(RingSession, SuspendKeepsTheStateAndResumeTellsWhatWasMissed) {
  Daily(EncodeTime(7, 30, 0, 0), L"Во сне");
  Start();
  fs::remove(dir.Path(L"Tivorra.state"));
  wakeTimer.Suspend();
  EXPECT_TRUE(SavedState().LastExamined);
  clock.Advance(60 * kMinute);
  wakeTimer.Resume();
  EXPECT_FALSE(view.ringShown);
  EXPECT_EQ(Missed(), (std::vector<TLine>{{akDaily, LocalSecondAt(7, 30, 0), 1, L"Во сне"}}));
  fs::remove(dir.Path(L"Tivorra.state"));
  wakeTimer.SessionEnd();
  EXPECT_EQ(SavedState().LastExamined, LocalSecondAt(8, 5, 9));
}

TEST_F(RingSession, CancellingSnoozesAimsAtTheAlarmItself) {
  Daily(EncodeTime(7, 5, 20, 0), L"Подъём");
  Start();
  ExpectNext(UtcAt(0, 7, 5, 20), L"Подъём");
  RunToWakeTimer();
  SnoozeAsOffered();
  ExpectNext(clock.UtcMs + 10 * kMinute, L"Подъём");
  const int changes = view.nextChanges;
  session->CancelSnoozes();
  EXPECT_TRUE(session->Snoozes().empty());
  EXPECT_TRUE(SavedState().Snoozes.empty());
  ExpectNext(UtcAt(1, 7, 5, 20), L"Подъём");
  EXPECT_GT(view.nextChanges, changes) << "the view was told";
}

TEST_F(RingSession, ASkipThatPassesOnTheClocksTickIsToldToTheView) {
  Daily(EncodeTime(7, 5, 20, 0), L"Подъём");
  Start();
  ASSERT_TRUE(session->SkipNext(akDaily, 1));
  ExpectNext(UtcAt(1, 7, 5, 20), L"Подъём");
  const int changes = view.nextChanges;
  // The window's 1 s tick, up to and past the skipped moment.
  for (int s = 0; s < 12; ++s) {
    Pass(1000);
    session->Tick();
  }
  EXPECT_FALSE(view.ringShown);
  EXPECT_TRUE(session->Skips().empty());
  EXPECT_EQ(view.nextChanges, changes + 1) << "told once, as the skip ended";
  ExpectNext(UtcAt(1, 7, 5, 20), L"Подъём");
}

TEST_F(RingSession, TheWakeTimerRingsOnTheSecondAndAResumeNeverRingsItTwice) {
  // The clock reads 07:05:09.400; the alarm is due at 07:05:20.
  const std::int64_t dueUtc = clock.UtcMs + 10600;
  Daily(EncodeTime(7, 5, 20, 0), L"Доброе утро");
  Start();
  EXPECT_EQ(wakeTimer.at, dueUtc) << "set when the store was loaded";
  clock.Advance(10600);
  wakeTimer.Fire();
  EXPECT_TRUE(view.ringShown);
  EXPECT_EQ(view.message, L"Доброе утро");
  // Once rung, the timer waits for the safety wake, an hour on, since the
  // next ringing is a day away.
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000);
  session->Answer();
  // A resume runs the check too, and never rings the same second twice.
  clock.Advance(500);
  wakeTimer.Resume();
  EXPECT_FALSE(view.ringShown);
}

TEST_F(RingSession, TheWakeTimerIsSetAMinuteEarlyAndTheSystemHeldFromThenToTheRing) {
  // The clock reads 07:05:09.400; the alarm is due at 07:35:09.
  const std::int64_t dueUtc = clock.UtcMs + 30 * 60000 - 400;
  Daily(EncodeTime(7, 35, 9, 0), L"Подъём");
  Start();
  EXPECT_EQ(wakeTimer.at, dueUtc) << "the precise timer at the moment itself";
  EXPECT_EQ(wakeTimer.wakeAt, dueUtc - 60000) << "the one that may resume the PC, a minute early";
  EXPECT_FALSE(power.system);

  clock.Advance(29 * 60000 - 400);
  wakeTimer.FireWake();
  EXPECT_TRUE(power.system) << "held from the early wake";
  EXPECT_FALSE(power.display);
  EXPECT_EQ(wakeTimer.wakeAt, std::nullopt) << "its minute has begun";
  EXPECT_EQ(wakeTimer.at, dueUtc);

  clock.Advance(60000);
  wakeTimer.Fire();
  ASSERT_TRUE(view.ringShown);
  EXPECT_TRUE(power.system);
  EXPECT_TRUE(power.display) << "the screen lights up for the ring";
  // The next ringing is a day away: only the safety wake, no early one.
  EXPECT_EQ(wakeTimer.wakeAt, dueUtc + 24 * 3600000LL - 60000);
  session->Answer();
  EXPECT_FALSE(power.system);
  EXPECT_FALSE(power.display);
}

TEST_F(RingSession, NoEarlyWakeWhenNothingIsDueAndTheHoldEndsWhenTheAlarmGoes) {
  Start();
  EXPECT_EQ(wakeTimer.wakeAt, std::nullopt);
  session->Tick();
  store->CountdownCount = 1;
  store->CountdownAlarms[0].AlarmTime = EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 39, 400);
  session->StoreChanged();
  EXPECT_TRUE(power.system) << "due within the minute";
  EXPECT_EQ(wakeTimer.wakeAt, std::nullopt);
  store->CountdownCount = 0;
  session->StoreChanged();
  EXPECT_FALSE(power.system) << "deleted before its moment";
}

TEST_F(RingSession, TheWakeTimerFollowsEveryChangeOfStoreAndClock) {
  Start();
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000) << "no alarm: only the safety wake";
  EXPECT_FALSE(session->NextRing());
  session->Tick();  // the check has examined 07:05:09

  store->CountdownCount = 1;
  store->CountdownAlarms[0].AlarmTime = EncodeDate(2026, 12, 8) + EncodeTime(7, 35, 9, 400);
  session->StoreChanged();
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 30 * 60000 - 400);

  // The clock is set an hour back: the same local moment is an hour further.
  const int sets = wakeTimer.setCount;
  clock.LocalMs -= 3600000;
  wakeTimer.ClockChanged();
  EXPECT_EQ(wakeTimer.setCount, sets + 1);
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000) << "no later than the safety wake";
  EXPECT_FALSE(view.ringShown);
  clock.LocalMs += 2 * 3600000;  // and two hours on: the moment has passed
  wakeTimer.ClockChanged();
  EXPECT_TRUE(view.ringShown) << "looked at as the clock is set: rings at once";
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000) << "and nothing more is due";

  DeleteAlarm(*store, akCountdown, 1);
  session->StoreChanged();
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000);
}

TEST_F(RingSession, AnAlarmFileThatCouldNotBeReadKeepsItsSnoozesWaiting) {
  Daily(EncodeTime(7, 5, 20, 0), L"Подъём");
  Start();
  RunToWakeTimer();
  SnoozeAsOffered();
  // The next start cannot read alarm.rec: the store it has is empty.
  file.Unread = true;
  std::memset(store.get(), 0, sizeof(TAlarmStore));
  Restart();
  EXPECT_EQ(session->Snoozes().size(), 1u) << "not dropped as changed or deleted";
  EXPECT_FALSE(session->NextRing()) << "nothing of it is named";
  Pass(10 * kMinute);
  wakeTimer.Fire();
  EXPECT_FALSE(view.ringShown);
  EXPECT_EQ(SavedState().Snoozes.size(), 1u) << "it waits for the file";
}

}  // namespace
