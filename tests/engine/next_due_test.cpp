#include "engine/next_due.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/alarm_check.h"
#include "platform/date_time.h"
#include "fakes/fake_clock.h"

namespace {

using Zone = TFakeClock::TZone;
constexpr std::int64_t kHour = 3600000;
constexpr std::int64_t kMin = 60000;

// A universal instant from its UTC calendar parts.
std::int64_t Utc(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0) {
  return RoundedMs(EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms)).value() + kUtcMsOf1899;
}
// Berlin in early March 2024 (Monday the 4th to Sunday the 10th): UTC+1.
std::int64_t Cet(int d, int h, int mi, int s = 0) { return Utc(2024, 3, d, h, mi, s) - kHour; }
TDateTime Tod(int h, int mi, int s = 0, int ms = 0) { return EncodeTime(h, mi, s, ms); }
TDateTime March(int d) { return EncodeDate(2024, 3, d); }

struct TNoReceiver : TAlarmReceiver {
  void WakeUp(const std::wstring&, const std::wstring&, const std::wstring&) override { ++fired; }
  int fired = 0;
};

void Date(TAlarmStore& s, TDateTime day, TDateTime time) {
  s.DateAlarms[s.DateCount].AlarmDate = day;
  s.DateAlarms[s.DateCount++].AlarmTime = time;
}
void Daily(TAlarmStore& s, TDateTime time) { s.DailyAlarms[s.DailyCount++].AlarmTime = time; }
void Weekly(TAlarmStore& s, std::vector<int> days, TDateTime time) {
  for (int d : days) s.WeeklyAlarms[s.WeeklyCount].Days[d - 1] = 1;
  s.WeeklyAlarms[s.WeeklyCount++].AlarmTime = time;
}
void Countdown(TAlarmStore& s, TDateTime target) {
  s.CountdownAlarms[s.CountdownCount++].AlarmTime = target;
}
void Boot(TAlarmStore& s, TDateTime duration) {
  s.BootCountdownAlarms[s.BootCountdownCount++].AlarmTime = duration;
}

TEST(NextDue, EveryKindAtItsNextOccurrenceByTheZonesRules) {
  struct Case {
    const char* name;
    Zone zone;
    std::function<void(TAlarmStore&)> add;
    std::vector<std::int64_t> ticks;  // the check examines these instants first
    std::int64_t now;
    std::optional<std::int64_t> due;  // UTC
    std::uint64_t uptimeAtNow = 5 * kHour;
  };
  const std::int64_t wed12 = Cet(6, 12, 0);  // Wednesday 6 March, 12:00 CET
  const auto none = std::nullopt;
  const std::vector<Case> cases = {
      {"empty store", Zone::Berlin, [](TAlarmStore&) {}, {}, wed12, none},
      {"date later today",
       Zone::Berlin,
       [](TAlarmStore& s) { Date(s, March(6), Tod(13, 0)); },
       {},
       wed12,
       Cet(6, 13, 0)},
      {"date now, not yet examined",
       Zone::Berlin,
       [](TAlarmStore& s) { Date(s, March(6), Tod(12, 0)); },
       {},
       wed12,
       wed12},
      {"date now, examined",
       Zone::Berlin,
       [](TAlarmStore& s) { Date(s, March(6), Tod(12, 0)); },
       {wed12},
       wed12 + 500,
       none},
      {"date earlier today",
       Zone::Berlin,
       [](TAlarmStore& s) { Date(s, March(6), Tod(11, 0)); },
       {},
       wed12,
       none},
      {"date last year",
       Zone::Berlin,
       [](TAlarmStore& s) { Date(s, EncodeDate(2023, 3, 6), Tod(13, 0)); },
       {},
       wed12,
       none},
      {"date next month",
       Zone::Berlin,
       [](TAlarmStore& s) { Date(s, EncodeDate(2024, 4, 6), Tod(13, 0)); },
       {},
       wed12,
       Utc(2024, 4, 6, 11, 0)},
      {"daily later today",
       Zone::Berlin,
       [](TAlarmStore& s) { Daily(s, Tod(13, 0)); },
       {},
       wed12,
       Cet(6, 13, 0)},
      {"daily now, examined",
       Zone::Berlin,
       [](TAlarmStore& s) { Daily(s, Tod(12, 0)); },
       {wed12},
       wed12 + 500,
       Cet(7, 12, 0)},
      {"daily earlier today",
       Zone::Berlin,
       [](TAlarmStore& s) { Daily(s, Tod(11, 59, 59)); },
       {},
       wed12,
       Cet(7, 11, 59, 59)},
      {"weekly, today later",
       Zone::Berlin,
       [](TAlarmStore& s) { Weekly(s, {3}, Tod(13, 0)); },
       {},
       wed12,
       Cet(6, 13, 0)},
      {"weekly, today earlier: next week",
       Zone::Berlin,
       [](TAlarmStore& s) { Weekly(s, {3}, Tod(11, 0)); },
       {},
       wed12,
       Cet(13, 11, 0)},
      {"weekly, Monday and Friday",
       Zone::Berlin,
       [](TAlarmStore& s) {
         Weekly(s, {1, 5}, Tod(7, 0));
       },
       {},
       wed12,
       Cet(8, 7, 0)},
      {"weekly, Sunday night to Monday",
       Zone::Berlin,
       [](TAlarmStore& s) { Weekly(s, {1}, Tod(7, 0)); },
       {},
       Cet(10, 23, 0),
       Cet(11, 7, 0)},
      {"weekly, Sunday only, after its time",
       Zone::Berlin,
       [](TAlarmStore& s) { Weekly(s, {7}, Tod(22, 0)); },
       {},
       Cet(10, 23, 0),
       Cet(17, 22, 0)},
      {"weekly, no day chosen",
       Zone::Berlin,
       [](TAlarmStore& s) { Weekly(s, {}, Tod(13, 0)); },
       {},
       wed12,
       none},
      {"countdown before its target",
       Zone::Berlin,
       [](TAlarmStore& s) { Countdown(s, March(6) + Tod(12, 30, 0, 300)); },
       {},
       wed12,
       Cet(6, 12, 30)},
      {"countdown after its first ringing",
       Zone::Berlin,
       [](TAlarmStore& s) { Countdown(s, March(6) + Tod(12, 30, 0, 300)); },
       {Cet(6, 12, 30) + 20},
       Cet(6, 12, 30, 1),
       Cet(7, 12, 30)},
      {"countdown stored three days ago",
       Zone::Berlin,
       [](TAlarmStore& s) { Countdown(s, March(3) + Tod(9, 0)); },
       {},
       wed12,
       Cet(7, 9, 0)},
      {"countdown stored later than it rings today",
       Zone::Berlin,
       [](TAlarmStore& s) { Countdown(s, March(8) + Tod(9, 0)); },
       {},
       wed12,
       Cet(8, 9, 0)},
      {"boot countdown ahead",
       Zone::Berlin,
       [](TAlarmStore& s) { Boot(s, Tod(5, 10)); },
       {},
       wed12,
       wed12 + 10 * kMin},
      {"boot countdown passed",
       Zone::Berlin,
       [](TAlarmStore& s) { Boot(s, Tod(4, 59, 59)); },
       {},
       wed12,
       none},
      {"boot countdown after its ringing",
       Zone::Berlin,
       [](TAlarmStore& s) { Boot(s, Tod(5, 0)); },
       {wed12},
       wed12 + 500,
       none,
       5 * kHour + 500},
      {"boot countdown on the second day",
       Zone::Berlin,
       [](TAlarmStore& s) { Boot(s, Tod(1, 10)); },
       {},
       wed12,
       none,
       24 * kHour + kHour},
      {"the earliest of all kinds",
       Zone::Berlin,
       [](TAlarmStore& s) {
         Daily(s, Tod(12, 20));
         Weekly(s, {3}, Tod(12, 15));
         Boot(s, Tod(5, 12));
         Date(s, March(6), Tod(12, 30));
       },
       {},
       wed12,
       wed12 + 12 * kMin},
      // Daylight saving time.
      {"Berlin, inside the skipped hour: as the clock leaves it",
       Zone::Berlin,
       [](TAlarmStore& s) { Daily(s, Tod(2, 30)); },
       {},
       Utc(2024, 3, 31, 0, 0),
       Utc(2024, 3, 31, 1, 0)},
      {"Berlin, date inside the skipped hour",
       Zone::Berlin,
       [](TAlarmStore& s) { Date(s, March(31), Tod(2, 15)); },
       {},
       Utc(2024, 3, 30, 12, 0),
       Utc(2024, 3, 31, 1, 0)},
      {"Berlin, after the skipped hour: summer time",
       Zone::Berlin,
       [](TAlarmStore& s) { Daily(s, Tod(3, 30)); },
       {},
       Utc(2024, 3, 31, 0, 0),
       Utc(2024, 3, 31, 1, 30)},
      {"Berlin, repeated hour: first pass",
       Zone::Berlin,
       [](TAlarmStore& s) { Daily(s, Tod(2, 30)); },
       {},
       Utc(2024, 10, 26, 23, 0),
       Utc(2024, 10, 27, 0, 30)},
      {"Berlin, repeated hour: once",
       Zone::Berlin,
       [](TAlarmStore& s) { Daily(s, Tod(2, 30)); },
       {Utc(2024, 10, 27, 0, 30), Utc(2024, 10, 27, 1, 10)},
       Utc(2024, 10, 27, 1, 40),
       Utc(2024, 10, 28, 1, 30)},
      {"New York, inside the skipped hour",
       Zone::NewYork,
       [](TAlarmStore& s) { Daily(s, Tod(2, 30)); },
       {},
       Utc(2024, 3, 10, 6, 0),
       Utc(2024, 3, 10, 7, 0)},
      {"New York, repeated hour: first pass",
       Zone::NewYork,
       [](TAlarmStore& s) { Daily(s, Tod(1, 30)); },
       {},
       Utc(2024, 11, 3, 4, 30),
       Utc(2024, 11, 3, 5, 30)},
      {"New York, repeated hour: once",
       Zone::NewYork,
       [](TAlarmStore& s) { Daily(s, Tod(1, 30)); },
       {Utc(2024, 11, 3, 5, 30), Utc(2024, 11, 3, 6, 0)},
       Utc(2024, 11, 3, 6, 45),
       Utc(2024, 11, 4, 6, 30)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto store = std::make_unique<TAlarmStore>();
    std::memset(store.get(), 0, sizeof(TAlarmStore));
    c.add(*store);
    TFakeClock clock;
    clock.Zone = c.zone;
    TAlarmCheck check;
    TNoReceiver receiver;
    const auto at = [&](std::int64_t utc) {
      clock.SetUtc(utc);
      clock.Uptime =
          static_cast<std::uint64_t>(static_cast<std::int64_t>(c.uptimeAtNow) + utc - c.now);
    };
    for (const std::int64_t t : c.ticks) {
      at(t);
      check.Tick(*store, clock.Now(), clock.UptimeMs(), receiver);
    }
    at(c.now);
    const int firedBefore = receiver.fired;
    const TDueMoment due = check.PlanNext(*store, clock.Now(), clock.UptimeMs());
    const auto utc = DueUtcMs(due, clock, clock.Now(), clock.UptimeMs());
    EXPECT_EQ(utc, c.due);
    if (!utc) continue;
    // The plan and the check agree: the tick a millisecond before the
    // planned moment finds nothing, the tick at it rings.
    at(*utc - 1);
    check.Tick(*store, clock.Now(), clock.UptimeMs(), receiver);
    EXPECT_EQ(receiver.fired, firedBefore);
    at(*utc);
    check.Tick(*store, clock.Now(), clock.UptimeMs(), receiver);
    EXPECT_GT(receiver.fired, firedBefore);
  }
}

TEST(NextDue, ALateWakeUpStillRingsThePlannedMomentButNotAnOldOne) {
  // The PC slept hours and resumed a few seconds after the planned moment;
  // past the catch-up limit nothing rings late.
  struct Case {
    std::int64_t lateMs;
    int fired;
  };
  for (const Case& c : {Case{4000, 1}, Case{300000, 1}, Case{301000, 0}}) {
    SCOPED_TRACE(c.lateMs);
    auto store = std::make_unique<TAlarmStore>();
    std::memset(store.get(), 0, sizeof(TAlarmStore));
    Daily(*store, Tod(7, 0));
    TFakeClock clock;
    clock.Zone = Zone::Berlin;
    TAlarmCheck check;
    TNoReceiver receiver;
    clock.SetUtc(Cet(6, 23, 0));
    check.Tick(*store, clock.Now(), clock.UptimeMs(), receiver);
    const auto due = DueUtcMs(check.PlanNext(*store, clock.Now(), clock.UptimeMs()), clock,
                              clock.Now(), clock.UptimeMs());
    ASSERT_EQ(due, Cet(7, 7, 0));
    clock.SetUtc(*due + c.lateMs);
    check.Tick(*store, clock.Now(), clock.UptimeMs(), receiver);
    check.Tick(*store, clock.Now(), clock.UptimeMs(), receiver);
    EXPECT_EQ(receiver.fired, c.fired);
  }
}

TEST(WakeTimerTime, TheDueTimeNoLaterThanTheSafetyWakeNeverInThePast) {
  const std::int64_t now = 1700000000250;
  struct Case {
    std::optional<std::int64_t> due;
    std::int64_t expected;
  };
  for (const Case& c : {Case{std::nullopt, now + kHour}, Case{now + 5000, now + 5000},
                        Case{now + kHour + 1, now + kHour}, Case{now, 1700000001000},
                        Case{now - 90000, 1700000001000}}) {
    EXPECT_EQ(WakeTimerUtcMs(c.due, now), c.expected);
  }
}

TEST(EarlyWake, AMinuteBeforeTheDueTimeNoneWhenNothingIsDueOrTheMinuteHasBegun) {
  const std::int64_t now = 1700000000000;
  struct Case {
    std::optional<std::int64_t> due;
    std::optional<std::int64_t> wake;
    bool near;
  };
  for (const Case& c : {Case{std::nullopt, std::nullopt, false},
                        Case{now + 5 * kHour, now + 5 * kHour - 60000, false},
                        Case{now + 60001, now + 1, false},
                        Case{now + 60000, std::nullopt, true},
                        Case{now + 1000, std::nullopt, true},
                        Case{now - 1000, std::nullopt, true}}) {
    SCOPED_TRACE(c.due ? *c.due - now : -1);
    EXPECT_EQ(EarlyWakeUtcMs(c.due, now), c.wake);
    EXPECT_EQ(AlarmNear(c.due, now), c.near);
  }
}

TEST(FakeClockZones, LocalTimeAroundEachChange) {
  // The rules the tests above rely on.
  struct Case {
    Zone zone;
    std::int64_t utc;
    int offsetHours;
  };
  for (const Case& c : {Case{Zone::Berlin, Utc(2024, 3, 31, 0, 59, 59), 1},
                        Case{Zone::Berlin, Utc(2024, 3, 31, 1, 0), 2},
                        Case{Zone::Berlin, Utc(2024, 10, 27, 0, 59, 59), 2},
                        Case{Zone::Berlin, Utc(2024, 10, 27, 1, 0), 1},
                        Case{Zone::NewYork, Utc(2024, 3, 10, 6, 59, 59), -5},
                        Case{Zone::NewYork, Utc(2024, 3, 10, 7, 0), -4},
                        Case{Zone::NewYork, Utc(2024, 11, 3, 5, 59, 59), -4},
                        Case{Zone::NewYork, Utc(2024, 11, 3, 6, 0), -5}}) {
    TFakeClock clock;
    clock.Zone = c.zone;
    EXPECT_EQ(clock.LocalAt(c.utc), c.utc - kUtcMsOf1899 + c.offsetHours * kHour) << c.utc;
  }
}

}  // namespace
