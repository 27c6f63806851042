// Starts the built Tivorra.exe in a throw-away program folder and drives it
// from another process, through its windows, as a user would.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "e2e/driver.h"
#include "fakes/fake_services.h"
#include "platform/date_time.h"
#include "platform/win32/clock_win32.h"
#include "store/alarm_file.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

using namespace e2e;

TEST(Program, FirstStartShowsTheSmallLayoutAndClosingSavesBothFiles) {
  TempDir dir;
  RemoveRunValue();
  Program p(dir);
  p.Start();
  HWND main = p.Main();
  ASSERT_NE(main, nullptr);
  // The windows the first screen does not show are not made; the wake-up
  // window is, once the main window is up, so that a ring never waits.
  EXPECT_TRUE(WaitFor([&] { return p.Window(L"Будильник", false) != nullptr; }, 5s));
  EXPECT_EQ(p.Window(L"Настройки", false), nullptr) << "settings made at start";
  EXPECT_EQ(p.Window(L"О программе", false), nullptr) << "about made at start";
  EXPECT_EQ(p.Window(L"Пропущенные будильники", false), nullptr) << "missed made at start";
  const auto clientIs = [&](int width, int height) {
    RECT client{};
    const bool sized = WaitFor(
        [&] {
          GetClientRect(main, &client);
          return client.right == width && client.bottom == height;
        },
        5s);
    EXPECT_TRUE(sized) << "client area " << client.right << " x " << client.bottom;
  };
  clientIs(149, 221);
  // Start with Windows is on from the first start.
  EXPECT_TRUE(WaitFor([] { return RunValue().has_value(); }, 5s)) << "no Run value";
  EXPECT_EQ(RunValue().value_or(L""), L"\"" + p.ExePath() + L"\" /minimize");
  EXPECT_EQ(p.MessageBox(), nullptr);
  EXPECT_FALSE(fs::exists(dir.Path(L"config.cfg")));

  // The list's toggle saves the settings at once.
  ASSERT_TRUE(Press(FindWindowExW(main, nullptr, L"Button", L">>")));
  clientIs(565, 221);
  EXPECT_EQ(ReadBytes(dir.Path(L"config.cfg")), (Bytes{1, 0, 0, 1, 0, 0, 0}));
  ASSERT_TRUE(Press(FindWindowExW(main, nullptr, L"Button", L"<<")));
  clientIs(149, 221);
  EXPECT_EQ(ReadBytes(dir.Path(L"config.cfg")), (Bytes{0, 0, 0, 1, 0, 0, 0}));

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10s)) << "closing the main window did not end the program";
  EXPECT_EQ(ReadBytes(dir.Path(L"config.cfg")), (Bytes{0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(fs::file_size(dir.Path(L"alarm.rec")), 389616u);
}

// An alarm.rec with one countdown that falls due `seconds` from now.
void SaveCountdown(const TempDir& dir, int seconds) {
  auto store = std::make_unique<TAlarmStore>();
  *store = {};
  store->CountdownCount = 1;
  TWin32Clock clock;
  store->CountdownAlarms[0].AlarmTime = clock.Now().Local + seconds / 86400.0;
  ToShortString(L"Пора вставать!", store->CountdownAlarms[0].Msg);
  TAlarmFileState file;
  TFakeMessageBoxes boxes;
  EXPECT_TRUE(SaveAlarms(*store, dir.ProgramDir(), file).Saved());
}

// Visible top-level windows of any process with this title.
int CountWindows(const wchar_t* title) {
  struct Search {
    const wchar_t* title;
    int count;
  } s{title, 0};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t text[64] = {};
        GetWindowTextW(h, text, 64);
        if (IsWindowVisible(h) && std::wstring(text) == s->title) ++s->count;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.count;
}

TEST(Program, ASecondStartInTheSameFolderEndsAndTheAlarmRingsOnce) {
  TempDir dir;
  SaveCountdown(dir, 8);
  // Both in the same second, as the Run value and a double click can be.
  Program first(dir), second(dir);
  first.Start();
  second.Start();
  ASSERT_TRUE(WaitFor([&] { return first.Ended(0ms) || second.Ended(0ms); }, 15s))
      << "both starts kept running";
  const Program& running = first.Ended(0ms) ? second : first;
  const Program& ended = first.Ended(0ms) ? first : second;
  EXPECT_EQ(ended.ExitCode(), 0u);
  ASSERT_TRUE(WaitFor([&] { return running.Window(L"Tivorra") != nullptr; }, 15s));

  HWND wake = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wake = running.Window(L"Будильник")) != nullptr; }, 20s));
  // Long enough for a second copy's tick to have rung as well.
  std::this_thread::sleep_for(2500ms);
  EXPECT_EQ(CountWindows(L"Будильник"), 1);
  EXPECT_EQ(CountWindows(L"Tivorra"), 1);

  ASSERT_TRUE(Press(ChildWithClass(wake, L"BUTTON")));
  PostMessageW(running.Window(L"Tivorra"), WM_CLOSE, 0, 0);
  EXPECT_TRUE(running.Ended(10s));
}

TEST(Program, ALaterStartBringsTheRunningOneForwardAndMinimizeJustEnds) {
  TempDir dir;
  Program first(dir);
  first.Start();
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = first.Window(L"Tivorra")) != nullptr; }, 15s));
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != FALSE; }, 5s));

  // The Run value's start only wanted the program running: it stays down.
  Program quiet(dir);
  quiet.Start(L"/minimize");
  ASSERT_TRUE(quiet.Ended(10s));
  EXPECT_EQ(quiet.ExitCode(), 0u);
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(IsIconic(main)) << "a start with /minimize brought the program up";

  Program user(dir);
  user.Start();
  ASSERT_TRUE(user.Ended(10s));
  EXPECT_EQ(user.ExitCode(), 0u);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(main) && IsWindowVisible(main); }, 5s))
      << "the running copy did not come forward";
  EXPECT_FALSE(first.Ended(0ms));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(first.Ended(10s));
}

TEST(Program, CopiesInTwoFoldersRunSideBySide) {
  TempDir one, two;
  Program a(one), b(two);
  a.Start();
  b.Start();
  HWND mainA = nullptr, mainB = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (mainA = a.Window(L"Tivorra")) != nullptr; }, 15s));
  ASSERT_TRUE(WaitFor([&] { return (mainB = b.Window(L"Tivorra")) != nullptr; }, 15s));
  EXPECT_FALSE(a.Ended(0ms));
  EXPECT_FALSE(b.Ended(0ms));
  PostMessageW(mainA, WM_CLOSE, 0, 0);
  PostMessageW(mainB, WM_CLOSE, 0, 0);
  EXPECT_TRUE(a.Ended(10s));
  EXPECT_TRUE(b.Ended(10s));
  EXPECT_TRUE(fs::exists(one.Path(L"alarm.rec")));
  EXPECT_TRUE(fs::exists(two.Path(L"alarm.rec")));
}

TEST(Program, AnAlarmFileHeldByAnotherProgramAtStartIsNotLost) {
  TempDir dir;
  SaveCountdown(dir, 3600);
  const Bytes original = ReadBytes(dir.Path(L"alarm.rec"));
  Program p(dir);
  {
    HeldFile held(dir.Path(L"alarm.rec"), 0);
    ASSERT_TRUE(held.Held());
    p.Start();
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = p.MessageBox()) != nullptr; }, 20s));
    wchar_t text[128] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 128);
    EXPECT_EQ(std::wstring(text), L"Не удалось открыть файл!");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return p.MessageBox() == nullptr; }, 5s))
        << "a message box is still open";
  }
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = p.Window(L"Tivorra")) != nullptr; }, 15s));
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10s));
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec")), original) << "closing replaced the unread file";
  EXPECT_TRUE(fs::exists(dir.Path(L"config.cfg")));
}

TEST(Program, ACountdownAlarmRaisesTheWakeUpWindow) {
  TempDir dir;
  SaveCountdown(dir, 8);  // a busy machine can take seconds to start Wine

  Program p(dir);
  p.Start();
  HWND wake = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wake = p.Window(L"Будильник")) != nullptr; }, 20s));
  EXPECT_EQ(TextOf(ChildWithClass(wake, L"EDIT")), L"Пора вставать!");

  ASSERT_TRUE(Press(ChildWithClass(wake, L"BUTTON")));
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 5s));
  HWND main = p.Window(L"Tivorra");
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(p.Ended(10s));
}

// Universal time in ms since 1970, as precisely as Windows tells it.
std::int64_t UtcNowMs() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  const std::uint64_t t = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<std::int64_t>((t - 116444736000000000ull) / 10000);
}

TEST(Program, ACountdownRingsOnItsSecondWhileAMessageBoxIsOpen) {
  TempDir dir;
  WriteBytes(dir.Path(L"config.cfg"), {1, 1, 0});  // too short: "Ошибка чтения!" at start
  TWin32Clock clock;
  const TClockReading now = clock.Now();
  // Due on a whole second eight seconds on, so the due moment is exact and
  // a slow start of Wine on a busy machine is over by then.
  const std::int64_t dueUtc = (now.UtcMs / 1000 + 8) * 1000;
  const std::int64_t dueLocalMs = RoundedMs(now.Local).value() + (dueUtc - now.UtcMs);
  auto store = std::make_unique<TAlarmStore>();
  *store = {};
  store->CountdownCount = 1;
  store->CountdownAlarms[0].AlarmTime = static_cast<double>(dueLocalMs) / kMsPerDay;
  ToShortString(L"Вовремя", store->CountdownAlarms[0].Msg);
  TAlarmFileState file;
  TFakeMessageBoxes boxes;
  EXPECT_TRUE(SaveAlarms(*store, dir.ProgramDir(), file).Saved());

  Program p(dir);
  p.Start();
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"Tivorra")) != nullptr; }, 7s))
      << "the message box did not open in time";
  HWND wake = nullptr;
  std::int64_t shownAt = 0;
  while (UtcNowMs() < dueUtc + 3000) {
    if (!wake) wake = p.Window(L"Будильник");
    if (wake && IsWindowVisible(wake)) {
      shownAt = UtcNowMs();
      break;
    }
    Sleep(1);
  }
  ASSERT_NE(shownAt, 0) << "the alarm did not ring";
  // Generous bounds: a loaded machine delays any window; bench/ measures.
  EXPECT_GE(shownAt, dueUtc - 2);
  EXPECT_LT(shownAt, dueUtc + 500);
  EXPECT_TRUE(IsWindow(box)) << "it rang while the message box was open";
  EXPECT_EQ(TextOf(ChildWithClass(wake, L"EDIT")), L"Вовремя");
}

}  // namespace
#endif
