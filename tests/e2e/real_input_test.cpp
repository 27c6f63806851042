// What a real mouse and a keyboard alone meet in the running program: the
// images on the caption strip, and an alarm made without the mouse.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "e2e/driver.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

using namespace e2e;

// The main window once the program's start-up is over: the last thing the
// start-up writes is the Run value.
HWND StartedMain(const Program& p) {
  HWND main = p.Main();
  EXPECT_TRUE(WaitFor([] { return RunValue().has_value(); }, 5s)) << "the start-up did not end";
  return main;
}

POINT CentreOf(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(Program, AtTheScreensScaleTheImagesOnTheStripHideAndEnd) {
  const struct {
    const char* name;
    Bytes config;  // none: a first start
    const wchar_t* image;
    bool ends;
  } cases[] = {
      {"\"_\" hides the window into the tray", {}, L"_", false},
      {"\"X\" ends the program", {}, L"X", true},
      {"\"X\" with close-to-tray on hides it", {0, 0, 0, 1, 0, 1, 0}, L"X", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (!c.config.empty()) WriteBytes(dir.Path(L"config.cfg"), c.config);
    RemoveRunValue();
    Program p(dir);
    p.Start();
    HWND main = StartedMain(p);
    ASSERT_NE(main, nullptr);
    HWND image = FindControl(main, L"TivorraControl", c.image);
    ASSERT_NE(image, nullptr) << "no control names itself so";
    const POINT at = CentreOf(image);
    EXPECT_EQ(WindowFromPoint(at), image) << "something else lies on top of it";
    ClickScreen(at);
    if (c.ends) {
      ASSERT_TRUE(p.Ended(10s)) << "the program goes on";
      EXPECT_EQ(p.ExitCode(), 0u);
      // It quit at once: the close handler, which saves the settings, did
      // not run.
      EXPECT_FALSE(fs::exists(dir.Path(L"config.cfg")));
      continue;
    }
    // The first tray icon of a session starts Wine's notification area, and
    // the program, adding its icon just after start, waits seconds for it;
    // the click is handled after that.
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main); }, 10s)) << "the window stays";
    EXPECT_FALSE(p.Ended(300ms));
    EXPECT_NE(p.WindowOfClass(L"TivorraTray", false), nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(p.Ended(10s));
  }
}

std::string Narrow(HWND h) {
  const std::wstring text = TextOf(h);
  return Cp1251(text);
}

TEST(Program, AnAlarmIsMadeWithTheKeyboardAlone) {
  TempDir dir;
  RemoveRunValue();
  Program p(dir);
  p.Start();
  HWND main = StartedMain(p);
  ASSERT_NE(main, nullptr);
  HWND newBut = FindWindowExW(main, nullptr, L"Button", L"Новый");
  ASSERT_TRUE(WaitFor([&] { return FocusOf(main) == newBut; }, 5s))
      << "the focus starts on \"" << Narrow(FocusOf(main)) << "\"";
  Keys({VK_SPACE});
  ASSERT_TRUE(Settle(main));
  HWND editor = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        HWND close = FindControl(main, L"Button", L"Закрыть");
        editor = close ? GetParent(close) : nullptr;
        return editor && IsWindowVisible(editor);
      },
      2s))
      << "\"Новый\" did not open the editor";

  // The time: into its picker, to a field, and that field one up.
  HWND picker = FindControl(editor, DATETIMEPICK_CLASSW);
  for (HWND h : FindControls(editor, DATETIMEPICK_CLASSW)) {
    if ((GetWindowLongW(h, GWL_STYLE) & DTS_TIMEFORMAT) == DTS_TIMEFORMAT) picker = h;
  }
  ASSERT_TRUE(TabTo(main, picker)) << "Tab did not reach the time";
  const auto before = PickerTime(p.Process(), picker);
  Keys({VK_RIGHT, VK_UP});
  Settle(main);
  const auto shown = PickerTime(p.Process(), picker);
  ASSERT_TRUE(before && shown);
  EXPECT_NE(std::memcmp(&*before, &*shown, sizeof *shown), 0) << "the up arrow changed nothing";

  // The kind: Tab enters the group at its first button, chosen by nothing
  // yet; the down arrow moves to the next and chooses it.
  HWND date = FindControl(editor, L"Button", L"Дата");
  HWND daily = FindControl(editor, L"Button", L"Ежедневно");
  ASSERT_TRUE(TabTo(main, date)) << "Tab passed the kinds by";
  EXPECT_EQ(CheckState(date), BST_UNCHECKED);
  Keys({VK_DOWN});
  Settle(main);
  EXPECT_EQ(FocusOf(main), daily);
  EXPECT_EQ(CheckState(daily), BST_CHECKED);

  // The message: its box ticked with Space, then typed into the memo.
  HWND msgBox = FindControl(editor, L"Button", L"Вывести сообщение");
  ASSERT_TRUE(TabTo(main, msgBox));
  Keys({VK_SPACE});
  Settle(main);
  EXPECT_EQ(CheckState(msgBox), BST_CHECKED);
  Keys({VK_TAB});
  Settle(main);
  HWND memo = FocusOf(main);
  ASSERT_TRUE(GetWindowLongW(memo, GWL_STYLE) & ES_MULTILINE) << "Tab did not reach the memo";
  TypeChars(L"С клавиатуры");
  Settle(main);
  EXPECT_EQ(TextOf(memo), L"С клавиатуры");

  // Back to "Добавить" and pressed.
  HWND add = FindControl(editor, L"Button", L"Добавить");
  ASSERT_TRUE(TabTo(main, add, true)) << "Shift+Tab did not reach \"Добавить\"";
  Keys({VK_SPACE});
  Settle(main);

  constexpr std::size_t kDailyTable = 78400, kDailyCount = 389602;
  Bytes file;
  ASSERT_TRUE(WaitFor(
      [&] {
        file = ReadBytes(dir.Path(L"alarm.rec"));
        return file.size() == 389616 && file[kDailyCount] == 1;
      },
      3s))
      << "no daily alarm was stored";
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[kDailyTable + 1]), file[kDailyTable]),
            Cp1251(L"С клавиатуры"));
  double time = 0;
  std::memcpy(&time, &file[kDailyTable + 768], sizeof time);
  const long seconds = static_cast<long>(time * 86400 + 1e-6);
  EXPECT_EQ(seconds, shown->wHour * 3600L + shown->wMinute * 60L + shown->wSecond)
      << "the stored time is not the time shown";
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(p.Ended(10s));
}

}  // namespace
#endif
