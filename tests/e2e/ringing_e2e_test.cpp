// Snoozes and missed alarms through the built Tivorra.exe: files written by
// the test stand for the time that passed between runs, so nothing here
// waits for minutes.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "e2e/driver.h"
#include "fakes/fake_services.h"
#include "platform/win32/clock_win32.h"
#include "store/alarm_file.h"
#include "store/program_state.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

using namespace e2e;

std::int64_t UtcNowMs() {
  TWin32Clock clock;
  return clock.Now().UtcMs;
}

void Save(const TempDir& dir, const TAlarmStore& store) {
  TAlarmFileState file;
  TFakeMessageBoxes boxes;
  EXPECT_TRUE(SaveAlarms(store, dir.ProgramDir(), file).Saved());
}

std::unique_ptr<TAlarmStore> EmptyStore() {
  auto store = std::make_unique<TAlarmStore>();
  *store = {};
  return store;
}

HWND WaitForWindow(const Program& p, const wchar_t* title, std::chrono::milliseconds limit) {
  HWND w = nullptr;
  WaitFor([&] { return (w = p.Window(title)) != nullptr; }, limit);
  return w;
}

// One countdown due in `seconds`, as the editor would store it.
void SaveCountdown(const TempDir& dir, int seconds, const std::wstring& message) {
  auto store = EmptyStore();
  store->CountdownCount = 1;
  store->CountdownAlarms[0].AlarmTime = TWin32Clock().Now().Local + seconds / 86400.0;
  ToShortString(message, store->CountdownAlarms[0].Msg);
  Save(dir, *store);
}

void CloseProgram(Program& p) {
  HWND main = p.Window(L"Tivorra", false);
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10s));
}

TEST(RingingProgram, ASnoozeIsKeptAcrossARestartAndRingsAgainOnItsInstant) {
  TempDir dir;
  SaveCountdown(dir, 6, L"Пора вставать!");

  {
    Program p(dir);
    p.Start();
    HWND wake = WaitForWindow(p, L"Будильник", 20s);
    ASSERT_NE(wake, nullptr);
    HWND choice = FindControl(wake, L"ComboBox");
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(ComboItems(choice),
              (std::vector<std::wstring>{L"5 мин", L"10 мин", L"15 мин", L"30 мин", L"1 час"}));
    EXPECT_EQ(TextOf(choice), L"10 мин");
    PickItem(choice, 0);
    const std::int64_t pressed = UtcNowMs();
    ASSERT_TRUE(Press(FindControl(wake, L"Button", L"Отложить")));
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 5s));
    const TProgramState s = LoadProgramState(dir.ProgramDir()).State;
    ASSERT_EQ(s.Snoozes.size(), 1u);
    EXPECT_NEAR(static_cast<double>(s.Snoozes[0].DueUtcMs - pressed), 5 * 60000.0, 3000.0);
    CloseProgram(p);
  }

  // Five minutes pass while the program is closed: the snooze is 3 s away.
  TStateLoad load = LoadProgramState(dir.ProgramDir());
  ASSERT_EQ(load.State.Snoozes.size(), 1u);
  const std::int64_t due = UtcNowMs() + 3000;
  load.State.Snoozes[0].DueUtcMs = due;
  ASSERT_EQ(SaveProgramState(load.State, dir.ProgramDir()), 0);

  Program p(dir);
  p.Start();
  HWND wake = WaitForWindow(p, L"Будильник", 15s);
  const std::int64_t shown = UtcNowMs();
  ASSERT_NE(wake, nullptr);
  EXPECT_GE(shown, due);
  EXPECT_LT(shown - due, 1500) << "rings on its instant, not at the next check";
  EXPECT_EQ(TextOf(ChildWithClass(wake, L"EDIT")), L"Пора вставать!");
  EXPECT_TRUE(LoadProgramState(dir.ProgramDir()).State.Snoozes.empty());
  ASSERT_TRUE(Press(FindControl(wake, L"Button", L"OK")));
  CloseProgram(p);
}

TEST(RingingProgram, AfterARunAnHourAgoTheOldAlarmIsListedAndTheRecentOneRingsOnce) {
  TempDir dir;
  auto store = EmptyStore();
  const std::int64_t now = LocalSecondNow();
  const auto timeOfDay = [](std::int64_t second) {
    return static_cast<double>(((second % 86400) + 86400) % 86400) / 86400.0;
  };
  store->DailyCount = 2;
  store->DailyAlarms[0].AlarmTime = timeOfDay(now - 30 * 60);
  ToShortString(L"Полчаса назад", store->DailyAlarms[0].Msg);
  store->DailyAlarms[1].AlarmTime = timeOfDay(now - 2 * 60);
  ToShortString(L"Две минуты назад", store->DailyAlarms[1].Msg);
  Save(dir, *store);
  TProgramState before;
  before.LastExamined = now - 3600;
  ASSERT_EQ(SaveProgramState(before, dir.ProgramDir()), 0);

  Program p(dir);
  p.Start();
  HWND missed = WaitForWindow(p, L"Пропущенные будильники", 15s);
  ASSERT_NE(missed, nullptr);
  const std::vector<std::wstring> rows = Rows(FindControl(missed, L"ListBox"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_NE(rows[0].find(L"Ежедневно   Полчаса назад"), std::wstring::npos);
  HWND wake = WaitForWindow(p, L"Будильник", 5s);
  ASSERT_NE(wake, nullptr);
  EXPECT_EQ(TextOf(ChildWithClass(wake, L"EDIT")), L"Две минуты назад");

  // The ringing alarm lies on top, as a user finds it: answered first.
  HWND ok = FindControl(wake, L"Button", L"OK");
  ASSERT_TRUE(Press(ok));
  if (!WaitFor([&] { return !IsWindowVisible(wake); }, 5s)) {
    // Which window took the click instead.
    RECT r{};
    GetWindowRect(ok, &r);
    HWND under = WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    wchar_t title[128] = L"", cls[64] = L"";
    GetWindowTextW(GetAncestor(under, GA_ROOT), title, 128);
    GetClassNameW(under, cls, 64);
    ADD_FAILURE() << "the wake-up window stays; under its OK lies a " << Cp1251(cls) << " of \""
                  << Cp1251(title) << "\"";
  }
  if (HWND box = p.MessageBox()) {
    ADD_FAILURE() << "a message box holds the windows: " << Cp1251(MessageBoxText(box));
  }
  ASSERT_TRUE(Press(FindControl(missed, L"Button", L"OK")));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(missed); }, 5s));
  std::this_thread::sleep_for(2s);
  EXPECT_FALSE(IsWindowVisible(wake)) << "rang once";
  EXPECT_FALSE(IsWindowVisible(missed));
  CloseProgram(p);
  EXPECT_GE(LoadProgramState(dir.ProgramDir()).State.LastExamined.value_or(0), now);
}

// Two real minutes, too long for every run of the suite: run it by hand with
//   scripts/wine-tests.sh --gtest_also_run_disabled_tests --gtest_filter='*ARingNobodyAnswers*'
TEST(RingingProgram, DISABLED_ARingNobodyAnswersGoesAndComesBack) {
  TempDir dir;
  const std::string ini = "[Signal]\r\nRingMinutes=1\r\nSnoozeMinutes=1\r\n";
  WriteBytes(dir.Path(L"Tivorra.ini"), Bytes(ini.begin(), ini.end()));
  SaveCountdown(dir, 6, L"Никто не слышит");

  Program p(dir);
  p.Start();
  HWND wake = WaitForWindow(p, L"Будильник", 20s);
  ASSERT_NE(wake, nullptr);
  const std::int64_t rang = UtcNowMs();
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 75s)) << "it rang on";
  const std::int64_t went = UtcNowMs();
  EXPECT_NEAR(static_cast<double>(went - rang), 60000.0, 3000.0);
  EXPECT_TRUE(WaitFor(
      [&] { return LoadProgramState(dir.ProgramDir()).State.Snoozes.size() == 1; }, 3s))
      << "it did not snooze itself";
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(wake) != FALSE; }, 75s)) << "it did not come back";
  EXPECT_NEAR(static_cast<double>(UtcNowMs() - went), 60000.0, 3000.0);
  EXPECT_EQ(TextOf(ChildWithClass(wake, L"EDIT")), L"Никто не слышит");
  ASSERT_TRUE(Press(FindControl(wake, L"Button", L"OK")));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 5s));
  CloseProgram(p);
}

// Windows tells the window that registered for the session's notices
// when the workstation is locked and unlocked. Wine cannot lock, so the
// test sends that window what Windows would.
void SendSessionChange(const Program& p, WPARAM change) {
  HWND notices = p.WindowOfClass(L"TivorraWakeTimer", false);
  ASSERT_NE(notices, nullptr);
  SendMessageW(notices, WM_WTSSESSION_CHANGE, change, 1);
}

// Another program's window, in front with the focus in its edit box, as
// the user left the desktop before locking it. Its own thread pumps its
// messages, as another program's would.
class OtherProgramWindow {
 public:
  OtherProgramWindow() {
    thread_ = std::thread([this] {
      HWND w = CreateWindowExW(0, L"STATIC", L"Другая программа", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
      HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10,
                                  200, 24, w, nullptr, nullptr, nullptr);
      SetForegroundWindow(w);
      SetFocus(edit);
      window_ = w;
      threadId_ = GetCurrentThreadId();
      MSG m;
      while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
      DestroyWindow(w);
    });
    WaitFor([this] { return window_.load() != nullptr; }, 5s);
  }
  ~OtherProgramWindow() {
    WaitFor([this] { return PostThreadMessageW(threadId_, WM_QUIT, 0, 0) != FALSE; }, 5s);
    thread_.join();
  }
  HWND Get() const { return window_; }

 private:
  std::atomic<HWND> window_{nullptr};
  std::atomic<DWORD> threadId_{0};
  std::thread thread_;
};

TEST(RingingProgram, AtTheUnlockTheRingIsInFrontAndEnterOnItsFocusedOKAnswersIt) {
  TempDir dir;
  SaveCountdown(dir, 8, L"Экран был заблокирован");
  Program p(dir);
  p.Start();
  HWND main = p.Main();
  ASSERT_NE(main, nullptr);
  ASSERT_NO_FATAL_FAILURE(SendSessionChange(p, WTS_SESSION_LOCK));
  HWND wake = WaitForWindow(p, L"Будильник", 20s);
  ASSERT_NE(wake, nullptr) << "it rings while locked";
  EXPECT_TRUE(LoadProgramState(dir.ProgramDir()).State.Snoozes.empty());

  OtherProgramWindow other;
  ASSERT_NE(other.Get(), nullptr);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == other.Get(); }, 5s))
      << "the other window did not take the front";
  ASSERT_TRUE(IsWindowVisible(wake));

  ASSERT_NO_FATAL_FAILURE(SendSessionChange(p, WTS_SESSION_UNLOCK));
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == wake; }, 5s))
      << "in front lies a window of \"" << Cp1251(TextOf(GetForegroundWindow())) << "\"";
  HWND ok = FindControl(wake, L"Button", L"OK");
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(WaitFor([&] { return FocusOf(wake) == ok; }, 5s))
      << "the focus is on \"" << Cp1251(TextOf(FocusOf(wake))) << "\"";
  EXPECT_EQ(p.Window(L"Пропущенные будильники"), nullptr) << "it rang in sight: nothing missed";

  // A key pressed while the display server still moves its own focus to
  // the window may be lost under load; one more press, while the ring is
  // still in front with "OK" focused, tells that apart from a wrong focus.
  Keys({VK_RETURN});
  if (!WaitFor([&] { return !IsWindowVisible(wake); }, 3s) && GetForegroundWindow() == wake &&
      FocusOf(wake) == ok) {
    Keys({VK_RETURN});
  }
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 5s)) << "Enter did not answer it";
  EXPECT_TRUE(LoadProgramState(dir.ProgramDir()).State.Snoozes.empty()) << "answered, not snoozed";
  CloseProgram(p);
}

// A minute of real time: the shortest ring Tivorra.ini allows.
TEST(RingingProgram, ARingThatEndsUnheardWhileLockedIsNamedAtTheUnlockAndStaysSnoozed) {
  TempDir dir;
  const std::string ini = "[Signal]\r\nRingMinutes=1\r\nSnoozeMinutes=10\r\n";
  WriteBytes(dir.Path(L"Tivorra.ini"), Bytes(ini.begin(), ini.end()));
  SaveCountdown(dir, 6, L"Никто не видел");
  Program p(dir);
  p.Start();
  ASSERT_NE(p.Main(), nullptr);
  ASSERT_NO_FATAL_FAILURE(SendSessionChange(p, WTS_SESSION_LOCK));
  HWND wake = WaitForWindow(p, L"Будильник", 20s);
  ASSERT_NE(wake, nullptr);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 75s)) << "it rang on";
  ASSERT_TRUE(WaitFor(
      [&] { return LoadProgramState(dir.ProgramDir()).State.Snoozes.size() == 1; }, 3s))
      << "it did not snooze itself";
  EXPECT_EQ(p.Window(L"Пропущенные будильники"), nullptr) << "named before the unlock";

  ASSERT_NO_FATAL_FAILURE(SendSessionChange(p, WTS_SESSION_UNLOCK));
  HWND missed = WaitForWindow(p, L"Пропущенные будильники", 5s);
  ASSERT_NE(missed, nullptr);
  const std::vector<std::wstring> rows = Rows(FindControl(missed, L"ListBox"));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_NE(rows[0].find(L"Никто не видел"), std::wstring::npos) << Cp1251(rows[0]);
  const TProgramState s = LoadProgramState(dir.ProgramDir()).State;
  ASSERT_EQ(s.Snoozes.size(), 1u) << "its snooze still stands";
  EXPECT_EQ(s.Snoozes[0].Unanswered, 1);
  EXPECT_NEAR(static_cast<double>(s.Snoozes[0].DueUtcMs - UtcNowMs()), 10 * 60000.0, 5000.0);
  ASSERT_TRUE(Press(FindControl(missed, L"Button", L"OK")));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(missed); }, 5s));

  // Another lock and unlock names it no more.
  ASSERT_NO_FATAL_FAILURE(SendSessionChange(p, WTS_SESSION_LOCK));
  ASSERT_NO_FATAL_FAILURE(SendSessionChange(p, WTS_SESSION_UNLOCK));
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(p.Window(L"Пропущенные будильники"), nullptr);
  CloseProgram(p);
}

}  // namespace
#endif
