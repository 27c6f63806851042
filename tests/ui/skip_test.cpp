// Skipping the next occurrence of an alarm from the list's row menu and
// from the tray menu, and the rows that show the skip.
#include "ui/alarm_ui_fixture.h"

namespace {

constexpr wchar_t kSkip[] = L"Пропустить следующий";
constexpr wchar_t kUnskip[] = L"Не пропускать";
enum TRowItem { kSkipItem = 0, kEditItem = 2, kDeleteItem = 3 };

class SkipUi : public AlarmUi {
 protected:
  // One alarm of each kind, each at 7:30 (the clock reads 8 December 2026,
  // 12:00), the daily one saying "Подъём".
  void StoreOneOfEach() {
    auto& s = state->Store;
    const TDateTime t = EncodeTime(7, 30, 0, 0);
    s.DateCount = 1;
    s.DateAlarms[0].AlarmDate = EncodeDate(2026, 12, 31);
    s.DateAlarms[0].AlarmTime = t;
    s.DailyCount = 1;
    s.DailyAlarms[0].AlarmTime = t;
    ToShortString(L"Подъём", s.DailyAlarms[0].Msg);
    s.WeeklyCount = 1;
    for (int d = 0; d < 7; ++d) s.WeeklyAlarms[0].Days[d] = d == 4;  // Fridays
    s.WeeklyAlarms[0].AlarmTime = t;
    s.CountdownCount = 1;
    s.CountdownAlarms[0].AlarmTime = EncodeDate(2026, 12, 8) + EncodeTime(18, 0, 0, 0);
    s.BootCountdownCount = 1;
    s.BootCountdownAlarms[0].AlarmTime = EncodeTime(1, 0, 0, 0);
    EXPECT_TRUE(SaveAlarms(s, dir.ProgramDir(), state->AlarmFile).Saved());
  }
  // A right click on a row and the user's choice in its menu.
  void RowMenu(int row, int item) {
    Settle();
    ScriptMenuChoice(item);
    mainWindow->cxListBox.RightClickRow(row);
    Pump();
  }
  // The menu key on the focused list and the user's choice.
  void RowMenuByKey(int item) {
    Settle();
    ScriptMenuChoice(item);
    mainWindow->cxListBox.PressKey(kVkApps);
    Pump();
  }
  void TrayMenu(int item) {
    Settle();
    ScriptMenuChoice(item);
    mainWindow->RzTrayIcon1.Release(TMouseButton::Right);
    Pump();
  }
  std::wstring Row(int row) {
    return mainWindow->cxListBox.Items().at(static_cast<std::size_t>(row));
  }
  TRingSession& session() { return mainWindow->Session(); }
  static std::int64_t LocalSecond(int y, int m, int d, int h, int min) {
    return static_cast<std::int64_t>(EncodeDate(y, m, d)) * kSecondsPerDay + h * 3600 + min * 60;
  }
};

TEST_F(SkipUi, TheRowMenuOffersTheSkipToDailyAndWeekdayAlarmsOnly) {
  StoreOneOfEach();
  Start();
  const struct {
    int tab;
    bool skippable;
  } cases[] = {{0, false}, {1, true}, {2, true}, {3, false}, {4, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tab);
    ShowTab(c.tab);
    ASSERT_EQ(mainWindow->cxListBox.ItemIndex(), -1);
    // Chosen even when greyed: a greyed item does nothing.
    RowMenu(0, kSkipItem);
    const TMenuSeen menu = LastMenuSeen();
    EXPECT_EQ(menu.Captions, (std::vector<std::wstring>{kSkip, L"", L"Изменить", L"Удалить"}));
    EXPECT_EQ(menu.Enabled, (std::vector<bool>{c.skippable, false, true, true}));
    EXPECT_EQ(mainWindow->cxListBox.ItemIndex(), 0) << "the right click selects its row";
    EXPECT_TRUE(mainWindow->EditBut.Enabled()) << "the buttons follow the selection";
    EXPECT_EQ(session().Skips().size(), c.skippable ? 1u : 0u);
    if (c.skippable) session().Unskip(static_cast<TAlarmKind>(c.tab), 1);
  }
}

TEST_F(SkipUi, SkipAndTakeBackFromTheRowMenuShowInTheRow) {
  StoreOneOfEach();
  Start();
  ShowTab(1);
  const std::wstring plain = L"7:30:00 | Подъём | ";
  ASSERT_EQ(Row(0), plain);
  RowMenu(0, kSkipItem);
  EXPECT_EQ(session().SkippedAt(akDaily, 1), LocalSecond(2026, 12, 9, 7, 30));
  EXPECT_EQ(Row(0), L"7:30:00  пропуск 09.12 | Подъём | ");
  EXPECT_EQ(mainWindow->cxListBox.ItemIndex(), 0) << "the refill keeps the selection";

  // The keyboard: the menu key on the selected row opens the menu there,
  // now offering to take the skip back.
  mainWindow->cxListBox.SetFocus();
  RowMenuByKey(kSkipItem);
  const TMenuSeen menu = LastMenuSeen();
  EXPECT_EQ(menu.Captions.at(0), kUnskip);
  EXPECT_TRUE(RowOnScreen(mainWindow->cxListBox, 0).Holds(menu.X, menu.Y))
      << menu.X << "," << menu.Y;
  EXPECT_EQ(session().SkippedAt(akDaily, 1), std::nullopt);
  EXPECT_EQ(Row(0), plain);
  EXPECT_EQ(mainWindow->cxListBox.ItemIndex(), 0);

  // A weekday alarm names the day of its next ring: Friday the 11th.
  ShowTab(2);
  RowMenu(0, kSkipItem);
  EXPECT_EQ(Row(0), L"7:30:00  xx  xx  xx  xx  пт  xx  xx  пропуск 11.12 |  | ");
}

TEST_F(SkipUi, TheRowLosesTheSkipWhenItsMomentHasPassed) {
  auto& s = state->Store;
  s.DailyCount = 1;
  s.DailyAlarms[0].AlarmTime = EncodeTime(7, 30, 0, 0);
  ToShortString(L"Подъём", s.DailyAlarms[0].Msg);
  EXPECT_TRUE(SaveAlarms(s, dir.ProgramDir(), state->AlarmFile).Saved());
  Start();
  ShowTab(1);
  RowMenu(0, kSkipItem);
  ASSERT_EQ(Row(0), L"7:30:00  пропуск 09.12 | Подъём | ");
  // The next morning, past 7:30: nothing rang, and the skip is over.
  clock.Advance((20 * 60 + 5) * 60000LL);
  mainWindow->Time.Tick();
  Pump();
  EXPECT_FALSE(session().Ringing());
  EXPECT_TRUE(session().Missed().empty()) << "a skipped occurrence is not missed either";
  EXPECT_TRUE(session().Skips().empty());
  EXPECT_EQ(Row(0), L"7:30:00 | Подъём | ");
}

TEST_F(SkipUi, TheRowMenuEditsAndDeletesItsRow) {
  StoreOneOfEach();
  Start();
  ShowTab(1);
  RowMenu(0, kEditItem);
  EXPECT_TRUE(mainWindow->RzPanel1.Visible());
  EXPECT_EQ(mainWindow->cxMemoMSG.Text(), L"Подъём") << "the row's alarm is in the editor";
  RowMenu(0, kDeleteItem);
  EXPECT_EQ(state->Store.DailyCount, 0);
  EXPECT_TRUE(mainWindow->cxListBox.Items().empty());
}

TEST_F(SkipUi, TheTrayMenuSkipsTheNearestAlarmAndTakesTheEarliestSkipBack) {
  auto& s = state->Store;
  s.DailyCount = 2;
  s.DailyAlarms[0].AlarmTime = EncodeTime(7, 30, 0, 0);
  ToShortString(L"Подъём", s.DailyAlarms[0].Msg);
  s.DailyAlarms[1].AlarmTime = EncodeTime(13, 15, 0, 0);
  ToShortString(L"Обед: позвонить в бухгалтерию\rи в банк", s.DailyAlarms[1].Msg);
  EXPECT_TRUE(SaveAlarms(s, dir.ProgramDir(), state->AlarmFile).Saved());
  Start();
  ShowTab(1);
  const auto items = [this] { return LastMenuSeen().Captions; };
  TrayMenu(-1);
  EXPECT_EQ(items(), (std::vector<std::wstring>{
                         L"Показать", L"Спрятать", L"",
                         L"Пропустить ближайший будильник: 08.12 13:15 Обед: позвонить в "
                         L"бухгал…",
                         L"", L"Настройки", L"Выходные и рабочие дни", L"", L"О программе", L"", L"Закрыть"}));
  TrayMenu(3);
  EXPECT_EQ(session().SkippedAt(akDaily, 2), LocalSecond(2026, 12, 8, 13, 15));
  EXPECT_EQ(Row(1), L"13:15:00  пропуск 08.12 | Обед: позв... | ") << "the list follows";
  // The next is the morning's; the skip made can be taken back.
  TrayMenu(-1);
  const std::vector<std::wstring> shown = items();
  ASSERT_GE(shown.size(), 5u);
  EXPECT_EQ(std::vector<std::wstring>(shown.begin() + 3, shown.begin() + 5),
            (std::vector<std::wstring>{
                L"Пропустить ближайший будильник: 09.12 07:30 Подъём",
                L"Не пропускать: 08.12 13:15 Обед: позвонить в бухгал…"}));
  TrayMenu(3);
  ASSERT_EQ(session().Skips().size(), 2u);
  // The earliest skip is the one offered back.
  TrayMenu(4);
  EXPECT_EQ(session().SkippedAt(akDaily, 2), std::nullopt);
  EXPECT_EQ(session().SkippedAt(akDaily, 1), LocalSecond(2026, 12, 9, 7, 30));
  EXPECT_EQ(Row(1), L"13:15:00 | Обед: позв... | ");
}

TEST_F(SkipUi, TheTrayOffersNoSkipWithoutADailyOrWeekdayAlarm) {
  auto& s = state->Store;
  s.DateCount = 1;
  s.DateAlarms[0].AlarmDate = EncodeDate(2026, 12, 31);
  s.DateAlarms[0].AlarmTime = EncodeTime(7, 30, 0, 0);
  EXPECT_TRUE(SaveAlarms(s, dir.ProgramDir(), state->AlarmFile).Saved());
  Start();
  TrayMenu(-1);
  EXPECT_EQ(LastMenuSeen().Captions.size(), 9u);
}

}  // namespace
