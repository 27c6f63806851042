// The main window and the wake timer: the clock that stops while the
// window is unseen, the ring that still comes, and what storing an alarm
// tells. What is scheduled and held is the ring session's own tests'.
#include <gtest/gtest.h>

#include "platform/date_time.h"
#include "ui/main_window_fixture.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TEST_F(MainForm, MinimizedOnlyTheWakeTimerWakesAndItRingsOnTheSecond) {
  // The clock reads 07:05:09.400; the alarm is due at 07:05:20.
  const std::int64_t dueUtc = clock.UtcMs + 10600;
  WriteDailyAlarm(EncodeTime(7, 5, 20, 0), L"Доброе утро");
  Start();
  EXPECT_EQ(wakeTimer.at, dueUtc) << "set when the store was loaded";
  EXPECT_EQ(mainWindow->RzTrayIcon1.Hint(), L"Tivorra\n08.12.2026 7:05:20 Доброе утро");
  app.Minimize();
  EXPECT_FALSE(mainWindow->Time.Enabled());

  clock.Advance(10600);
  wakeTimer.Fire();
  EXPECT_TRUE(wakeUpWindow()->Visible());
  EXPECT_EQ(wakeUpWindow()->Memo.Text(), L"Доброе утро");
  EXPECT_EQ(mainWindow->RzTrayIcon1.Hint(), L"Tivorra\n09.12.2026 7:05:20 Доброе утро");
  wakeUpWindow()->OK.Click();
  EXPECT_FALSE(wakeUpWindow()->Visible());

  clock.Advance(60000);
  app.Restore();
  EXPECT_TRUE(mainWindow->Time.Enabled());
  EXPECT_NE(mainWindow->LabelTime.Caption().find(L"Время 7:06:20"), std::wstring::npos)
      << "the clock is refreshed as the window comes back";
#ifdef _WIN32
  // The real window reports the same through the window system.
  HWND main = static_cast<HWND>(mainWindow->Peer().Handle());
  ShowWindow(main, SW_MINIMIZE);
  EXPECT_FALSE(mainWindow->Time.Enabled());
  ShowWindow(main, SW_RESTORE);
  EXPECT_TRUE(mainWindow->Time.Enabled());
#endif
}

TEST_F(MainForm, StoringAnAlarmTellsOncePerRunThatWindowsWillNotWakeThePc) {
  Start();
  const auto warnings = [&] {
    int n = 0;
    for (const auto& b : boxes.shown) n += b.text == kPcWillNotWakeText;
    return n;
  };
  const auto add = [&] {
    mainWindow->NewBut.Click();
    mainWindow->cxObrat.Click();
    mainWindow->cxTimeEdit.PickValue(EncodeTime(1, 0, 0, 0));
    mainWindow->AddBut.Click();
  };
  // Each step: the plan and the power source, then whether storing warned.
  const struct {
    TWakeTimerSettings plan;
    TPowerSource source;
    int warnings;
  } steps[] = {
      {{}, TPowerSource::Mains, 0},       // Windows cannot tell
      {{1, 1}, TPowerSource::Mains, 0},   // timers wake it
      {{1, 0}, TPowerSource::Mains, 0},   // off on battery, but on mains now
      {{1, 0}, TPowerSource::Battery, 1},  // unplugged
      {{0, 0}, TPowerSource::Mains, 1},   // once per run
  };
  EXPECT_EQ(warnings(), 0) << "not at start";
  for (const auto& s : steps) {
    power.settings = s.plan;
    power.source = s.source;
    add();
    EXPECT_EQ(warnings(), s.warnings);
  }
  EXPECT_EQ(state->Store.CountdownCount, 5) << "the warning stores every alarm all the same";
}

}  // namespace
