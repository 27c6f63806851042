// Days off, working days and skips as the alarm rules read them: which
// weekday a day rings as, and the next ring of a daily or weekday alarm
// found by stepping over them, checked against a day-by-day search.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "engine/alarm_days.h"
#include "engine/alarm_rule.h"
#include "engine/next_due.h"
#include "platform/date_time.h"

namespace {

std::int64_t Day(int y, int m, int d) { return DayNumber(RoundedMs(EncodeDate(y, m, d)).value()); }
constexpr unsigned kMon = 1, kTue = 2, kSat = 32, kSun = 64;

TDaysOff RussianNewYear() {
  TDaysOff days;
  days.Off.push_back({Day(2027, 1, 1), Day(2027, 1, 8), L"Новогодние каникулы"});
  days.Off.push_back({Day(2027, 1, 6), Day(2027, 1, 10), L"перекрывает"});  // overlaps, extends
  days.Off.push_back({Day(2027, 1, 11), Day(2027, 1, 11), L"вплотную"});    // touches
  days.Off.push_back({Day(2027, 2, 23), Day(2027, 2, 23), L""});
  days.Work.push_back({Day(2027, 1, 9), 1, L"суббота как понедельник, внутри каникул"});
  days.Work.push_back({Day(2027, 2, 20), 2, L"суббота как вторник"});
  days.Work.push_back({Day(2027, 2, 20), 5, L"вторая строка той же даты не считается"});
  days.Work.push_back({Day(2027, 2, 23), 3, L"и выходной, и рабочий: рабочий"});
  return days;
}

TEST(AlarmDays, WhichWeekdayADayRingsAsAndTheFirstDayThatRings) {
  TAlarmDays days;
  days.SetDaysOff(RussianNewYear());
  struct TCase {
    const char* What;
    std::int64_t Day;
    unsigned Bit;
    std::int64_t FirstOn;
  } cases[] = {
      {"before the holidays: its own weekday", Day(2026, 12, 31), 1u << 3, Day(2026, 12, 31)},
      {"first day of a range", Day(2027, 1, 1), 0, Day(2027, 1, 9)},
      {"inside the overlap", Day(2027, 1, 7), 0, Day(2027, 1, 9)},
      {"a working day inside the range", Day(2027, 1, 9), kMon, Day(2027, 1, 9)},
      {"after it, the range goes on", Day(2027, 1, 10), 0, Day(2027, 1, 12)},
      {"a range touching it is merged", Day(2027, 1, 11), 0, Day(2027, 1, 12)},
      {"the day after", Day(2027, 1, 12), kTue, Day(2027, 1, 12)},
      {"a Saturday named Tuesday; the second line ignored", Day(2027, 2, 20), kTue,
       Day(2027, 2, 20)},
      {"an ordinary Sunday", Day(2027, 2, 21), kSun, Day(2027, 2, 21)},
      {"in both sections: a working day", Day(2027, 2, 23), 4, Day(2027, 2, 23)},
      {"an ordinary Saturday", Day(2027, 2, 27), kSat, Day(2027, 2, 27)},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(days.WeekdayBit(c.Day), c.Bit) << c.What;
    EXPECT_EQ(days.FirstDayOn(c.Day), c.FirstOn) << c.What;
  }
}

// The next second a rule is due after `after`, by trying every day up to
// four years on: slow and plainly right.
std::int64_t DueByEveryDay(TAlarmKind kind, const TAlarmRule& r, std::int64_t after) {
  for (std::int64_t second = after + 1 + FloorMod(r.SecondOfDay - (after + 1), kSecondsPerDay);
       second < after + 4 * 366 * kSecondsPerDay; second += kSecondsPerDay) {
    if (DueAt(kind, r, SplitSecond(second))) return second;
  }
  return -1;
}

TEST(AlarmDays, TheNextRingSteppingOverDaysOffIsTheFirstDayThatRings) {
  // Random calendars: long vacations, every Monday off for months, working
  // days named any weekday, a skip; each rule's next ring from many
  // moments must be the one a search of every day finds.
  std::mt19937 random(20271);
  const std::int64_t base = Day(2027, 1, 1);
  auto store = std::make_unique<TAlarmStore>();
  std::memset(store.get(), 0, sizeof(TAlarmStore));
  store->DailyCount = store->WeeklyCount = 1;
  store->DailyAlarms[0].AlarmTime = EncodeTime(7, 30, 0, 0);
  store->WeeklyAlarms[0].AlarmTime = EncodeTime(7, 30, 0, 0);
  int compared = 0, neverRings = 0;
  for (int round = 0; round < 300; ++round) {
    TDaysOff calendar;
    const int ranges = static_cast<int>(random() % 12);
    for (int i = 0; i < ranges; ++i) {
      const std::int64_t first = base + random() % 400;
      calendar.Off.push_back({first, first + static_cast<std::int64_t>(random() % 40), L""});
    }
    if (round % 3 == 0) {  // every Monday off for half a year
      for (std::int64_t d = base + 3; d < base + 180; d += 7) calendar.Off.push_back({d, d, L""});
    }
    const int works = static_cast<int>(random() % 6);
    for (int i = 0; i < works; ++i) {
      const std::int64_t day = base + static_cast<std::int64_t>(random() % 400);
      calendar.Work.push_back({day, static_cast<int>(1 + random() % 7), L""});
    }
    for (unsigned d = 0; d < 7; ++d) store->WeeklyAlarms[0].Days[d] = (random() % 4 == 0) ? 1 : 0;
    TAlarmDays days;
    days.SetDaysOff(calendar);
    const std::int64_t after = (base + random() % 420) * kSecondsPerDay + random() % kSecondsPerDay;
    for (const TAlarmKind kind : {akDaily, akWeekly}) {
      TAlarmRule r = DecodeRecord(*store, kind, 0, &days);
      if (round % 2 == 1) r.SkipSecond = DueByEveryDay(kind, r, after);
      const std::int64_t expected = DueByEveryDay(kind, r, after);
      EXPECT_EQ(FirstDueAfter(kind, r, after), expected)
          << "round " << round << ", kind " << kind << ", after " << after;
      ++compared;
      if (expected < 0) ++neverRings;
    }
  }
  EXPECT_EQ(compared, 600);
  EXPECT_LT(neverRings, 100) << "most rules must ring, or the comparison proves little";
}

TEST(AlarmDays, DateAlarmsAndCountdownsRingOnDaysOffAndSkipsAreTheirAlarmsOwn) {
  auto store = std::make_unique<TAlarmStore>();
  std::memset(store.get(), 0, sizeof(TAlarmStore));
  const std::int64_t holiday = Day(2027, 1, 4);
  store->DateCount = store->CountdownCount = store->DailyCount = 1;
  store->DateAlarms[0].AlarmDate = EncodeDate(2027, 1, 4);
  store->DateAlarms[0].AlarmTime = EncodeTime(9, 0, 0, 0);
  store->CountdownAlarms[0].AlarmTime = EncodeDate(2027, 1, 4) + EncodeTime(10, 0, 0, 0);
  store->DailyAlarms[0].AlarmTime = EncodeTime(11, 0, 0, 0);
  TAlarmDays days;
  TDaysOff calendar;
  calendar.Off.push_back({holiday, holiday, L""});
  days.SetDaysOff(calendar);
  const std::int64_t dayStart = holiday * kSecondsPerDay;
  const TDueMoment next = NextDueMoment(*store, dayStart, 0, &days);
  EXPECT_EQ(next.LocalSecond, dayStart + 9 * 3600) << "the date alarm rings on a day off";
  EXPECT_EQ(FirstDueAfter(akCountdown, DecodeRecord(*store, akCountdown, 0, &days),
                          dayStart + 9 * 3600),
            dayStart + 10 * 3600);
  EXPECT_EQ(FirstDueAfter(akDaily, DecodeRecord(*store, akDaily, 0, &days), dayStart),
            dayStart + kSecondsPerDay + 11 * 3600);

  // A skip belongs to its record: the daily alarm's skip leaves a weekly
  // one at the same moment ringing.
  store->WeeklyCount = 1;
  std::memset(store->WeeklyAlarms[0].Days, 1, 7);
  store->WeeklyAlarms[0].AlarmTime = EncodeTime(11, 0, 0, 0);
  const std::int64_t tuesday = dayStart + kSecondsPerDay + 11 * 3600;
  days.SetSkips({{{akDaily, 1, 0}, tuesday}});
  EXPECT_FALSE(DueAt(akDaily, DecodeRecord(*store, akDaily, 0, &days), SplitSecond(tuesday)));
  EXPECT_TRUE(DueAt(akWeekly, DecodeRecord(*store, akWeekly, 0, &days), SplitSecond(tuesday)));
  const auto occurrence = NextRepeatingOccurrence(*store, dayStart, days);
  ASSERT_TRUE(occurrence);
  EXPECT_EQ(occurrence->Kind, akWeekly);
  EXPECT_EQ(occurrence->LocalSecond, tuesday);
}

}  // namespace
