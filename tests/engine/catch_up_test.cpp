// What the check finds between a second examined in an earlier run (or
// before the PC slept) and now: late alarms ring, older moments are missed.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/alarm_check.h"
#include "platform/date_time.h"
#include "fakes/fake_clock.h"

namespace {

TDateTime At(int y, int mo, int d, int h, int mi, int s = 0) {
  return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, 0);
}
std::int64_t Second(TDateTime local) { return RoundedMs(local).value() / 1000; }

using TZone = TFakeClock::TZone;

struct TCase {
  const char* name;
  TZone zone;
  TDateTime now;          // local
  TDateTime lastExamined;  // local
  std::function<void(TAlarmStore&)> add;  // one record
  TAlarmKind kind;
  bool late;                  // rings now
  int missed;                 // moments listed as missed
  TDateTime latestMissed = 0;  // local
};

void Daily(TAlarmStore& s, TDateTime t) { s.DailyAlarms[s.DailyCount++].AlarmTime = t; }

TEST(CatchUp, LateAlarmsRingOnceAndOlderMomentsAreMissedForEveryKindAcrossGaps) {
  const TDateTime now = At(2026, 12, 8, 12, 0);  // a Tuesday
  const auto daily = [](int h, int m, int s = 0) {
    return [=](TAlarmStore& st) { Daily(st, EncodeTime(h, m, s, 0)); };
  };
  const auto date = [](TDateTime d, TDateTime t) {
    return [=](TAlarmStore& st) {
      st.DateAlarms[st.DateCount].AlarmDate = d;
      st.DateAlarms[st.DateCount++].AlarmTime = t;
    };
  };
  const auto weekly = [](std::vector<int> days, TDateTime t) {
    return [=](TAlarmStore& st) {
      for (const int d : days) st.WeeklyAlarms[st.WeeklyCount].Days[d - 1] = 1;
      st.WeeklyAlarms[st.WeeklyCount++].AlarmTime = t;
    };
  };
  const auto countdown = [](TDateTime target) {
    return [=](TAlarmStore& st) { st.CountdownAlarms[st.CountdownCount++].AlarmTime = target; };
  };
  const auto boot = [](TDateTime duration) {
    return [=](TAlarmStore& st) {
      st.BootCountdownAlarms[st.BootCountdownCount++].AlarmTime = duration;
    };
  };
  const TDateTime minutesAgo10 = At(2026, 12, 8, 11, 50);
  const TDateTime hoursAgo3 = At(2026, 12, 8, 9, 0);
  const TDateTime weekAgo = At(2026, 12, 1, 12, 0);
  // Berlin: summer time began on 29 March 2026 at 02:00 and ended on 25
  // October 2026 at 03:00.
  const TDateTime springNow = At(2026, 3, 29, 3, 3);
  const TDateTime springLast = At(2026, 3, 29, 1, 50);
  const TDateTime fallNow = At(2026, 10, 25, 2, 4);  // the second pass, in winter time
  const TDateTime fallLast = At(2026, 10, 25, 1, 30);
  const TCase cases[] = {
      // Minutes.
      {"daily 2 min late", TZone::Fixed, now, minutesAgo10, daily(11, 58), akDaily, true, 0},
      {"daily just 5 min late", TZone::Fixed, now, minutesAgo10, daily(11, 55), akDaily, true, 0},
      {"daily 5 min 1 s late", TZone::Fixed, now, minutesAgo10, daily(11, 54, 59), akDaily, false,
       1, At(2026, 12, 8, 11, 54, 59)},
      {"daily at the examined second", TZone::Fixed, now, minutesAgo10, daily(11, 50), akDaily,
       false, 0},
      {"daily due now", TZone::Fixed, now, minutesAgo10, daily(12, 0), akDaily, true, 0},
      {"daily still to come", TZone::Fixed, now, minutesAgo10, daily(12, 1), akDaily, false, 0},
      // Hours.
      {"daily 2 h ago", TZone::Fixed, now, hoursAgo3, daily(10, 0), akDaily, false, 1,
       At(2026, 12, 8, 10, 0)},
      {"date 1 h ago", TZone::Fixed, now, hoursAgo3, date(EncodeDate(2026, 12, 8), EncodeTime(11, 0, 0, 0)),
       akDate, false, 1, At(2026, 12, 8, 11, 0)},
      {"date 3 min late", TZone::Fixed, now, hoursAgo3,
       date(EncodeDate(2026, 12, 8), EncodeTime(11, 57, 0, 0)), akDate, true, 0},
      {"weekly Tuesday 1 h ago", TZone::Fixed, now, hoursAgo3, weekly({2}, EncodeTime(11, 0, 0, 0)),
       akWeekly, false, 1, At(2026, 12, 8, 11, 0)},
      {"countdown 1 h ago", TZone::Fixed, now, hoursAgo3, countdown(At(2026, 12, 8, 11, 0)),
       akCountdown, false, 1, At(2026, 12, 8, 11, 0)},
      {"countdown 1 min late", TZone::Fixed, now, hoursAgo3, countdown(At(2026, 12, 8, 11, 59)),
       akCountdown, true, 0},
      {"boot countdown never", TZone::Fixed, now, hoursAgo3, boot(EncodeTime(0, 10, 0, 0)),
       akBootCountdown, false, 0},
      // A week.
      {"daily every day of a week", TZone::Fixed, now, weekAgo, daily(11, 30), akDaily, false, 7,
       At(2026, 12, 8, 11, 30)},
      {"daily after the examined time", TZone::Fixed, now, weekAgo, daily(13, 0), akDaily, false,
       7, At(2026, 12, 7, 13, 0)},
      {"daily late now and missed before", TZone::Fixed, now, weekAgo, daily(11, 57), akDaily,
       true, 6, At(2026, 12, 7, 11, 57)},
      {"date within the week", TZone::Fixed, now, weekAgo,
       date(EncodeDate(2026, 12, 4), EncodeTime(8, 0, 0, 0)), akDate, false, 1,
       At(2026, 12, 4, 8, 0)},
      {"date before the week", TZone::Fixed, now, weekAgo,
       date(EncodeDate(2026, 11, 30), EncodeTime(8, 0, 0, 0)), akDate, false, 0},
      {"weekly Monday and Tuesday", TZone::Fixed, now, weekAgo,
       weekly({1, 2}, EncodeTime(8, 0, 0, 0)), akWeekly, false, 2, At(2026, 12, 8, 8, 0)},
      {"countdown repeats daily", TZone::Fixed, now, weekAgo, countdown(At(2026, 12, 5, 10, 0)),
       akCountdown, false, 4, At(2026, 12, 8, 10, 0)},
      {"boot countdown never in a week", TZone::Fixed, now, weekAgo, boot(EncodeTime(0, 0, 5, 0)),
       akBootCountdown, false, 0},
      // The clock was set back while the program was off: nothing, and the
      // hour from 12:00 to 13:00 does not ring again.
      {"examined second in the future", TZone::Fixed, now, At(2026, 12, 8, 13, 0), daily(12, 30),
       akDaily, false, 0},
      // Summer time begins: the hour from 02:00 is skipped.
      {"spring: 4 min of real time late", TZone::Berlin, springNow, springLast, daily(1, 59),
       akDaily, true, 0},
      {"spring: 6 min of real time late", TZone::Berlin, springNow, springLast, daily(1, 57),
       akDaily, false, 1, At(2026, 3, 29, 1, 57)},
      {"spring: in the skipped hour, due as it ended", TZone::Berlin, springNow, springLast,
       daily(2, 30), akDaily, true, 0},
      {"spring: weekly Sunday 4 min of real time late", TZone::Berlin, springNow, springLast,
       weekly({7}, EncodeTime(1, 59, 0, 0)), akWeekly, true, 0},
      {"spring: countdown 6 min late", TZone::Berlin, springNow, springLast,
       countdown(At(2026, 3, 29, 1, 57)), akCountdown, false, 1, At(2026, 3, 29, 1, 57)},
      {"spring: date at 03:01", TZone::Berlin, springNow, springLast,
       date(EncodeDate(2026, 3, 29), EncodeTime(3, 1, 0, 0)), akDate, true, 0},
      // Summer time ends: the hour from 02:00 repeats; a moment in it came
      // on its first pass, an hour ago.
      {"fall: first pass of 02:01, 63 min ago", TZone::Berlin, fallNow, fallLast, daily(2, 1),
       akDaily, false, 1, At(2026, 10, 25, 2, 1)},
      {"fall: 01:45, 79 min ago", TZone::Berlin, fallNow, fallLast, daily(1, 45), akDaily, false,
       1, At(2026, 10, 25, 1, 45)},
      {"fall: date at 02:03 on its first pass", TZone::Berlin, fallNow, fallLast,
       date(EncodeDate(2026, 10, 25), EncodeTime(2, 3, 0, 0)), akDate, false, 1,
       At(2026, 10, 25, 2, 3)},
      {"fall: boot countdown never", TZone::Berlin, fallNow, fallLast,
       boot(EncodeTime(0, 0, 1, 0)), akBootCountdown, false, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto store = std::make_unique<TAlarmStore>();
    std::memset(store.get(), 0, sizeof(TAlarmStore));
    c.add(*store);
    TFakeClock clock;
    clock.Zone = c.zone;
    if (c.zone == TZone::Fixed) {
      clock.SetLocal(c.now);
    } else {
      // The universal instant at which the zone's clock reads `now` (on its
      // last pass).
      std::int64_t utc = clock.LocalToUtcMs(RoundedMs(c.now).value());
      while (clock.LocalAt(utc + 3600000) == RoundedMs(c.now).value()) utc += 3600000;
      clock.SetUtc(utc);
      ASSERT_EQ(clock.LocalMs, RoundedMs(c.now).value());
    }
    TAlarmCheck check;
    const TAlarmCheck::TCatchUp r = check.CatchUp(*store, clock.Now(), Second(c.lastExamined), clock);
    EXPECT_EQ(r.Late.size(), c.late ? 1u : 0u);
    if (c.late && !r.Late.empty()) {
      EXPECT_EQ(r.Late[0].Kind, c.kind);
      EXPECT_EQ(r.Late[0].Index, 1);
    }
    ASSERT_EQ(r.Missed.size(), c.missed > 0 ? 1u : 0u);
    if (c.missed > 0) {
      EXPECT_EQ(r.Missed[0].Kind, c.kind);
      EXPECT_EQ(r.Missed[0].Index, 1);
      EXPECT_EQ(r.Missed[0].Count, c.missed);
      EXPECT_EQ(r.Missed[0].LatestSecond, Second(c.latestMissed));
    }
    // Everything up to now is handled: the next tick finds nothing again.
    struct TNone : TAlarmReceiver {
      int rung = 0;
      void WakeUp(const std::wstring&, const std::wstring&, const std::wstring&) override {
        ++rung;
      }
    } none;
    check.Tick(*store, clock.Now(), clock.UptimeMs(), none);
    clock.Advance(1000);
    check.Tick(*store, clock.Now(), clock.UptimeMs(), none);
    EXPECT_EQ(none.rung, 0);
    // A clock set back (up to two hours) since: what was examined stays so.
    EXPECT_EQ(check.LastExamined(), std::max(Second(c.now) + 1, Second(c.lastExamined)));
  }
}

TEST(CatchUp, AGapOfYearsLooksAtItsLastYearOnly) {
  auto store = std::make_unique<TAlarmStore>();
  std::memset(store.get(), 0, sizeof(TAlarmStore));
  Daily(*store, EncodeTime(6, 0, 0, 0));
  TFakeClock clock;
  clock.SetLocal(At(2026, 12, 8, 12, 0));
  TAlarmCheck check;
  const auto r = check.CatchUp(*store, clock.Now(), Second(At(2016, 1, 1, 0, 0)), clock);
  ASSERT_EQ(r.Missed.size(), 1u);
  EXPECT_EQ(r.Missed[0].Count, TAlarmCheck::kMaxCatchUpDays);
}

}  // namespace
