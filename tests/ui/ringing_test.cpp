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
#include "ui/ring_presenter.h"
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







TEST_F(Ringing, TheWindowsShowTheSessionsRingItsSnoozeAndTheMissedList) {
  WriteAlarms([](TAlarmStore& s) {
    Daily(s, EncodeTime(7, 5, 20, 0), L"Подъём", L"C:\\plan.txt", L"C:\\a.wav");
  });
  Start();
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra\n08.12.2026 7:05:20 Подъём");
  RunToWakeTimer();
  ASSERT_TRUE(wakeUp->Visible());
  EXPECT_EQ(wakeUp->Memo.Text(), L"Подъём");
  EXPECT_EQ(shell.opened, std::vector<std::wstring>{L"C:\\plan.txt"});
  wakeUp->SnoozeChoice.PickItem(0);  // "5 мин"
  wakeUp->SnoozeBut.Click();
  EXPECT_FALSE(wakeUp->Visible());
  ASSERT_EQ(mainWindow().Snoozes().size(), 1u);
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra\n08.12.2026 7:10:20 Подъём");

  // Off for an hour: the snooze is over five minutes late at the next start.
  clock.Advance(60 * kMinute);
  Restart(false);
  clock.Advance(1000);
  mainWindow().Time.Tick();
  EXPECT_FALSE(wakeUp->Visible());
  EXPECT_TRUE(mainWindow().MissedForm().Visible());
  EXPECT_EQ(MissedLines(), std::vector<std::wstring>{L"08.12.2026 7:10:20   Ежедневно   Подъём"});
  mainWindow().MissedForm().OK.Click();
  EXPECT_FALSE(mainWindow().MissedForm().Visible());
  EXPECT_TRUE(mainWindow().Session().Missed().empty()) << "read: the list starts anew";
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


TEST_F(Ringing, TheTrayOffersToCancelSnoozesOnlyWhileOneWaits) {
  WriteAlarms([](TAlarmStore& s) { Daily(s, EncodeTime(7, 5, 20, 0), L"Подъём"); });
  Start();
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra\n08.12.2026 7:05:20 Подъём");
  RunToWakeTimer();
  wakeUp->SnoozeBut.Click();
  ScriptMenuChoice(-1);
  mainWindow().RzTrayIcon1.Release(TMouseButton::Right);
  // With the snooze, the daily alarm's skip after it.
  ASSERT_EQ(mainWindow().abfPopupMenu1.Items.size(), 13u);
  EXPECT_EQ(mainWindow().abfPopupMenu1.Items[3].Caption, L"Отменить отложенные");
  ScriptMenuChoice(3);
  mainWindow().RzTrayIcon1.Release(TMouseButton::Right);
  EXPECT_TRUE(mainWindow().Snoozes().empty());
  EXPECT_TRUE(SavedState().Snoozes.empty());
  EXPECT_EQ(mainWindow().RzTrayIcon1.Hint(), L"Tivorra\n09.12.2026 7:05:20 Подъём");
  ScriptMenuChoice(-1);
  mainWindow().RzTrayIcon1.Release(TMouseButton::Right);
  EXPECT_EQ(mainWindow().abfPopupMenu1.Items.size(), 11u);
  EXPECT_EQ(mainWindow().abfPopupMenu1.Items[3].Caption.rfind(L"Пропустить ближайший", 0), 0u);
}

TEST(TrayHint, NamesTheNextRingInLocalTimeAndKeepsToSixtyThreeCharacters) {
  TFakeRegionalFormats formats;
  const TClockReading now{EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 9, 0), 1700000000000};
  EXPECT_EQ(TrayHint(std::nullopt, now, formats), L"Tivorra");
  EXPECT_EQ(TrayHint(TRingSession::TNextRing{now.UtcMs + 3600000, L"Подъём\rпора"}, now, formats),
            L"Tivorra\n08.12.2026 8:05:09 Подъём…");
  const std::wstring hint =
      TrayHint(TRingSession::TNextRing{now.UtcMs, std::wstring(100, L'я')}, now, formats);
  EXPECT_EQ(hint, L"Tivorra\n08.12.2026 7:05:09 " + std::wstring(24, L'я') + L"…");
  EXPECT_LE(hint.size(), 63u);
}

TEST(MissedLine, TheMessageIsCutToItsFirstLineAndCharacters) {
  EXPECT_EQ(MessageStart(L"Подъём", 40), L"Подъём");
  EXPECT_EQ(MessageStart(L"Подъём\rпора", 40), L"Подъём…");
  EXPECT_EQ(MessageStart(L"Подъём\r", 40), L"Подъём");
  EXPECT_EQ(MessageStart(L"123456789 123", 10), L"123456789…");
  EXPECT_EQ(MessageStart(L"", 10), L"");
}

}  // namespace
