// "Выходные и рабочие дни" driven by the keyboard alone in the running
// program, and what it leaves in Tivorra.ini.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "e2e/driver.h"
#include "test_support.h"

namespace {

using namespace e2e;

HWND WaitForWindow(const Program& p, const wchar_t* title) {
  HWND w = nullptr;
  WaitFor([&] { return (w = p.Window(title)) != nullptr; }, 5s);
  return w;
}

std::string Iso(const SYSTEMTIME& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
  return buf;
}

bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

// The dialog's date pickers from the top left: from, to, the working day.
std::vector<HWND> Pickers(HWND dialog) {
  std::vector<HWND> pickers = FindControls(dialog, DATETIMEPICK_CLASSW);
  std::sort(pickers.begin(), pickers.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return pickers;
}

TEST(Program, DaysOffAndWorkingDaysAreEditedWithTheKeyboardAloneLineByLine) {
  TempDir dir;
  // "; Праздники" in Windows-1251, a line that is not understood, other sections.
  const std::string head = "; \xCF\xF0\xE0\xE7\xE4\xED\xE8\xEA\xE8\r\n[Signal]\r\nSnoozeMinutes=5\r\n";
  const std::string ini = head +
                          "[DaysOff]\r\n2027-01-01..2027-01-08 = NY\r\nbad line\r\n\r\n"
                          "[WorkDays]\r\n2027-11-06=Fri\r\n[Other]\r\nx=1\r\n";
  WriteBytes(dir.Path(L"Tivorra.ini"), Bytes(ini.begin(), ini.end()));
  RemoveRunValue();
  Program p(dir);
  p.Start();

  // The line not understood is told at start, with its number.
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = p.MessageBox()) != nullptr; }, 15s)) << "nothing told";
  EXPECT_NE(MessageBoxText(box).find(L"строка 6: bad line"), std::wstring::npos)
      << Cp1251(MessageBoxText(box));
  AnswerMessageBox(box);
  HWND main = p.Main();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([] { return RunValue().has_value(); }, 5s)) << "the start-up did not end";

  // Настройки, then its button to the days off.
  HWND options = FindWindowExW(main, nullptr, L"Button", L"Настройки");
  ASSERT_TRUE(WaitFor([&] { return FocusOf(main) != nullptr; }, 5s));
  ASSERT_TRUE(TabTo(main, options)) << "Tab did not reach \"Настройки\"";
  Keys({VK_SPACE});
  HWND settings = WaitForWindow(p, L"Настройки");
  ASSERT_NE(settings, nullptr) << "the settings did not open";
  HWND daysBut = FindControl(settings, L"Button", L"Выходные и рабочие дни...");
  ASSERT_TRUE(TabTo(settings, daysBut)) << "Tab did not reach the days off button";
  Keys({VK_SPACE});
  HWND dialog = WaitForWindow(p, L"Выходные и рабочие дни");
  ASSERT_NE(dialog, nullptr) << "the dialog did not open";
  Settle(dialog);

  const std::vector<HWND> pickers = Pickers(dialog);
  ASSERT_EQ(pickers.size(), 3u);
  // A range: the start one field up, the end one more.
  ASSERT_TRUE(TabTo(dialog, pickers[0])) << "Tab did not reach \"с\"";
  Keys({VK_RIGHT, VK_UP});
  Settle(dialog);
  ASSERT_TRUE(TabTo(dialog, pickers[1])) << "Tab did not reach \"по\"";
  Keys({VK_RIGHT, VK_UP});
  Settle(dialog);
  const auto from = PickerTime(p.Process(), pickers[0]);
  const auto to = PickerTime(p.Process(), pickers[1]);
  ASSERT_TRUE(from && to);
  Keys({VK_TAB});
  Settle(dialog);
  TypeChars(L"Отпуск");
  HWND offAdd = FindControl(dialog, L"Button", L"Добавить выходной");
  ASSERT_TRUE(TabTo(dialog, offAdd));
  Keys({VK_RETURN});
  Settle(dialog);
  const std::string offLine = (SameDay(*from, *to) ? Iso(*from) : Iso(*from) + ".." + Iso(*to)) +
                              " = " + Cp1251(L"Отпуск");

  // A working day: the date as it is, the weekday four down from Monday.
  ASSERT_TRUE(TabTo(dialog, pickers[2])) << "Tab did not reach the working day";
  const auto workDate = PickerTime(p.Process(), pickers[2]);
  ASSERT_TRUE(workDate);
  Keys({VK_TAB});
  Settle(dialog);
  Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
  Settle(dialog);
  HWND workAdd = FindControl(dialog, L"Button", L"Добавить рабочий");
  ASSERT_TRUE(TabTo(dialog, workAdd));
  Keys({VK_SPACE});
  Settle(dialog);
  const std::string workLine = Iso(*workDate) + "=Fri";

  // The NY row selected with the arrows and removed with Delete.
  HWND offList = nullptr;
  for (HWND list : FindControls(dialog, L"ListBox")) {
    for (const std::wstring& row : Rows(list)) {
      if (row.find(L"NY") != std::wstring::npos) offList = list;
    }
  }
  ASSERT_NE(offList, nullptr) << "the NY row is not listed";
  ASSERT_TRUE(TabTo(dialog, offList));
  Keys({VK_HOME});
  Settle(dialog);
  for (int i = 0; i < 5 && Rows(offList).at(std::max(SelectedRow(offList), 0)).find(L"NY") ==
                               std::wstring::npos;
       ++i) {
    Keys({VK_DOWN});
    Settle(dialog);
  }
  ASSERT_NE(Rows(offList).at(std::max(SelectedRow(offList), 0)).find(L"NY"), std::wstring::npos);
  const std::size_t rows = Rows(offList).size();
  Keys({VK_DELETE});
  Settle(dialog);
  EXPECT_EQ(Rows(offList).size(), rows - 1) << "Delete removed nothing";

  // Escape closes it; the settings are in front again and close unchanged.
  Keys({VK_ESCAPE});
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(dialog); }, 5s)) << "Escape left it open";
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == settings; }, 5s))
      << "the settings did not come back to the front";
  HWND cancel = FindControl(settings, L"Button", L"Отменить");
  ASSERT_TRUE(TabTo(settings, cancel));
  Keys({VK_SPACE});
  ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(settings); }, 5s));

  const std::string expected = head + "[DaysOff]\r\nbad line\r\n" + offLine +
                               "\r\n\r\n[WorkDays]\r\n2027-11-06=Fri\r\n" + workLine +
                               "\r\n[Other]\r\nx=1\r\n";
  const Bytes after = ReadBytes(dir.Path(L"Tivorra.ini"));
  EXPECT_EQ(std::string(after.begin(), after.end()), expected);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(p.Ended(10s));
}

}  // namespace
#endif
