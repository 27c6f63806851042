// The main window and the wake timer: what is scheduled, held and told as
// the store, the clock and the window's state change.
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
  app.Minimize();
  EXPECT_FALSE(mainWindow->Time.Enabled());

  clock.Advance(10600);
  wakeTimer.Fire();
  EXPECT_TRUE(wakeUpWindow()->Visible());
  EXPECT_EQ(wakeUpWindow()->Memo.Text(), L"Доброе утро");
  // Once rung, the timer waits for the safety wake, an hour on, since the
  // next ringing is a day away.
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000);
  wakeUpWindow()->OK.Click();

  // A resume runs the check too, and never rings the same second twice.
  clock.Advance(500);
  wakeTimer.Resume();
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

TEST_F(MainForm, TheWakeTimerIsSetAMinuteEarlyAndTheSystemHeldFromThenToTheRing) {
  // The clock reads 07:05:09.400; the alarm is due at 07:35:09.
  const std::int64_t dueUtc = clock.UtcMs + 30 * 60000 - 400;
  WriteDailyAlarm(EncodeTime(7, 35, 9, 0), L"Подъём");
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
  ASSERT_TRUE(wakeUpWindow()->Visible());
  EXPECT_TRUE(power.system);
  EXPECT_TRUE(power.display) << "the screen lights up for the ring";
  // The next ringing is a day away: only the safety wake, no early one.
  EXPECT_EQ(wakeTimer.wakeAt, dueUtc + 24 * 3600000LL - 60000);
  wakeUpWindow()->OK.Click();
  EXPECT_FALSE(power.system);
  EXPECT_FALSE(power.display);
}

TEST_F(MainForm, NoEarlyWakeWhenNothingIsDueAndTheHoldEndsWhenTheAlarmGoes) {
  Start();
  EXPECT_EQ(wakeTimer.wakeAt, std::nullopt);
  mainWindow->Time.Tick();
  state->Store.CountdownCount = 1;
  state->Store.CountdownAlarms[0].AlarmTime = EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 39, 400);
  mainWindow->StoreChanged();
  EXPECT_TRUE(power.system) << "due within the minute";
  EXPECT_EQ(wakeTimer.wakeAt, std::nullopt);
  state->Store.CountdownCount = 0;
  mainWindow->StoreChanged();
  EXPECT_FALSE(power.system) << "deleted before its moment";
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

TEST_F(MainForm, TheWakeTimerFollowsEveryChangeOfStoreAndClock) {
  Start();
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000) << "no alarm: only the safety wake";
  mainWindow->Time.Tick();  // the check has examined 07:05:09

  // An alarm added from the user interface (the editor calls StoreChanged).
  state->Store.CountdownCount = 1;
  state->Store.CountdownAlarms[0].AlarmTime = EncodeDate(2026, 12, 8) + EncodeTime(7, 35, 9, 400);
  mainWindow->StoreChanged();
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 30 * 60000 - 400);

  // The clock is set an hour back: the same local moment is an hour further.
  const int sets = wakeTimer.setCount;
  clock.LocalMs -= 3600000;
  wakeTimer.ClockChanged();
  EXPECT_EQ(wakeTimer.setCount, sets + 1);
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000) << "no later than the safety wake";
  clock.LocalMs += 2 * 3600000;  // and two hours on: the moment has passed
  wakeTimer.ClockChanged();
  EXPECT_EQ(wakeTimer.at, (clock.UtcMs / 1000 + 1) * 1000) << "rings at the next second";

  DeleteAlarm(state->Store, akCountdown, 1);
  mainWindow->StoreChanged();
  EXPECT_EQ(wakeTimer.at, clock.UtcMs + 3600000);
}


}  // namespace
