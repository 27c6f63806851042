// Skipping the next occurrence, days off and working days in the ring
// session: what rings, what is listed as missed, what a restart finds and
// where the wake timer aims.
#include <gtest/gtest.h>

#include "engine/ring_session_fixture.h"
#include "store/alarm_store.h"

namespace {

constexpr std::int64_t kDay = 86400;

class RingSessionSkip : public RingSessionTest {
 protected:
  std::int64_t Day(int y, int m, int d) {
    return DayNumber(RoundedMs(EncodeDate(y, m, d)).value());
  }
  void Weekly(std::vector<int> days, TDateTime time, const std::wstring& msg) {
    TWeeklyAlarm& r = store->WeeklyAlarms[store->WeeklyCount++];
    for (int d : days) r.Days[d - 1] = 1;
    r.AlarmTime = time;
    ToShortString(msg, r.Msg);
  }
  void DateAlarm(TDateTime date, TDateTime time, const std::wstring& msg) {
    TDateAlarm& r = store->DateAlarms[store->DateCount++];
    r.AlarmDate = date;
    r.AlarmTime = time;
    ToShortString(msg, r.Msg);
  }
  void Countdown(TDateTime at, const std::wstring& msg) {
    TTimeAlarm& r = store->CountdownAlarms[store->CountdownCount++];
    r.AlarmTime = at;
    ToShortString(msg, r.Msg);
  }
  // Runs the wake timer until the local clock reaches `untilSecond`,
  // answering every ring; the messages that rang, in order.
  std::vector<std::wstring> RunUntil(std::int64_t untilSecond) {
    std::vector<std::wstring> rang;
    view.onShowRing = [&] { rang.push_back(view.message); };
    while (wakeTimer.at && *wakeTimer.at <= clock.LocalToUtcMs(untilSecond * 1000)) {
      RunToWakeTimer();
      if (view.ringShown) session->Answer();
    }
    view.onShowRing = nullptr;
    return rang;
  }
};

TEST_F(RingSessionSkip, OnlyDailyAndWeekdayAlarmsThatWillRingCanBeSkipped) {
  Daily(EncodeTime(7, 30, 0, 0), L"каждый день");
  Weekly({1, 3}, EncodeTime(7, 30, 0, 0), L"пн и ср");
  Weekly({}, EncodeTime(7, 30, 0, 0), L"ни одного дня");
  DateAlarm(EncodeDate(2026, 12, 9), EncodeTime(7, 0, 0, 0), L"дата");
  Countdown(EncodeDate(2026, 12, 8) + EncodeTime(9, 0, 0, 0), L"отсчёт");
  Start();
  struct TCase {
    TAlarmKind Kind;
    std::uint16_t Index;
    bool Skips;
    std::int64_t Second;
  } cases[] = {
      {akDaily, 1, true, LocalSecondAt(7, 30, 0)},
      {akWeekly, 1, true, LocalSecondAt(7, 30, 0) + 1 * kDay},  // Wednesday 09.12
      {akWeekly, 2, false, 0},
      {akDate, 1, false, 0},
      {akCountdown, 1, false, 0},
      {akBootCountdown, 1, false, 0},
      {akDaily, 2, false, 0},  // no such record
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(session->SkipNext(c.Kind, c.Index), c.Skips) << c.Kind << "/" << c.Index;
    EXPECT_EQ(session->SkippedAt(c.Kind, c.Index),
              c.Skips ? std::optional<std::int64_t>(c.Second) : std::nullopt);
  }
  EXPECT_TRUE(session->SkipNext(akDaily, 1)) << "skipped already: the skip stands";
  EXPECT_EQ(session->Skips().size(), 2u);
  EXPECT_EQ(SavedState().Skips, session->Skips());
}

TEST_F(RingSessionSkip, ASkippedOccurrenceIsNeitherRungNorMissedAndTheNextOneRings) {
  Daily(EncodeTime(7, 30, 0, 0), L"Подъём");
  Daily(EncodeTime(7, 45, 0, 0), L"Выйти");
  Start();
  ASSERT_TRUE(session->SkipNext(akDaily, 1));
  ASSERT_TRUE(session->NextRing());
  EXPECT_EQ(session->NextRing()->Message, L"Выйти") << "the tray names what rings next";
  const auto nearest = session->NextSkippable();
  ASSERT_TRUE(nearest);
  EXPECT_EQ(nearest->Index, 2);
  EXPECT_EQ(nearest->Message, L"Выйти");

  EXPECT_EQ(RunUntil(LocalSecondAt(7, 50, 0)), std::vector<std::wstring>{L"Выйти"});
  EXPECT_TRUE(Missed().empty());
  EXPECT_TRUE(session->Skips().empty()) << "its moment has passed";
  EXPECT_TRUE(SavedState().Skips.empty());
  EXPECT_EQ(RunUntil(LocalSecondAt(7, 31, 0) + kDay),
            (std::vector<std::wstring>{L"Подъём"}))
      << "the next day it rings as usual";
}

TEST_F(RingSessionSkip, ASkipSurvivesARestartAndAProgramClosedOverItsMoment) {
  Daily(EncodeTime(7, 30, 0, 0), L"Подъём");
  Start();
  ASSERT_TRUE(session->SkipNext(akDaily, 1));
  Restart(false);  // cut off
  EXPECT_EQ(session->SkippedAt(akDaily, 1), LocalSecondAt(7, 30, 0));
  session->ProgramEnds();
  session.reset();
  clock.Advance(3 * 3600 * 1000);  // 10:05, the program was closed at 07:30
  view = TFakeRingView{};
  Start();
  EXPECT_TRUE(Missed().empty()) << "a skipped moment is not missed";
  EXPECT_TRUE(session->Skips().empty());
  EXPECT_TRUE(SavedState().Skips.empty());
}

TEST_F(RingSessionSkip, ASkipFollowsItsAlarmAndGoesWhenItIsChangedOrDeleted) {
  struct TCase {
    const char* What;
    std::function<void(TAlarmStore&)> Change;
    std::optional<std::uint16_t> SkippedIndex;
  } cases[] = {
      {"an earlier alarm deleted: the skip moves up",
       [](TAlarmStore& s) { DeleteAlarm(s, akDaily, 1); }, 1},
      {"its time changed", [](TAlarmStore& s) { s.DailyAlarms[1].AlarmTime = EncodeTime(8, 0, 0, 0); },
       std::nullopt},
      {"its message changed",
       [](TAlarmStore& s) { ToShortString(L"Другое", s.DailyAlarms[1].Msg); }, std::nullopt},
      {"deleted", [](TAlarmStore& s) { DeleteAlarm(s, akDaily, 2); }, std::nullopt},
  };
  for (const TCase& c : cases) {
    std::memset(store.get(), 0, sizeof(TAlarmStore));
    Daily(EncodeTime(6, 0, 0, 0), L"Раньше");
    Daily(EncodeTime(7, 30, 0, 0), L"Подъём");
    Start();
    ASSERT_TRUE(session->SkipNext(akDaily, 2));
    c.Change(*store);
    session->StoreChanged();
    const auto& skips = session->Skips();
    if (c.SkippedIndex) {
      ASSERT_EQ(skips.size(), 1u) << c.What;
      EXPECT_EQ(skips[0].Alarm.Index, *c.SkippedIndex) << c.What;
      EXPECT_EQ(RunUntil(LocalSecondAt(7, 31, 0)), std::vector<std::wstring>{}) << c.What;
    } else {
      EXPECT_TRUE(skips.empty()) << c.What;
    }
    EXPECT_EQ(SavedState().Skips, skips) << c.What;
    session.reset();
    clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 9, 400));
  }
}

TEST_F(RingSessionSkip, ASkipTakenBackRingsAfterAll) {
  Weekly({2}, EncodeTime(7, 30, 0, 0), L"Вторник");
  Start();
  ASSERT_TRUE(session->SkipNext(akWeekly, 1));
  ASSERT_TRUE(session->NextRing());
  EXPECT_EQ(session->NextRing()->UtcMs, clock.LocalToUtcMs((LocalSecondAt(7, 30, 0) + 7 * kDay) * 1000))
      << "a week on";
  session->Unskip(akWeekly, 1);
  EXPECT_TRUE(SavedState().Skips.empty());
  EXPECT_EQ(RunUntil(LocalSecondAt(7, 31, 0)), std::vector<std::wstring>{L"Вторник"});
}

TEST_F(RingSessionSkip, ASkipInTheHourDaylightSavingLeavesOutRingsOnceLater) {
  // Berlin, Saturday 27 March 2027, 12:00 CET. On Sunday the clock jumps
  // from 02:00 to 03:00; the alarm at 02:30 rings at the jump. Skipped, it
  // rings first on Monday.
  clock.Zone = TFakeClock::TZone::Berlin;
  clock.SetUtc(RoundedMs(EncodeDate(2027, 3, 27) + EncodeTime(11, 0, 0, 0)).value() + kUtcMsOf1899);
  Daily(EncodeTime(2, 30, 0, 0), L"В провале");
  Start();
  ASSERT_TRUE(session->SkipNext(akDaily, 1));
  const std::int64_t sunday = DayNumber(RoundedMs(EncodeDate(2027, 3, 28)).value());
  EXPECT_EQ(session->SkippedAt(akDaily, 1), sunday * kDay + 2 * 3600 + 1800);
  std::vector<std::int64_t> rangOn;
  view.onShowRing = [&] { rangOn.push_back(clock.LocalMs / 1000 / kDay); };
  for (int i = 0; i < 100 && clock.LocalMs / 1000 < (sunday + 1) * kDay + 3 * 3600; ++i) {
    ASSERT_TRUE(wakeTimer.at);
    const std::int64_t ms = *wakeTimer.at - clock.UtcMs;
    clock.Uptime += static_cast<std::uint64_t>(ms);
    clock.SetUtc(clock.UtcMs + ms);
    tickers.RunDue();
    wakeTimer.Fire();
    if (view.ringShown) session->Answer();
  }
  EXPECT_EQ(rangOn, std::vector<std::int64_t>{sunday + 1});
  EXPECT_TRUE(Missed().empty());
}

TEST_F(RingSessionSkip, DaysOffSilenceDailyAndWeekdayAlarmsAndAWorkingDayRingsAsItsWeekday) {
  // Tuesday 08.12.2026. Wednesday 09.12 and Thursday 10.12 are off, and
  // Saturday 12.12 works as a Monday.
  Daily(EncodeTime(7, 30, 0, 0), L"Каждый день");
  Weekly({1, 2, 3, 4, 5}, EncodeTime(7, 40, 0, 0), L"Будни");
  Countdown(EncodeDate(2026, 12, 9) + EncodeTime(7, 35, 0, 0), L"Отсчёт");
  DateAlarm(EncodeDate(2026, 12, 10), EncodeTime(7, 45, 0, 0), L"Дата");
  Start();
  TDaysOff days;
  days.Off.push_back({Day(2026, 12, 9), Day(2026, 12, 10), L"отпуск"});
  days.Work.push_back({Day(2026, 12, 12), 1, L"перенос"});
  session->SetDaysOff(days);
  std::vector<std::pair<std::int64_t, std::wstring>> rang;
  view.onShowRing = [&] { rang.push_back({clock.LocalMs / 1000 / kDay - Day(2026, 12, 8), view.message}); };
  const auto run = [&](std::int64_t untilSecond) {
    while (wakeTimer.at && *wakeTimer.at <= clock.LocalToUtcMs(untilSecond * 1000)) {
      RunToWakeTimer();
      if (view.ringShown) session->Answer();
    }
  };
  run((Day(2026, 12, 13) + 1) * kDay);
  // A countdown rings again each day at its moment while it is stored.
  const std::vector<std::pair<std::int64_t, std::wstring>> expected = {
      {0, L"Каждый день"}, {0, L"Будни"},                        // Tuesday
      {1, L"Отсчёт"},                                            // Wednesday, off
      {2, L"Отсчёт"},      {2, L"Дата"},                         // Thursday, off
      {3, L"Каждый день"}, {3, L"Отсчёт"}, {3, L"Будни"},        // Friday
      {4, L"Каждый день"}, {4, L"Отсчёт"}, {4, L"Будни"},        // Saturday, a working Monday
      {5, L"Каждый день"}, {5, L"Отсчёт"},                       // Sunday
  };
  EXPECT_EQ(rang, expected);
  EXPECT_TRUE(Missed().empty());
}

TEST_F(RingSessionSkip, AnAlarmSilentOnADayOffIsNotMissedAtTheNextStart) {
  Daily(EncodeTime(7, 30, 0, 0), L"Подъём");
  Start();
  TDaysOff days;
  days.Off.push_back({Day(2026, 12, 8), Day(2026, 12, 8), L""});
  session->SetDaysOff(days);
  session->ProgramEnds();
  session.reset();
  clock.Advance(3 * 3600 * 1000);
  view = TFakeRingView{};
  session = std::make_unique<TRingSession>(
      *store, file, TRingServices{clock, wakeTimer, power, audio, shell, tickers, files}, view,
      player);
  session->SetDaysOff(days);  // the program reads Tivorra.ini before the state
  session->Start(dir.ProgramDir());
  EXPECT_TRUE(Missed().empty());
  session->SetDaysOff({});
  EXPECT_TRUE(Missed().empty()) << "the days going later changes nothing gone by";
}

TEST_F(RingSessionSkip, ASkipEndsAtItsMomentSoAClockSetBackLaterRingsTheAlarm) {
  Daily(EncodeTime(7, 30, 0, 0), L"Подъём");
  Start();
  ASSERT_TRUE(session->SkipNext(akDaily, 1));
  ASSERT_TRUE(wakeTimer.at);
  EXPECT_EQ(*wakeTimer.at, clock.LocalToUtcMs(LocalSecondAt(7, 30, 0) * 1000))
      << "the check looks at the skipped moment";
  EXPECT_EQ(wakeTimer.wakeAt, clock.LocalToUtcMs((LocalSecondAt(7, 30, 0) + kDay) * 1000) - kMinute)
      << "but wakes the PC only for tomorrow's ring";
  RunToWakeTimer();
  EXPECT_FALSE(view.ringShown);
  EXPECT_TRUE(session->Skips().empty());
  // The user sets the clock back to the night before: 07:30 comes again.
  clock.LocalMs -= 5 * 3600 * 1000;
  clock.UtcMs -= 5 * 3600 * 1000;
  wakeTimer.ClockChanged();
  EXPECT_EQ(RunUntil(LocalSecondAt(7, 31, 0)), std::vector<std::wstring>{L"Подъём"});
}

TEST_F(RingSessionSkip, ChangedDaysOffStartNowAndNeverRingAMomentGoneBy) {
  // 07:05 on Tuesday, a day off; the alarm at 07:00 stayed silent. The day
  // is taken off the list at 07:05: 07:00 does not ring late.
  Daily(EncodeTime(7, 0, 0, 0), L"Утро");
  Daily(EncodeTime(7, 10, 0, 0), L"Позже");
  TDaysOff days;
  days.Off.push_back({Day(2026, 12, 8), Day(2026, 12, 8), L""});
  clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(6, 0, 0, 0));
  Start();
  session->SetDaysOff(days);
  EXPECT_EQ(RunUntil(LocalSecondAt(7, 5, 0)), std::vector<std::wstring>{});
  Pass(5 * 1000);
  session->SetDaysOff({});
  EXPECT_EQ(RunUntil(LocalSecondAt(7, 11, 0)), std::vector<std::wstring>{L"Позже"});
  Restart(false);
  EXPECT_TRUE(Missed().empty()) << "nor is it missed after a restart";
}

}  // namespace
