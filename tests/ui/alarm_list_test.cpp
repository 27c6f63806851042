// The alarm list and the refresh of its buttons, driven as a user drives them.
#include "ui/alarm_ui_fixture.h"

namespace {

TEST_F(AlarmUi, RowTextsOfEveryKind) {
  auto& s = state->Store;
  const TDateTime t = EncodeTime(7, 30, 0, 0);
  s.DateCount = 2;
  s.DateAlarms[0].AlarmDate = EncodeDate(2026, 12, 31);
  s.DateAlarms[0].AlarmTime = t;
  ToShortString(L"0123456789", s.DateAlarms[0].Msg);  // 10: whole
  ToShortString(L"C:\\a.exe", s.DateAlarms[0].Exe);
  s.DateAlarms[1].AlarmDate = EncodeDate(2027, 1, 2);
  s.DateAlarms[1].AlarmTime = t;
  ToShortString(L"01234567890", s.DateAlarms[1].Msg);  // 11: cut
  s.DailyCount = 1;
  s.DailyAlarms[0].AlarmTime = t;
  ToShortString(L"ab\rcd", s.DailyAlarms[0].Msg);
  s.WeeklyCount = 1;
  s.WeeklyAlarms[0].Days[0] = 1;
  s.WeeklyAlarms[0].Days[6] = 7;  // any non-zero byte is a chosen day
  s.WeeklyAlarms[0].AlarmTime = t;
  s.BootCountdownCount = 1;
  s.BootCountdownAlarms[0].AlarmTime = EncodeTime(1, 0, 5, 0);
  EXPECT_TRUE(SaveAlarms(s, dir.ProgramDir(), state->AlarmFile).Saved());
  Start();
  const struct {
    int tab;
    std::vector<std::wstring> rows;
  } cases[] = {
      {0,
       {L"31.12.2026 - 7:30:00 | 0123456789 | C:\\a.exe",
        L"02.01.2027 - 7:30:00 | 0123456789... | "}},
      {1, {L"7:30:00 | ab cd | "}},
      {2, {L"7:30:00  пн  xx  xx  xx  xx  xx  вс |  | "}},
      {3, {}},
      {4, {L"1:00:05 |  | "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tab);
    ShowTab(c.tab);
    EXPECT_EQ(mainWindow->cxListBox.Items(), c.rows);
    EXPECT_EQ(mainWindow->cxListBox.ItemIndex(), -1);
  }
}

TEST_F(AlarmUi, ACountdownShowsTheTimeLeftThenTheTimeSinceItsMoment) {
  Start();
  AddAlarm(mainWindow->cxObrat, EncodeTime(0, 10, 0, 0));
  const struct {
    std::int64_t afterMs;
    const wchar_t* row;
  } cases[] = {{4 * 60000, L"0:06:00 |  | "}, {8 * 60000, L"0:02:00 |  | "}};
  for (const auto& c : cases) {
    clock.Advance(c.afterMs);
    ShowTab(3);
    EXPECT_EQ(mainWindow->cxListBox.Items(), std::vector<std::wstring>{c.row});
  }
}

TEST_F(AlarmUi, TheRefreshEnablesTheButtonsByItsSixRules) {
  state->Store.DailyCount = 1;
  EXPECT_TRUE(SaveAlarms(state->Store, dir.ProgramDir(), state->AlarmFile).Saved());
  Start({1, 1, 1, 0, 0, 0, 0});  // left in add mode
  TMainWindow& f = *mainWindow;
  const struct {
    const char* name;
    std::function<void()> act;
    bool edit, add;
  } cases[] = {
      {"no row, no kind: Add stays as activation left it", [] {}, false, false},
      {"a row selected",
       [&] {
         ShowTab(1);
         f.cxListBox.SelectRow(0);
       },
       true, false},
      {"weekly, no day",
       [&] {
         f.NewBut.Click();
         f.cxWeek.Click();
       },
       true, false},
      {"weekly, one day", [&] { f.sr.Click(); }, true, true},
      {"weekly, the day unticked", [&] { f.sr.Click(); }, true, false},
      {"another kind", [&] { f.cxObratComp.Click(); }, true, true},
      {"a refill clears the row", [&] { ShowTab(1); }, false, true},
      {"changing: Add whatever the editor holds",
       [&] {
         f.cxListBox.SelectRow(0);
         f.EditBut.Click();
       },
       true, true},
      {"panel disabled: Add left as it was",
       [&] {
         f.AddBut.Click();  // a change closes and disables the editor
         ASSERT_FALSE(f.RzPanel1.Enabled());
         f.AddBut.SetEnabled(false);
       },
       false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.act();
    EXPECT_EQ(f.EditBut.Enabled(), c.edit);
    EXPECT_EQ(f.DelBut.Enabled(), c.edit);
    EXPECT_EQ(f.AddBut.Enabled(), c.add);
  }
}

// The buttons follow the events at once: no poll is left to put them
// right later. Every fill leaves no row, so Edit and Delete are disabled
// straight after it, as they were a tick after it before.
TEST_F(AlarmUi, EditAndDeleteAreDisabledStraightAfterEveryFill) {
  state->Store.DailyCount = 3;
  EXPECT_TRUE(SaveAlarms(state->Store, dir.ProgramDir(), state->AlarmFile).Saved());
  Start({1, 1, 1, 0, 0, 0, 0});
  TMainWindow& f = *mainWindow;
  const struct {
    const char* name;
    std::function<void()> fill;
  } fills[] = {
      {"another tab", [&] { ShowTab(1); }},
      {"an add", [&] { f.NewBut.Click(), f.cxDay.Click(), f.AddBut.Click(); }},
      {"a delete", [&] { f.DelBut.Click(); }},
      {"a change", [&] { f.EditBut.Click(), f.AddBut.Click(); }},
      {"the Delete key", [&] { f.cxListBox.PressKey(kVkDelete); }},
  };
  ShowTab(1);
  for (const auto& c : fills) {
    SCOPED_TRACE(c.name);
    f.cxListBox.SelectRow(0);
    ASSERT_TRUE(f.EditBut.Enabled() && f.DelBut.Enabled()) << "a selected row enables both";
    c.fill();
    EXPECT_EQ(f.cxListBox.ItemIndex(), -1);
    EXPECT_FALSE(f.EditBut.Enabled());
    EXPECT_FALSE(f.DelBut.Enabled());
  }
}

TEST_F(AlarmUi, EnterAndDeleteInTheListAndClickWithEditOnClick) {
  for (int i = 0; i < 3; ++i) state->Store.DailyAlarms[i].AlarmTime = EncodeTime(i + 1, 0, 0, 0);
  state->Store.DailyCount = 3;
  EXPECT_TRUE(SaveAlarms(state->Store, dir.ProgramDir(), state->AlarmFile).Saved());
  Start({1, 0, 0, 0, 1, 0, 0});  // EditOnClick on, editor closed
  EXPECT_EQ(mainWindow->AddBut.Caption(), L"Изменить") << "the kept mode, said at start";
  ShowTab(1);
  // Keys with no row selected: nothing opens, nothing is deleted.
  mainWindow->cxListBox.SetFocus();
  mainWindow->cxListBox.PressKey(kVkReturn);
  EXPECT_FALSE(mainWindow->RzPanel1.Visible());
  mainWindow->cxListBox.PressKey(kVkDelete);
  EXPECT_EQ(state->Store.DailyCount, 3);
  EXPECT_TRUE(mainWindow->NewBut.Focused());
  // A click loads the record in change mode.
  mainWindow->cxListBox.SelectRow(1);
  EXPECT_TRUE(mainWindow->RzPanel1.Visible());
  EXPECT_EQ(mainWindow->AddBut.Caption(), L"Изменить");
  EXPECT_EQ(mainWindow->cxTimeEdit.Value(), EncodeTime(2, 0, 0, 0));
  EXPECT_EQ(state->Edit.EditIndex, 2);
  // Delete removes it, saves and reloads.
  mainWindow->cxListBox.SetFocus();
  mainWindow->cxListBox.PressKey(kVkDelete);
  EXPECT_EQ(mainWindow->cxListBox.Items(),
            (std::vector<std::wstring>{L"1:00:00 |  | ", L"3:00:00 |  | "}));
  EXPECT_EQ(AlarmFile()[389602], 2);
  EXPECT_TRUE(mainWindow->NewBut.Focused());
}

}  // namespace
