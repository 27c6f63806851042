// Snoozes, the ring that ends, and missed alarms, through the program's
// windows over fake services and a real program folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/date_time.h"
#include "fakes/ui_driver.h"
#include "store/alarm_file.h"
#include "store/program_state.h"
#include "ui/missed_window.h"
#include "ui/program_windows.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kMinute = 60000;

class Ringing : public ProgramTest {
 public:
  // The clock reads 08.12.2026 07:05:09.400 (a Tuesday).
  std::int64_t LocalSecondAt(int h, int m, int s) {
    return RoundedMs(EncodeDate(2026, 12, 8) + EncodeTime(h, m, s, 0)).value() / 1000;
  }
  void WriteAlarms(const std::function<void(TAlarmStore&)>& fill) {
    auto store = std::make_unique<TAlarmStore>();
    std::memset(store.get(), 0, sizeof(TAlarmStore));
    fill(*store);
    TAlarmFileState file;
    EXPECT_TRUE(SaveAlarms(*store, dir.ProgramDir(), file).Saved());
  }
  static void Daily(TAlarmStore& s, TDateTime time, const std::wstring& msg,
                    const std::wstring& exe = L"", const std::wstring& mus = L"") {
    TTimeAlarm& r = s.DailyAlarms[s.DailyCount++];
    r.AlarmTime = time;
    ToShortString(msg, r.Msg);
    ToShortString(exe, r.Exe);
    ToShortString(mus, r.Mus);
  }
  // The program ends and starts again in the same folder.
  void Restart(bool endsCleanly = true) {
    if (endsCleanly) mainWindow().ProgramEnds();
    program.reset();
    wakeUp.reset();
    std::memset(&state.Store, 0, sizeof(TAlarmStore));
    state.Settings = {};
    state.AlarmFile = {};
    Start();
  }
  // Real time passes up to the wake timer's moment, and it fires.
  void RunToWakeTimer() {
    ASSERT_TRUE(wakeTimer.at);
    clock.Advance(*wakeTimer.at - clock.UtcMs);
    wakeTimer.Fire();
  }
  TProgramState SavedState() { return LoadProgramState(dir.ProgramDir()).State; }
  void WriteState(std::int64_t lastExamined) {
    TProgramState s;
    s.LastExamined = lastExamined;
    ASSERT_EQ(SaveProgramState(s, dir.ProgramDir()), 0);
  }
  std::vector<std::wstring> MissedLines() { return mainWindow().MissedForm().List.Items(); }
};

TEST_F(Ringing, ASnoozeRingsAgainOnTheInstantAndSurvivesARestart) {
  WriteAlarms([](TAlarmStore& s) {
    Daily(s, EncodeTime(7, 5, 20, 0), L"Подъём", L"C:\\plan.txt", L"C:\\a.wav");
  });
  Start();
  RunToWakeTimer();
  ASSERT_TRUE(wakeUp->Visible());
  EXPECT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(SavedState().LastExamined, LocalSecondAt(7, 5, 20)) << "kept as the alarm rang";

  wakeUp->SnoozeChoice.PickItem(0);  // "5 мин"
  wakeUp->SnoozeBut.Click();
  EXPECT_FALSE(wakeUp->Visible());
  const std::int64_t due = clock.UtcMs + 5 * kMinute;
  EXPECT_EQ(wakeTimer.at, due) << "the wake timer aims at the snooze's moment";
  ASSERT_EQ(mainWindow().Snoozes().size(), 1u);
  EXPECT_EQ(SavedState().Snoozes, mainWindow().Snoozes());
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra\n08.12.2026 7:10:20 Подъём");
  EXPECT_FALSE(fs::exists(dir.Path(L"alarm.rec.bad")));

  clock.Advance(kMinute);
  Restart();
  ASSERT_EQ(mainWindow().Snoozes().size(), 1u);
  EXPECT_EQ(wakeTimer.at, due);
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra\n08.12.2026 7:10:20 Подъём") << "snoozes included";
  EXPECT_FALSE(wakeUp->Visible());
  RunToWakeTimer();
  EXPECT_TRUE(wakeUp->Visible());
  EXPECT_EQ(wakeUp->Memo.Text(), L"Подъём");
  EXPECT_EQ(shell.opened.size(), 1u) << "the file is not opened a second time";
  EXPECT_TRUE(mainWindow().Snoozes().empty());
  EXPECT_TRUE(SavedState().Snoozes.empty());
  // A day later the alarm rings as usual.
  wakeUp->OK.Click();
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000) << "the safety wake; the alarm is a day away";
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra\n09.12.2026 7:05:20 Подъём");
}

TEST_F(Ringing, ASnoozeDueLongAgoWhileThePcWasOffIsListedNotRung) {
  WriteAlarms([](TAlarmStore& s) { Daily(s, EncodeTime(7, 5, 20, 0), L"Подъём"); });
  Start();
  RunToWakeTimer();
  wakeUp->SnoozeBut.Click();  // 10 minutes: due at 07:15:20
  clock.Advance(15 * kMinute + 1000);  // 07:20:21, just over 5 minutes late
  Restart(false);
  clock.Advance(1000);
  mainWindow().Time.Tick();
  EXPECT_FALSE(wakeUp->Visible());
  EXPECT_TRUE(mainWindow().Snoozes().empty());
  EXPECT_EQ(MissedLines(), std::vector<std::wstring>{L"08.12.2026 7:15:20   Ежедневно   Подъём"});
  // Within five minutes it still rings.
  mainWindow().MissedForm().OK.Click();
  wakeUp->OK.Click();
  clock.Advance(24 * 60 * kMinute - 15 * kMinute - 2000);  // 07:05:20 the next day
  wakeTimer.Fire();
  ASSERT_TRUE(wakeUp->Visible());
  wakeUp->SnoozeBut.Click();
  clock.Advance(15 * kMinute);
  Restart(false);
  mainWindow().Time.Tick();
  EXPECT_TRUE(wakeUp->Visible());
  EXPECT_TRUE(MissedLines().empty());
}

TEST_F(Ringing, ChangingOrDeletingItsAlarmCancelsASnooze) {
  const struct {
    const char* name;
    std::function<void(TAlarmStore&)> edit;
    bool kept;
  } cases[] = {
      {"an earlier alarm deleted", [](TAlarmStore& s) { DeleteAlarm(s, akDaily, 1); }, true},
      {"a later alarm added", [](TAlarmStore& s) { Daily(s, 0.5, L"later"); }, true},
      {"its time changed", [](TAlarmStore& s) { s.DailyAlarms[1].AlarmTime += 1.0 / 24; }, false},
      {"its message changed", [](TAlarmStore& s) { ToShortString(L"x", s.DailyAlarms[1].Msg); },
       false},
      {"deleted", [](TAlarmStore& s) { DeleteAlarm(s, akDaily, 2); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 9, 400));
    WriteAlarms([](TAlarmStore& s) {
      Daily(s, EncodeTime(6, 0, 0, 0), L"first");
      Daily(s, EncodeTime(7, 5, 20, 0), L"second");
    });
    fs::remove(dir.Path(L"Tivorra.state"));
    program.reset();
    wakeUp.reset();
    Start();
    RunToWakeTimer();
    wakeUp->SnoozeBut.Click();
    ASSERT_EQ(mainWindow().Snoozes().size(), 1u);
    c.edit(state.Store);
    mainWindow().StoreChanged();
    EXPECT_EQ(mainWindow().Snoozes().size(), c.kept ? 1u : 0u);
    EXPECT_EQ(SavedState().Snoozes.size(), c.kept ? 1u : 0u);
    clock.Advance(10 * kMinute);
    wakeTimer.Fire();
    EXPECT_EQ(wakeUp->Visible(), c.kept);
    if (c.kept) {
      EXPECT_EQ(wakeUp->Memo.Text(), L"second");
    }
  }
}

TEST_F(Ringing, ARingNobodyAnswersSnoozesItselfTwiceThenIsListedAsMissed) {
  WriteBytes(dir.Path(L"Tivorra.ini"), {'[', 'S', 'i', 'g', 'n', 'a', 'l', ']', '\n', 'R', 'i',
                                        'n', 'g', 'M', 'i', 'n', 'u', 't', 'e', 's', '=', '1'});
  WriteAlarms([](TAlarmStore& s) { Daily(s, EncodeTime(7, 5, 20, 0), L"Подъём", L"", L"a.wav"); });
  Start();
  RunToWakeTimer();
  for (int ring = 1; ring <= 3; ++ring) {
    SCOPED_TRACE(ring);
    ASSERT_TRUE(wakeUp->Visible());
    EXPECT_EQ(wakeUp->RingTimer.Interval(), kMinute);
    EXPECT_TRUE(wakeUp->RingTimer.Enabled());
    clock.Advance(kMinute);
    wakeUp->RingTimer.Tick();
    EXPECT_FALSE(wakeUp->Visible());
    if (ring < 3) {
      ASSERT_EQ(mainWindow().Snoozes().size(), 1u);
      EXPECT_EQ(mainWindow().Snoozes()[0].Unanswered, ring);
      EXPECT_EQ(mainWindow().Snoozes()[0].DueUtcMs, clock.UtcMs + 10 * kMinute) << "SnoozeMinutes";
      EXPECT_TRUE(MissedLines().empty());
      RunToWakeTimer();
    }
  }
  EXPECT_TRUE(mainWindow().Snoozes().empty()) << "stopped for good";
  EXPECT_TRUE(mainWindow().MissedForm().Visible());
  EXPECT_EQ(MissedLines(), std::vector<std::wstring>{L"08.12.2026 7:27:20   Ежедневно   Подъём"});
  mainWindow().MissedForm().OK.Click();
  EXPECT_FALSE(mainWindow().MissedForm().Visible());

  // Answering in between starts the count anew.
  clock.Advance(24 * 60 * kMinute - 23 * kMinute);  // 07:05:20 the next day
  wakeTimer.Fire();
  ASSERT_TRUE(wakeUp->Visible());
  wakeUp->RingTimer.Tick();
  RunToWakeTimer();
  wakeUp->OK.Click();
  EXPECT_TRUE(mainWindow().Snoozes().empty());
}

TEST_F(Ringing, AfterARunAnHourAgoOldMomentsAreListedAndRecentOnesRingOnce) {
  WriteAlarms([](TAlarmStore& s) {
    Daily(s, EncodeTime(6, 35, 0, 0), L"Тридцать минут назад");
    Daily(s, EncodeTime(7, 3, 0, 0), L"Две минуты назад");
    Daily(s, EncodeTime(5, 0, 0, 0), L"Два часа назад");
    s.BootCountdownAlarms[0].AlarmTime = EncodeTime(0, 30, 0, 0);  // uptime is 1 h
    s.BootCountdownCount = 1;
  });
  WriteState(LocalSecondAt(6, 5, 9));
  Start();
  EXPECT_TRUE(wakeUp->Visible());
  EXPECT_EQ(wakeUp->Memo.Text(), L"Две минуты назад");
  EXPECT_EQ(MissedLines(), std::vector<std::wstring>{
                               L"08.12.2026 6:35:00   Ежедневно   Тридцать минут назад"});
  EXPECT_TRUE(mainWindow().MissedForm().Visible());
  EXPECT_EQ(SavedState().LastExamined, LocalSecondAt(7, 5, 9));
  // Nothing rings twice.
  wakeUp->OK.Click();
  for (int i = 0; i < 3; ++i) {
    clock.Advance(1000);
    mainWindow().Time.Tick();
  }
  EXPECT_FALSE(wakeUp->Visible());

  // A restart a minute later misses nothing more; one after a week lists
  // every alarm with its count, and rings the one 3 minutes late.
  clock.Advance(kMinute);
  Restart();
  EXPECT_FALSE(wakeUp->Visible());
  EXPECT_EQ(MissedLines().size(), 0u);
  mainWindow().ProgramEnds();
  clock.Advance(7LL * 24 * 60 * kMinute);
  Restart();
  EXPECT_EQ(MissedLines(),
            (std::vector<std::wstring>{
                L"15.12.2026 5:00:00   Ежедневно   Два часа назад   (пропущено: 7)",
                L"15.12.2026 6:35:00   Ежедневно   Тридцать минут назад   (пропущено: 7)",
                L"14.12.2026 7:03:00   Ежедневно   Две минуты назад   (пропущено: 6)"}));
  EXPECT_EQ(wakeUp->Memo.Text(), L"Две минуты назад");
}

TEST_F(Ringing, TheFirstStartInAFolderMissesNothingAndADamagedStateIsKeptAside) {
  WriteAlarms([](TAlarmStore& s) { Daily(s, EncodeTime(6, 0, 0, 0), L"Старое"); });
  Start();
  EXPECT_FALSE(wakeUp->Visible());
  EXPECT_FALSE(mainWindow().MissedForm().Visible());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(SavedState().LastExamined, LocalSecondAt(7, 5, 8)) << "written at once";

  const Bytes alarmRec = ReadBytes(dir.Path(L"alarm.rec"));
  WriteBytes(dir.Path(L"Tivorra.state"), {'?', '?'});
  Restart(false);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find(L"Tivorra.state.bad"), std::wstring::npos);
  EXPECT_EQ(ReadBytes(dir.Path(L"Tivorra.state.bad")), (Bytes{'?', '?'}));
  EXPECT_FALSE(mainWindow().MissedForm().Visible()) << "an unknown past misses nothing";
  EXPECT_TRUE(SavedState().LastExamined) << "a sound file in its place";
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec")), alarmRec);
}

TEST_F(Ringing, TivorraIniAndTivorraStateAreReadAndWrittenThroughTheProgramsFiles) {
  const std::string ini = "[Signal]\r\nSnoozeMinutes=45\r\n";
  WriteBytes(dir.Path(L"Tivorra.ini"), Bytes(ini.begin(), ini.end()));
  WriteState(LocalSecondAt(7, 0, 0));
  const Bytes stateBefore = ReadBytes(dir.Path(L"Tivorra.state"));
  // The disk refuses every call from the start on.
  files.FailAt = 1;
  files.Crash = true;
  files.Error = kErrAccessDenied;
  Start();
  EXPECT_EQ(mainWindow().Signal(), TSignalSettings{}) << "the unread file gives the defaults";
  mainWindow().SettingsLink().SettingsApplied({30, 3});
  EXPECT_EQ(mainWindow().Signal(), (TSignalSettings{30, 3})) << "in effect for this run all the same";

  const std::wstring denied = InOutErrorText(kErrAccessDenied);
  const std::wstring told[] = {
      L"Файл Tivorra.state не удалось прочитать",
      L"Не удалось сохранить файл " + dir.ProgramDir() + L"Tivorra.state: " + denied,
      L"Не удалось сохранить настройки в файл " + dir.ProgramDir() + L"config.cfg: " + denied,
      L"Не удалось сохранить настройки в файл " + dir.ProgramDir() + L"Tivorra.ini: " + denied,
  };
  ASSERT_EQ(boxes.shown.size(), std::size(told));
  for (std::size_t i = 0; i < std::size(told); ++i) {
    EXPECT_EQ(boxes.shown[i].text.rfind(told[i], 0), 0u)
        << testing::PrintToString(boxes.shown[i].text);
  }
  EXPECT_EQ(ReadBytes(dir.Path(L"Tivorra.ini")), Bytes(ini.begin(), ini.end()));
  EXPECT_EQ(ReadBytes(dir.Path(L"Tivorra.state")), stateBefore);
}

TEST_F(Ringing, ASecondStartInTheSameFolderFindsTheSnoozeAndTheSignalOfTheFirst) {
  WriteAlarms([](TAlarmStore& s) { Daily(s, EncodeTime(7, 5, 20, 0), L"Подъём"); });
  Start();
  mainWindow().SettingsLink().SettingsApplied({30, 3});
  RunToWakeTimer();
  ASSERT_TRUE(wakeUp->Visible());
  wakeUp->SnoozeBut.Click();
  ASSERT_EQ(mainWindow().Snoozes().size(), 1u);

  // Started again over the first one's windows, as a test that starts the
  // program twice does.
  Start();
  EXPECT_EQ(mainWindow().Signal(), (TSignalSettings{30, 3}));
  ASSERT_EQ(mainWindow().Snoozes().size(), 1u);
  EXPECT_EQ(mainWindow().Snoozes()[0].DueUtcMs, clock.UtcMs + 30 * kMinute);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Ringing, SuspendKeepsTheStateAndResumeTellsWhatWasMissed) {
  WriteAlarms([](TAlarmStore& s) { Daily(s, EncodeTime(7, 30, 0, 0), L"Во сне"); });
  Start();
  fs::remove(dir.Path(L"Tivorra.state"));
  wakeTimer.Suspend();
  EXPECT_TRUE(SavedState().LastExamined);
  clock.Advance(60 * kMinute);
  wakeTimer.Resume();
  EXPECT_FALSE(wakeUp->Visible());
  EXPECT_EQ(MissedLines(), std::vector<std::wstring>{L"08.12.2026 7:30:00   Ежедневно   Во сне"});
  fs::remove(dir.Path(L"Tivorra.state"));
  wakeTimer.SessionEnd();
  EXPECT_EQ(SavedState().LastExamined, LocalSecondAt(8, 5, 9));
}

TEST_F(Ringing, TheTrayOffersToCancelSnoozesOnlyWhileOneWaits) {
  WriteAlarms([](TAlarmStore& s) { Daily(s, EncodeTime(7, 5, 20, 0), L"Подъём"); });
  Start();
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra\n08.12.2026 7:05:20 Подъём");
  RunToWakeTimer();
  wakeUp->SnoozeBut.Click();
  ScriptMenuChoice(-1);
  mainWindow().RzTrayIcon1.Release(TMouseButton::Right);
  ASSERT_EQ(mainWindow().abfPopupMenu1.Items.size(), 10u);
  EXPECT_EQ(mainWindow().abfPopupMenu1.Items[3].Caption, L"Отменить отложенные");
  ScriptMenuChoice(3);
  mainWindow().RzTrayIcon1.Release(TMouseButton::Right);
  EXPECT_TRUE(mainWindow().Snoozes().empty());
  EXPECT_TRUE(SavedState().Snoozes.empty());
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra\n09.12.2026 7:05:20 Подъём");
  ScriptMenuChoice(-1);
  mainWindow().RzTrayIcon1.Release(TMouseButton::Right);
  EXPECT_EQ(mainWindow().abfPopupMenu1.Items.size(), 8u);
}

TEST(MissedLine, TheMessageIsCutToItsFirstLineAndCharacters) {
  EXPECT_EQ(MessageStart(L"Подъём", 40), L"Подъём");
  EXPECT_EQ(MessageStart(L"Подъём\rпора", 40), L"Подъём…");
  EXPECT_EQ(MessageStart(L"Подъём\r", 40), L"Подъём");
  EXPECT_EQ(MessageStart(L"123456789 123", 10), L"123456789…");
  EXPECT_EQ(MessageStart(L"", 10), L"");
}

}  // namespace
