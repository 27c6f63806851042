// The editor: the road of one alarm to the bytes of alarm.rec, adding,
// changing, deleting, full tables, long texts, the keyboard.
#include "ui/alarm_ui_fixture.h"

namespace {

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

TEST_F(AlarmUi, TheRoadOfOneAlarmEndsInTheExactBytesOfTheFile) {
  MakeFile(L"Sound/Rock/x.mp3");
  Start();
  TMainWindow& f = *mainWindow;
  f.NewBut.Click();
  f.cxWeek.Click();
  f.pn.Click();
  f.sr.Click();
  f.cxTimeEdit.PickValue(EncodeTime(7, 0, 0, 0));
  f.cxCheckMSG.Click();
  f.cxMemoMSG.TypeText(L"Ура\r\nup");
  f.cxCheckMUS.Click();
  f.cxDirBox.PickItem(0);
  f.cxMusList.SelectRow(1);  // after the random tune
  f.AddBut.Click();

  Bytes want(389616, 0);
  const std::size_t rec = 156000;
  want[rec + 0] = 1;
  want[rec + 2] = 1;
  PutText(want, rec + 7, "\xD3\xF0\xE0\rup");
  PutText(want, rec + 519, Narrow(dir.ProgramDir()) + "Sound\\Rock\\x.mp3");
  PutDouble(want, rec + 776, EncodeTime(7, 0, 0, 0));
  PutU16(want, 389604, 1);
  EXPECT_EQ(AlarmFile(), want);
  EXPECT_TRUE(Messages().empty());
  ShowTab(2);
  EXPECT_EQ(f.cxListBox.Items(),
            std::vector<std::wstring>{L"7:00:00  пн  xx  ср  xx  xx  xx  xx | Ура up | "});
}

TEST_F(AlarmUi, TwoAlarmsInARowThenAChangeKeepsKindRowAndCount) {
  Start({1, 1, 0, 0, 0, 0, 1});  // confirmations on
  TMainWindow& f = *mainWindow;
  f.NewBut.Click();
  f.cxWeek.Click();
  f.vs.Click();
  f.cxCheckMSG.Click();
  f.cxMemoMSG.TypeText(L"first");
  f.AddBut.Click();
  // The weekdays are cleared for the next record; the rest stays.
  for (TCheckBox* day : {&f.pn, &f.vt, &f.sr, &f.cht, &f.pt, &f.sb, &f.vs}) {
    EXPECT_FALSE(day->Checked());
  }
  EXPECT_EQ(f.cxMemoMSG.Text(), L"first");
  EXPECT_TRUE(f.RzPanel1.Visible());
  EXPECT_EQ(f.AddBut.Caption(), L"Добавить");
  EXPECT_FALSE(f.AddBut.Enabled()) << "weekly without a day";
  f.pt.Click();
  f.cxMemoMSG.TypeText(L"second");
  f.AddBut.Click();
  EXPECT_EQ(state->Store.WeeklyCount, 2);
  EXPECT_EQ(Messages(), (std::vector<std::wstring>{L"Запись добавлена!", L"Запись добавлена!"}));

  ShowTab(2);
  f.cxListBox.SelectRow(0);
  f.EditBut.Click();
  EXPECT_FALSE(f.cxDay.Enabled()) << "a changed record stays in its kind";
  EXPECT_TRUE(f.vs.Checked());
  f.cxMemoMSG.TypeText(L"changed");
  f.AddBut.Click();
  EXPECT_EQ(state->Store.WeeklyCount, 2);
  EXPECT_EQ(FromShortString(state->Store.WeeklyAlarms[0].Msg), L"changed");
  EXPECT_EQ(state->Store.WeeklyAlarms[0].Days[6], 1);
  EXPECT_EQ(FromShortString(state->Store.WeeklyAlarms[1].Msg), L"second");
  EXPECT_EQ(Messages().back(), L"Запись изменена!");
  EXPECT_FALSE(f.RzPanel1.Visible());
  EXPECT_EQ(ReadBytes(dir.Path(L"config.cfg"))[1], 0) << "the editor closed for good";
}

TEST_F(AlarmUi, StoredTextsAreCutAndRoundTripUnchanged) {
  const std::wstring twoLines = L"a\rb";
  const struct {
    const char* name;
    std::wstring typed;  // empty: the loaded message is stored back as is
    std::wstring loaded;
    std::wstring stored;
  } cases[] = {
      {"two lines, untouched", L"", twoLines, twoLines},
      {"300 characters keep 255", std::wstring(300, L'x'), L"", std::wstring(255, L'x')},
      {"outside Windows-1251", L"\u2713 ok", L"", L"? ok"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    state = std::make_unique<TAppState>();
    boxes.shown.clear();
    state->Store.DailyCount = 1;
    ToShortString(c.loaded, state->Store.DailyAlarms[0].Msg);
    ToShortString(L"C:\\x.exe", state->Store.DailyAlarms[0].Exe);
    EXPECT_TRUE(SaveAlarms(state->Store, dir.ProgramDir(), state->AlarmFile).Saved());
    Start();
    ShowTab(1);
    mainWindow->cxListBox.SelectRow(0);
    mainWindow->EditBut.Click();
    EXPECT_EQ(mainWindow->cxMemoMSG.Text(), c.loaded);
    if (!c.typed.empty()) {
      mainWindow->cxCheckMSG.Check(true);
      mainWindow->cxMemoMSG.TypeText(c.typed);
    }
    mainWindow->AddBut.Click();
    EXPECT_EQ(FromShortString(state->Store.DailyAlarms[0].Msg), c.stored);
    EXPECT_EQ(FromShortString(state->Store.DailyAlarms[0].Exe), L"C:\\x.exe");
    program.reset();
  }
}

TEST_F(AlarmUi, AFullTableTakesNoHundredAndFirst) {
  state->Store.DailyCount = 100;
  EXPECT_TRUE(SaveAlarms(state->Store, dir.ProgramDir(), state->AlarmFile).Saved());
  const Bytes before = AlarmFile();
  Start();
  AddAlarm(mainWindow->cxDay, EncodeTime(6, 0, 0, 0), L"one too many");
  EXPECT_EQ(state->Store.DailyCount, 100);
  EXPECT_EQ(AlarmFile(), before);
  EXPECT_EQ(Messages(), std::vector<std::wstring>{
                            L"Таблица \"Ежедневно\" заполнена: в ней уже 100 записей. Новая "
                            L"запись не добавлена."});
  // Another kind still takes one.
  AddAlarm(mainWindow->cxDate, EncodeTime(6, 0, 0, 0));
  EXPECT_EQ(state->Store.DateCount, 1);
}

TEST_F(AlarmUi, ACountdownOfNoTimeRingsAtTheNextTick) {
  Start();
  mainWindow->Time.Tick();
  AddAlarm(mainWindow->cxObrat, 0, L"now");
  EXPECT_FALSE(wakeUp->Visible());
  clock.Advance(1000);
  mainWindow->Time.Tick();
  EXPECT_TRUE(wakeUp->Visible());
  EXPECT_EQ(wakeUp->Memo.Text(), L"now");
}

TEST_F(AlarmUi, TheFileFieldTakesWhatTheDialogConfirms) {
  Start();
  mainWindow->NewBut.Click();
  mainWindow->cxCheckEXE.Click();
  fileDialogs.answers = {L"C:\\Games\\run.cmd", std::nullopt};
  mainWindow->cxEditEXE.ButtonClick();
  EXPECT_EQ(mainWindow->cxEditEXE.Text(), L"C:\\Games\\run.cmd");
  mainWindow->cxEditEXE.ButtonClick();  // cancelled: nothing changes
  EXPECT_EQ(mainWindow->cxEditEXE.Text(), L"C:\\Games\\run.cmd");
  EXPECT_EQ(fileDialogs.owners, (std::vector<TForm*>{mainWindow, mainWindow}));
#ifdef _WIN32
  // The ellipsis button is a tab stop after the field: Tab, then Space.
  fileDialogs.answers = {L"C:\\by\\keys.cmd"};
  mainWindow->cxEditEXE.SetFocus();
  mainWindow->cxEditEXE.PressKey(kVkTab);
  mainWindow->cxEditEXE.PressKey(L' ');
  EXPECT_EQ(mainWindow->cxEditEXE.Text(), L"C:\\by\\keys.cmd");
#endif
}

TEST_F(AlarmUi, EverythingWithTheKeyboardAlone) {
  state->Store.DailyCount = 2;
  EXPECT_TRUE(SaveAlarms(state->Store, dir.ProgramDir(), state->AlarmFile).Saved());
  Start({1, 1, 1, 0, 0, 0, 0});
  TMainWindow& f = *mainWindow;
  ShowTab(1);
  f.cxListBox.SetFocus();
  f.cxListBox.PressKey(kVkDown);
  EXPECT_EQ(f.cxListBox.ItemIndex(), 0);
  f.cxListBox.PressKey(kVkDown);
  f.cxListBox.PressKey(kVkReturn);
  EXPECT_EQ(state->Edit.EditIndex, 2);
  EXPECT_EQ(f.AddBut.Caption(), L"Изменить");
  // Space ticks the boxes; Tab moves on; Enter presses the focused button.
  f.cxCheckMSG.SetFocus();
  f.cxCheckMSG.PressKey(L' ');
  EXPECT_TRUE(f.cxMemoMSG.Enabled());
  f.cxCheckMSG.PressKey(kVkTab);
  EXPECT_TRUE(f.cxMemoMSG.Focused());
  f.cxMemoMSG.TypeText(L"keys");
  f.AddBut.SetFocus();
  f.AddBut.PressKey(kVkReturn);
  EXPECT_EQ(FromShortString(state->Store.DailyAlarms[1].Msg), L"keys");
  // New, a kind by Space, Add by Space.
  f.NewBut.SetFocus();
  f.NewBut.PressKey(L' ');
  f.cxObratComp.SetFocus();
  f.cxObratComp.PressKey(L' ');
  EXPECT_TRUE(f.cxObratComp.Checked());
  f.AddBut.SetFocus();
  f.AddBut.PressKey(L' ');
  EXPECT_EQ(state->Store.BootCountdownCount, 1);
  // Delete from the list.
  ShowTab(1);
  f.cxListBox.SetFocus();
  f.cxListBox.PressKey(kVkDown);
  f.cxListBox.PressKey(kVkDelete);
  EXPECT_EQ(state->Store.DailyCount, 1);
  EXPECT_TRUE(f.NewBut.Focused());
}

}  // namespace
