// Skipping an alarm's next occurrence in the built Tivorra.exe with a real
// mouse and keyboard, and the days off that silence the daily alarms: each
// proves the clock got to the alarm's minute by a countdown that rings in
// it, while the daily alarm stays silent.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "e2e/driver.h"
#include "platform/date_time.h"
#include "store/alarm_file.h"
#include "store/program_state.h"
#include "test_support.h"

using namespace std::chrono_literals;

namespace {

using namespace e2e;

constexpr wchar_t kDailyMessage[] = L"Подъём";
constexpr wchar_t kCountdownMessage[] = L"Отсчёт в ту же минуту";

// A moment at least `ahead` seconds away with a second after it in the same
// minute, for the daily alarm; the countdown rings that second after it.
std::int64_t DailyMomentAhead(int ahead) {
  std::int64_t due = LocalSecondNow() + ahead;
  if (due % 60 == 59) ++due;
  return due;
}

// A daily alarm at `daily` and a countdown one second later.
void SaveAlarms(const TempDir& dir, std::int64_t daily) {
  auto store = std::make_unique<TAlarmStore>();
  *store = {};
  store->DailyCount = 1;
  store->DailyAlarms[0].AlarmTime = static_cast<double>(daily % 86400) / 86400.0;
  ToShortString(kDailyMessage, store->DailyAlarms[0].Msg);
  store->CountdownCount = 1;
  store->CountdownAlarms[0].AlarmTime = static_cast<double>(daily + 1) / 86400.0;
  ToShortString(kCountdownMessage, store->CountdownAlarms[0].Msg);
  TAlarmFileState file;
  EXPECT_TRUE(::SaveAlarms(*store, dir.ProgramDir(), file).Saved());
}

// The program with the list shown, once its start-up is over.
HWND StartWithList(Program& p, const TempDir& dir) {
  // Started with Windows, so the start-up ends by writing the Run value.
  WriteBytes(dir.Path(L"config.cfg"), {1, 0, 0, 1, 0, 0, 0});
  RemoveRunValue();
  p.Start();
  HWND main = p.Main();
  if (main) {
    EXPECT_TRUE(WaitFor([] { return RunValue().has_value(); }, 5s)) << "the start-up did not end";
  }
  return main;
}

// The program's daily tab chosen with the mouse; the list.
HWND StartOnDailyTab(Program& p, const TempDir& dir) {
  HWND main = StartWithList(p, dir);
  if (!main) return nullptr;
  HWND tabs = FindControl(main, WC_TABCONTROLW);
  EXPECT_TRUE(ClickTab(p.Process(), tabs, 1));
  HWND list = FindControl(main, L"ListBox");
  EXPECT_TRUE(WaitFor([&] { return Rows(list).size() == 1; }, 5s));
  return list;
}

RECT RowOnScreen(HWND list, int row) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The row menu, once it is open.
HWND OpenMenu(const Program& p) {
  HWND menu = nullptr;
  WaitFor([&] { return (menu = p.WindowOfClass(L"#32768", true)) != nullptr; }, 5s);
  return menu;
}

bool RowShowsSkip(HWND list) {
  const auto rows = Rows(list);
  return rows.size() == 1 && rows[0].find(L"пропуск") != std::wstring::npos;
}

// Watches the wake-up window until it shows: the text it first shows, and
// the local second it showed at.
struct TFirstRing {
  std::wstring Text;
  std::int64_t Second = 0;
};
TFirstRing WatchFirstRing(const Program& p, std::chrono::milliseconds limit) {
  TFirstRing first;
  WaitFor(
      [&] {
        HWND wake = p.Window(L"Будильник");
        if (!wake) return false;
        first.Second = LocalSecondNow();
        first.Text = TextOf(ChildWithClass(wake, L"EDIT"));
        return true;
      },
      limit);
  return first;
}

void CloseProgram(Program& p) {
  if (HWND wake = p.Window(L"Будильник")) Press(FindControl(wake, L"Button", L"OK"));
  HWND main = p.Window(L"Tivorra", false);
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10s));
}

TEST(SkipProgram, ARightClickSkipsTheDailyAlarmAndOnlyTheCountdownRings) {
  TempDir dir;
  const std::int64_t due = DailyMomentAhead(40);
  SaveAlarms(dir, due);
  Program p(dir);
  HWND list = StartOnDailyTab(p, dir);
  ASSERT_NE(list, nullptr);

  // The real mouse's right button on the row: the row is selected and its
  // menu opens where the mouse is.
  const RECT row = RowOnScreen(list, 0);
  const POINT at{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
  RightClickScreen(at);
  HWND menu = OpenMenu(p);
  ASSERT_NE(menu, nullptr) << "no menu opened";
  RECT placed{};
  GetWindowRect(menu, &placed);
  EXPECT_LE(std::abs(placed.left - at.x), 2);
  EXPECT_LE(std::abs(placed.top - at.y), 2);
  EXPECT_EQ(SelectedRow(list), 0);
  // "Пропустить следующий", the first item.
  Keys({VK_DOWN, VK_RETURN});
  ASSERT_TRUE(WaitFor([&] { return RowShowsSkip(list); }, 5s));
  const auto skips = LoadProgramState(dir.ProgramDir()).State.Skips;
  ASSERT_EQ(skips.size(), 1u);
  EXPECT_EQ(skips[0].LocalSecond, due);
  ASSERT_LT(LocalSecondNow(), due) << "the start took too long: the alarm's moment has passed";

  // The countdown rings a second after the daily alarm's moment; the daily
  // alarm did not ring before it.
  const TFirstRing first = WatchFirstRing(p, std::chrono::seconds(due + 20 - LocalSecondNow()));
  EXPECT_EQ(first.Text, kCountdownMessage);
  EXPECT_GE(first.Second, due + 1);
  EXPECT_TRUE(WaitFor([&] { return !RowShowsSkip(list); }, 5s)) << "the skip's moment passed";
  EXPECT_TRUE(LoadProgramState(dir.ProgramDir()).State.Skips.empty());
  EXPECT_EQ(p.Window(L"Пропущенные будильники"), nullptr) << "a skip is not missed";
  CloseProgram(p);
}

TEST(SkipProgram, TheKeyboardAloneReachesTheRowAndOpensItsMenuThere) {
  TempDir dir;
  SaveAlarms(dir, LocalSecondNow() + 3600);
  Program p(dir);
  HWND main = StartWithList(p, dir);
  ASSERT_NE(main, nullptr);
  // To the tabs, one to the right (the daily alarms), into the list and
  // down onto its row.
  HWND tabs = FindControl(main, WC_TABCONTROLW);
  HWND list = FindControl(main, L"ListBox");
  ASSERT_TRUE(TabTo(main, tabs)) << "Tab did not reach the tabs";
  Keys({VK_RIGHT});
  ASSERT_TRUE(WaitFor([&] { return Rows(list).size() == 1; }, 5s)) << "no daily tab";
  ASSERT_TRUE(TabTo(main, list)) << "Tab did not reach the list";
  Keys({VK_DOWN});
  ASSERT_TRUE(WaitFor([&] { return SelectedRow(list) == 0; }, 5s));
  const RECT row = RowOnScreen(list, 0);
  const struct {
    const char* name;
    std::function<void()> open;
    bool skipped;  // after choosing the first item
  } cases[] = {
      {"Shift+F10", [] { Keys({VK_F10}, true); }, true},
      {"the menu key", [] { Keys({VK_APPS}); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.open();
    HWND menu = OpenMenu(p);
    ASSERT_NE(menu, nullptr) << "no menu opened";
    RECT placed{};
    GetWindowRect(menu, &placed);
    EXPECT_TRUE(placed.left >= row.left && placed.left < row.right && placed.top >= row.top &&
                placed.top < row.bottom)
        << "the menu opened at " << placed.left << "," << placed.top;
    Keys({VK_DOWN, VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return RowShowsSkip(list) == c.skipped; }, 5s));
    EXPECT_TRUE(WaitFor([&] { return p.WindowOfClass(L"#32768", true) == nullptr; }, 5s));
  }
  CloseProgram(p);
}

TEST(SkipProgram, OnADayOffTheDailyAlarmIsSilentWhileTheCountdownRings) {
  TempDir dir;
  const std::int64_t due = DailyMomentAhead(25);
  const auto day = DateOfDay(due / kSecondsPerDay);
  ASSERT_TRUE(day.has_value());
  char date[16];
  std::snprintf(date, sizeof date, "%04u-%02u-%02u", static_cast<unsigned>(day->Year),
                static_cast<unsigned>(day->Month), static_cast<unsigned>(day->Day));
  const std::string ini = std::string("[DaysOff]\r\n") + date + "\r\n";
  WriteBytes(dir.Path(L"Tivorra.ini"), Bytes(ini.begin(), ini.end()));
  SaveAlarms(dir, due);
  Program p(dir);
  p.Start();
  ASSERT_NE(p.Main(), nullptr);
  ASSERT_LT(LocalSecondNow(), due) << "the start took too long: the alarm's moment has passed";
  const TFirstRing first = WatchFirstRing(p, std::chrono::seconds(due + 20 - LocalSecondNow()));
  EXPECT_EQ(first.Text, kCountdownMessage) << "the daily alarm rang on a day off";
  EXPECT_GE(first.Second, due + 1);
  EXPECT_EQ(p.Window(L"Пропущенные будильники"), nullptr);
  CloseProgram(p);
}

}  // namespace
#endif
