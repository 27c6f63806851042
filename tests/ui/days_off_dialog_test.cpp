// "Выходные и рабочие дни" over the program's windows: Tivorra.ini's days
// read at start, and the dialog's entries written line by line.
#include <gtest/gtest.h>

#include <string>

#include "fakes/ui_driver.h"
#include "platform/date_time.h"
#include "ui/program_windows.h"

namespace {

std::int64_t Day(int y, int m, int d) { return static_cast<std::int64_t>(EncodeDate(y, m, d)); }

class DaysOffDialog : public ProgramTest {
 public:
  void WriteIni(const std::string& s) { WriteBytes(dir.Path(L"Tivorra.ini"), Bytes(s.begin(), s.end())); }
  std::string Ini() {
    const Bytes b = ReadBytes(dir.Path(L"Tivorra.ini"));
    return std::string(b.begin(), b.end());
  }
  // A choice in the tray icon's menu: "Выходные и рабочие дни" is item 4.
  void ChooseInTray(int item) {
    Settle();
    ScriptMenuChoice(item);
    mainWindow().RzTrayIcon1.Release(TMouseButton::Right);
    Pump();
  }
  // Opens the dialog from the settings dialog's button; `act` plays the user.
  void OpenFromSettings(const std::function<void(TDaysOffDialog&)>& act) {
    ScriptModal(settingsDialog(), [this, act](TForm& settings) {
      ScriptModal(daysOffDialog(), [act](TForm& f) {
        act(static_cast<TDaysOffDialog&>(f));
        return 0;
      });
      static_cast<TSettingsDialog&>(settings).DaysOffBut.Click();
      EXPECT_TRUE(settings.Visible()) << "the settings closed with the days off";
      static_cast<TSettingsDialog&>(settings).CANCEL.Click();
      return 0;
    });
    mainWindow().OptionBut.Click();
  }
};

// "; Праздники" in Windows-1251, a bad line, and other sections.
const std::string kIni =
    "; \xCF\xF0\xE0\xE7\xE4\xED\xE8\xEA\xE8\r\n[Signal]\r\nSnoozeMinutes=5\r\n[DaysOff]\r\n"
    "2027-02-30\r\n2027-01-01..2027-01-08 = NY\r\n\r\n[Other]\r\nx=1\r\n";

TEST_F(DaysOffDialog, TheDaysAreInEffectFromStartAndABadLineIsToldOncePerStartAndKept) {
  WriteIni(kIni + "[WorkDays]\r\n2027-11-06=Fri ; x\r\nFri\r\n");
  for (int start = 1; start <= 2; ++start) {
    SCOPED_TRACE(start);
    Start();
    EXPECT_EQ(mainWindow().Session().DaysOff(),
              (TDaysOff{{{Day(2027, 1, 1), Day(2027, 1, 8), L"NY"}}, {{Day(2027, 11, 6), 5, L"x"}}}));
    ASSERT_EQ(boxes.shown.size(), static_cast<std::size_t>(start)) << "told once per start";
    const std::wstring& told = boxes.shown.back().text;
    EXPECT_NE(told.find(L"строка 5: 2027-02-30"), std::wstring::npos) << testing::PrintToString(told);
    EXPECT_NE(told.find(L"строка 12: Fri"), std::wstring::npos) << testing::PrintToString(told);
    mainWindow().ProgramEnds();
  }
  EXPECT_EQ(Ini(), kIni + "[WorkDays]\r\n2027-11-06=Fri ; x\r\nFri\r\n");
}

TEST_F(DaysOffDialog, TheKeyboardAddsAndRemovesEntriesAndOnlyTheirLinesChange) {
  WriteIni(kIni);
  Start();
  ASSERT_EQ(boxes.shown.size(), 1u) << "the bad line";
  OpenFromSettings([&](TDaysOffDialog& f) {
    EXPECT_EQ(f.OffList.Items(), std::vector<std::wstring>{L"01.01.2027 – 08.01.2027   NY"});
    EXPECT_TRUE(f.WorkList.Items().empty());
    EXPECT_EQ(f.OffFrom.Value(), EncodeDate(2026, 12, 8)) << "the pickers start at today";

    // A range: the end follows a later start, then is moved on.
    f.OffFrom.PickValue(EncodeDate(2026, 12, 31));
    EXPECT_EQ(f.OffTo.Value(), EncodeDate(2026, 12, 31));
    f.OffTo.PickValue(EncodeDate(2027, 1, 2));
    f.OffNote.TypeText(L" Каникулы ");
    f.OffAdd.SetFocus();
    f.OffAdd.PressKey(kVkReturn);
    EXPECT_EQ(f.OffList.Items(), (std::vector<std::wstring>{L"31.12.2026 – 02.01.2027   Каникулы",
                                                           L"01.01.2027 – 08.01.2027   NY"}));
    EXPECT_EQ(f.OffList.ItemIndex(), 0) << "the new row is selected";
    EXPECT_EQ(f.OffNote.Text(), L"");

    // A Saturday that works as a Friday.
    f.WorkDate.PickValue(EncodeDate(2026, 12, 12));
    f.WorkAs.PickItem(4);
    f.WorkAdd.SetFocus();
    f.WorkAdd.PressKey(kVkReturn);
    EXPECT_EQ(f.WorkList.Items(), std::vector<std::wstring>{L"12.12.2026 (сб) как пятница"});

    // Delete on a selected row.
    f.OffList.SetFocus();
    f.OffList.SelectRow(1);
    f.OffList.PressKey(kVkDelete);
    EXPECT_EQ(f.OffList.Items(), std::vector<std::wstring>{L"31.12.2026 – 02.01.2027   Каникулы"});
    EXPECT_EQ(f.OffList.ItemIndex(), 0) << "Delete can go on";

    f.OffList.PressKey(kVkEscape);
    EXPECT_FALSE(f.Visible()) << "Escape did not close the dialog";
  });
  EXPECT_EQ(boxes.shown.size(), 1u) << "something was told";
  // "Каникулы" in Windows-1251, as the file is.
  EXPECT_EQ(Ini(),
            "; \xCF\xF0\xE0\xE7\xE4\xED\xE8\xEA\xE8\r\n[Signal]\r\nSnoozeMinutes=5\r\n[DaysOff]\r\n"
            "2027-02-30\r\n2026-12-31..2027-01-02 = \xCA\xE0\xED\xE8\xEA\xF3\xEB\xFB\r\n\r\n"
            "[Other]\r\nx=1\r\n[WorkDays]\r\n2026-12-12=Fri\r\n");
  EXPECT_EQ(mainWindow().Session().DaysOff(),
            (TDaysOff{{{Day(2026, 12, 31), Day(2027, 1, 2), L"Каникулы"}}, {{Day(2026, 12, 12), 5, L""}}}));

  // Opened again, from the tray: the lists as they are now, the pickers at today.
  clock.Advance(86400000);
  ScriptModal(daysOffDialog(), [](TForm& form) {
    auto& f = static_cast<TDaysOffDialog&>(form);
    EXPECT_EQ(f.OffList.Items(), std::vector<std::wstring>{L"31.12.2026 – 02.01.2027   Каникулы"});
    EXPECT_EQ(f.WorkList.Items(), std::vector<std::wstring>{L"12.12.2026 (сб) как пятница"});
    EXPECT_EQ(f.OffFrom.Value(), EncodeDate(2026, 12, 9));
    EXPECT_EQ(f.OffTo.Value(), EncodeDate(2026, 12, 9));
    return 0;
  });
  ChooseInTray(4);
}

TEST_F(DaysOffDialog, WhatCannotBeAddedOrRemovedIsToldAndNothingIsWritten) {
  const std::string ini = "[DaysOff]\r\n2027-01-01..2027-01-08\r\n[WorkDays]\r\n2027-11-06=Fri\r\n";
  const struct {
    const char* what;
    std::function<void(TDaysOffDialog&)> act;
    const wchar_t* told;
  } cases[] = {
      {"a range that ends before it starts",
       [](TDaysOffDialog& f) {
         f.OffFrom.PickValue(EncodeDate(2027, 1, 10));
         f.OffTo.PickValue(EncodeDate(2027, 1, 5));
         f.OffAdd.Click();
       },
       L"Конец раньше начала: выберите дату \"по\" не раньше даты \"с\"."},
      {"the same days again",
       [](TDaysOffDialog& f) {
         f.OffFrom.PickValue(EncodeDate(2027, 1, 1));
         f.OffTo.PickValue(EncodeDate(2027, 1, 8));
         f.OffNote.TypeText(L"другая заметка");
         f.OffAdd.Click();
       },
       L"Эти дни уже в списке."},
      {"a weekday typed that is none",
       [](TDaysOffDialog& f) {
         f.WorkAs.TypeText(L"пятн");
         f.WorkAdd.Click();
       },
       L"Выберите день недели из списка."},
      {"a working day twice",
       [](TDaysOffDialog& f) {
         f.WorkDate.PickValue(EncodeDate(2027, 11, 6));
         f.WorkAs.PickItem(0);
         f.WorkAdd.Click();
       },
       L"Этот день уже в списке рабочих."},
      {"Удалить with no row selected", [](TDaysOffDialog& f) { f.WorkDelete.Click(); },
       L"Выберите рабочий день в списке."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteIni(ini);
    boxes.shown.clear();
    Start();
    ScriptModal(daysOffDialog(), [&](TForm& f) {
      c.act(static_cast<TDaysOffDialog&>(f));
      EXPECT_TRUE(f.Visible());
      return 0;
    });
    ChooseInTray(4);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, c.told);
    EXPECT_EQ(Ini(), ini);
  }
}

TEST_F(DaysOffDialog, FromTheTrayItOpensOnceAndAFailedWriteHoldsForThisRun) {
  Start();
  int fronts = 0;
  ScriptModal(daysOffDialog(), [&](TForm& form) {
    auto& f = static_cast<TDaysOffDialog&>(form);
    // Chosen again while open: the same dialog, not a second one inside it.
    ChooseInTray(4);
    EXPECT_TRUE(f.Visible() && f.IsModal());
    fronts = app.bringToFrontCount;
    // The disk refuses from now on.
    files.FailAt = static_cast<int>(files.Calls.size()) + 1;
    files.Crash = true;
    files.Error = kErrAccessDenied;
    f.OffAdd.Click();
    return 0;
  });
  ChooseInTray(4);
  EXPECT_EQ(fronts, 0) << "the program came forward before the dialog closed";
  EXPECT_EQ(app.bringToFrontCount, 1);
  EXPECT_EQ(mainWindow().Session().DaysOff().Off,
            (std::vector<TDayOffRange>{{Day(2026, 12, 8), Day(2026, 12, 8), L""}}))
      << "in effect for this run all the same";
  // The days take effect first, and the program keeps what it examined
  // under them in Tivorra.state: the refusing disk is told for both files.
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, L"Не удалось сохранить файл " + dir.ProgramDir() +
                                     L"Tivorra.state: " + InOutErrorText(kErrAccessDenied));
  EXPECT_EQ(boxes.shown[1].text, L"Не удалось сохранить выходные дни в файл " + dir.ProgramDir() +
                                     L"Tivorra.ini: " + InOutErrorText(kErrAccessDenied));
  EXPECT_FALSE(std::filesystem::exists(dir.Path(L"Tivorra.ini")));
}

}  // namespace
