#include "engine/alarm_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "fakes/fake_clock.h"
#include "platform/errors.h"

namespace {

using Texts = std::vector<std::wstring>;

TDateTime At(int y, int mo, int d, int h, int mi, int s, int ms = 0) {
  return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}
TDateTime Tod(int h, int mi, int s, int ms = 0) { return EncodeTime(h, mi, s, ms); }

// 10 March 2024 was a Sunday.
const TDateTime kSunday = EncodeDate(2024, 3, 10);

template <typename Rec>
Rec& Append(Rec* table, std::uint16_t& count, const std::wstring& msg) {
  Rec& r = table[count++];
  ToShortString(msg, r.Msg);
  return r;
}
void AddDate(TAlarmStore& s, const std::wstring& msg, TDateTime date, TDateTime time) {
  auto& r = Append(s.DateAlarms, s.DateCount, msg);
  r.AlarmDate = date;
  r.AlarmTime = time;
}
void AddDaily(TAlarmStore& s, const std::wstring& msg, TDateTime time) {
  Append(s.DailyAlarms, s.DailyCount, msg).AlarmTime = time;
}
void AddWeekly(TAlarmStore& s, const std::wstring& msg, int weekday, TDateTime time) {
  auto& r = Append(s.WeeklyAlarms, s.WeeklyCount, msg);
  r.Days[weekday - 1] = 1;
  r.AlarmTime = time;
}
void AddCountdown(TAlarmStore& s, const std::wstring& msg, TDateTime target) {
  Append(s.CountdownAlarms, s.CountdownCount, msg).AlarmTime = target;
}
void AddBoot(TAlarmStore& s, const std::wstring& msg, TDateTime duration) {
  Append(s.BootCountdownAlarms, s.BootCountdownCount, msg).AlarmTime = duration;
}

class TRecorder : public TAlarmReceiver {
 public:
  void WakeUp(const std::wstring& message, const std::wstring& file,
              const std::wstring& music) override {
    fired.push_back(message);
    actions.push_back(message + L"|" + file + L"|" + music);
    if (onWakeUp) onWakeUp(message);
  }
  Texts fired;
  Texts actions;
  std::function<void(const std::wstring&)> onWakeUp;
};

// A check with its own store, clock and receiver.
struct TRig {
  TRig() { std::memset(store.get(), 0, sizeof(TAlarmStore)); }
  std::unique_ptr<TAlarmStore> store = std::make_unique<TAlarmStore>();
  TFakeClock clock;
  TAlarmCheck check;
  TRecorder receiver;
  Texts Tick() { return check.Tick(*store, clock.Now(), clock.UptimeMs(), receiver); }
};

constexpr std::uint64_t kHourMs = 3600000;

TEST(AlarmCheck, EachKindIsDueOnlyInItsSecond) {
  struct Case {
    const char* name;
    std::function<void(TAlarmStore&)> add;
    TDateTime local;
    std::uint64_t uptimeMs;
    bool due;
  };
  const auto date = [](TAlarmStore& s) { AddDate(s, L"A", kSunday, Tod(7, 30, 0)); };
  const auto daily = [](TAlarmStore& s) { AddDaily(s, L"A", Tod(0, 0, 0)); };
  const auto sunday = [](TAlarmStore& s) { AddWeekly(s, L"A", 7, Tod(7, 0, 0)); };
  const auto monday = [](TAlarmStore& s) { AddWeekly(s, L"A", 1, Tod(7, 0, 0)); };
  // Stored at 10:00:00.300 with a duration of 0:05:00.
  const auto countdown = [](TAlarmStore& s) {
    AddCountdown(s, L"A", kSunday + Tod(10, 0, 0, 300) + Tod(0, 5, 0));
  };
  const auto boot10 = [](TAlarmStore& s) { AddBoot(s, L"A", Tod(0, 10, 0)); };
  const auto boot70 = [](TAlarmStore& s) { AddBoot(s, L"A", Tod(1, 10, 0)); };
  const auto stored = [](double v) { return [v](TAlarmStore& s) { AddDaily(s, L"A", v); }; };
  const std::uint64_t up = 5 * kHourMs;
  const std::vector<Case> cases = {
      {"date, first ms", date, kSunday + Tod(7, 30, 0), up, true},
      {"date, last ms", date, kSunday + Tod(7, 30, 0, 999), up, true},
      {"date, next second", date, kSunday + Tod(7, 30, 1), up, false},
      {"date, ms before", date, kSunday + Tod(7, 29, 59, 999), up, false},
      {"date, next day", date, kSunday + 1 + Tod(7, 30, 0), up, false},
      {"daily at midnight", daily, kSunday + Tod(0, 0, 0), up, true},
      {"daily at midnight later", daily, At(2024, 7, 1, 0, 0, 0, 500), up, true},
      {"daily before midnight", daily, kSunday + Tod(23, 59, 59, 999), up, false},
      {"daily, negative value with days", stored(-(45000 + 0.25)), kSunday + Tod(6, 0, 0), up,
       true},
      {"daily, NaN", stored(std::nan("")), kSunday + Tod(0, 0, 0), up, false},
      {"daily, infinite", stored(HUGE_VAL), kSunday + Tod(0, 0, 0), up, false},
      {"daily, absurd", stored(1e300), kSunday + Tod(0, 0, 0), up, false},
      {"Sunday byte on Sunday", sunday, kSunday + Tod(7, 0, 0), up, true},
      {"Sunday byte on Saturday", sunday, kSunday - 1 + Tod(7, 0, 0), up, false},
      {"Sunday byte on Monday", sunday, kSunday + 1 + Tod(7, 0, 0), up, false},
      {"Monday byte on Monday", monday, kSunday + 1 + Tod(7, 0, 0), up, true},
      {"Monday byte on Sunday", monday, kSunday + Tod(7, 0, 0), up, false},
      {"countdown, ms before its second", countdown, kSunday + Tod(10, 4, 59, 999), up, false},
      {"countdown, its second", countdown, kSunday + Tod(10, 5, 0, 0), up, true},
      {"countdown, end of its second", countdown, kSunday + Tod(10, 5, 0, 999), up, true},
      {"countdown, next second", countdown, kSunday + Tod(10, 5, 1), up, false},
      {"countdown, next day", countdown, kSunday + 1 + Tod(10, 5, 0, 500), up, true},
      {"countdown, day before", countdown, kSunday - 1 + Tod(10, 5, 0, 500), up, false},
      {"boot 0:10:00 at 0:10:00", boot10, kSunday, 600000, true},
      {"boot 0:10:00 at 0:10:00.999", boot10, kSunday, 600999, true},
      {"boot 0:10:00 at 0:09:59.999", boot10, kSunday, 599999, false},
      {"boot 0:10:00 at 0:10:01", boot10, kSunday, 601000, false},
      {"boot 1:10:00 at 1:10:00", boot70, kSunday, 4200000, true},
      {"boot 1:10:00 at 25:10:00", boot70, kSunday, 24 * kHourMs + 4200000, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TRig rig;
    c.add(*rig.store);
    rig.clock.SetLocal(c.local);
    rig.clock.Uptime = c.uptimeMs;
    rig.Tick();
    EXPECT_EQ(rig.receiver.fired, c.due ? Texts{L"A"} : Texts{});
  }
}

TEST(AlarmCheck, FiresBySecondThenKindThenRecord) {
  TRig rig;
  TAlarmStore& s = *rig.store;
  AddDate(s, L"date 07:00:01", kSunday, Tod(7, 0, 1));
  AddDate(s, L"date Monday", kSunday + 1, Tod(7, 0, 0));
  AddDaily(s, L"daily 1", Tod(6, 0, 0));
  AddDaily(s, L"daily 2", Tod(6, 30, 0));
  AddDaily(s, L"daily 3", Tod(7, 0, 0));
  AddWeekly(s, L"weekly 1", 7, Tod(7, 0, 0));
  AddWeekly(s, L"weekly 2", 7, Tod(7, 0, 1));
  AddCountdown(s, L"countdown", kSunday + Tod(7, 0, 0, 700));
  AddBoot(s, L"boot", Tod(0, 20, 1));
  rig.clock.SetLocal(kSunday + Tod(6, 59, 59, 500));
  rig.clock.Uptime = 1200500;
  rig.Tick();
  rig.clock.Advance(2100);  // one tick late: 07:00:00 and 07:00:01 are both examined
  rig.Tick();
  EXPECT_EQ(rig.receiver.fired,
            (Texts{L"daily 3", L"weekly 1", L"countdown", L"date 07:00:01", L"weekly 2", L"boot"}));
}

TEST(AlarmCheck, EverySecondFiresOnceWhateverTheTickRhythm) {
  struct Rhythm {
    const char* name;
    int phaseMs;
    std::vector<std::int64_t> stepsMs;
  };
  const std::vector<Rhythm> rhythms = {
      {"every 1015 ms", 20, {1015}},
      {"5 s stall, then a burst", 990, {5000, 2, 3, 2, 1}},
      {"two ticks a second", 0, {499, 501}},
      {"a late tick, then an early one", 980, {1990, 10}},
  };
  for (const auto& r : rhythms) {
    // Ten minutes of daily alarms, one a second, 100 at a time.
    for (int batch = 0; batch < 6; ++batch) {
      SCOPED_TRACE(std::string(r.name) + ", batch " + std::to_string(batch));
      TRig rig;
      Texts expected;
      for (int i = batch * 100; i < batch * 100 + 100; ++i) {
        AddDaily(*rig.store, std::to_wstring(i), Tod(8, 0, i));
        expected.push_back(std::to_wstring(i));
      }
      rig.clock.SetLocal(kSunday + Tod(7, 59, 50, r.phaseMs));
      const std::int64_t end = RoundedMs(kSunday + Tod(8, 10, 10)).value();
      for (std::size_t step = 0; rig.clock.LocalMs < end; ++step) {
        rig.Tick();
        rig.clock.Advance(r.stepsMs[step % r.stepsMs.size()]);
      }
      EXPECT_EQ(rig.receiver.fired, expected);
    }
  }
}

TEST(AlarmCheck, ClockChangesNeitherRepeatNorReplayAlarms) {
  // Each move shifts the clock, then a tick follows; `times` repeats it.
  struct Move {
    std::int64_t localMs;
    std::int64_t utcMs;
    int times = 1;
  };
  struct Case {
    const char* name;
    TDateTime start;
    std::function<void(TAlarmStore&)> add;
    std::vector<Move> moves;
    Texts fired;
  };
  const auto dailies = [](std::vector<std::pair<const wchar_t*, TDateTime>> list) {
    return [list](TAlarmStore& s) {
      for (const auto& [msg, time] : list) AddDaily(s, msg, time);
    };
  };
  const std::vector<Case> cases = {
      {"set back an hour: the hour is not examined again",
       Tod(6, 59, 58, 20),
       dailies({{L"07:00:00", Tod(7, 0, 0)},
                {L"06:00:01", Tod(6, 0, 1)},
                {L"06:30", Tod(6, 30, 0)},
                {L"07:00:01", Tod(7, 0, 1)}}),
       {{1000, 1000, 2}, {1000 - 3600000, 1000 - 3600000}, {1000, 1000, 3600}},
       {L"07:00:00", L"07:00:01"}},
      {"moved forward ten minutes",
       Tod(7, 0, 0, 20),
       dailies({{L"skipped", Tod(7, 5, 0)}, {L"landing", Tod(7, 10, 1)}, {L"next", Tod(7, 10, 2)}}),
       {{601000, 601000}, {1000, 1000}},
       {L"landing", L"next"}},
      {"a 300 s pause is caught up",
       Tod(7, 0, 0, 20),
       dailies({{L"07:02", Tod(7, 2, 0)}, {L"07:05", Tod(7, 5, 0)}}),
       {{300000, 300000}},
       {L"07:02", L"07:05"}},
      {"a 301 s pause is not",
       Tod(7, 0, 0, 20),
       dailies({{L"07:02", Tod(7, 2, 0)}, {L"07:05:01", Tod(7, 5, 1)}}),
       {{301000, 301000}},
       {L"07:05:01"}},
      {"daylight saving time begins",
       Tod(1, 59, 58, 20),
       dailies({{L"01:59:59", Tod(1, 59, 59)},
                {L"02:30", Tod(2, 30, 0)},
                {L"03:00:00", Tod(3, 0, 0)},
                {L"03:00:01", Tod(3, 0, 1)}}),
       {{1000, 1000}, {3601000, 1000}, {1000, 1000}},
       {L"01:59:59", L"02:30", L"03:00:00", L"03:00:01"}},
      {"daylight saving time ends",
       Tod(2, 29, 58, 20),
       dailies(
           {{L"02:30", Tod(2, 30, 0)}, {L"02:59:59", Tod(2, 59, 59)}, {L"03:00", Tod(3, 0, 0)}}),
       {{1000, 1000, 1801}, {-3599000, 1000}, {1000, 1000, 3605}},
       {L"02:30", L"02:59:59", L"03:00"}},
      {"time zone moved ten hours on",
       Tod(7, 0, 0, 20),
       dailies({{L"12:00", Tod(12, 0, 0)}, {L"17:00:01", Tod(17, 0, 1)}}),
       {{36001000, 1000}},
       {L"17:00:01"}},
      {"time zone moved five hours back",
       Tod(12, 0, 0, 20),
       dailies({{L"07:00:05", Tod(7, 0, 5)}}),
       {{1000 - 5 * 3600000, 1000}, {1000, 1000, 5}},
       {L"07:00:05"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TRig rig;
    c.add(*rig.store);
    rig.clock.SetLocal(kSunday + c.start);
    rig.Tick();
    for (const Move& m : c.moves) {
      for (int i = 0; i < m.times; ++i) {
        rig.clock.LocalMs += m.localMs;
        rig.clock.UtcMs += m.utcMs;
        rig.Tick();
      }
    }
    EXPECT_EQ(rig.receiver.fired, c.fired);
  }
}

TEST(AlarmCheck, AClockSetBackAfterAnAlarmRangRingsNothingTwice) {
  // Each kind rings at 07:00:00; the clock (real time and local time alike)
  // is set back just after, then runs until it is past 07:00:00 again.
  struct Case {
    const char* name;
    std::int64_t backMs;
    int ringsEach;  // 2: the repeated hours are examined again
  };
  const Case cases[] = {
      {"2 s", 2000, 1},
      {"60 s", 60000, 1},
      {"59 min", 59 * 60000, 1},
      {"3 h", 3 * kHourMs, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRig rig;
    const TDateTime seven = Tod(7, 0, 0);
    AddDate(*rig.store, L"date", kSunday, seven);
    AddDaily(*rig.store, L"daily", seven);
    AddWeekly(*rig.store, L"weekly", 7, seven);
    AddCountdown(*rig.store, L"countdown", kSunday + seven);
    // A boot countdown goes by uptime, which no clock setting moves.
    AddDaily(*rig.store, L"after", Tod(7, 0, 1));
    rig.clock.SetLocal(kSunday + Tod(6, 59, 59, 20));
    rig.Tick();
    rig.clock.Advance(1000);
    rig.Tick();
    ASSERT_EQ(rig.receiver.fired, (Texts{L"date", L"daily", L"weekly", L"countdown"}));
    rig.clock.Advance(500);
    rig.clock.LocalMs -= c.backMs;
    rig.clock.UtcMs -= c.backMs;
    rig.Tick();
    for (std::int64_t t = 0; t <= c.backMs + 1000; t += 1000) {
      rig.clock.Advance(1000);
      rig.Tick();
    }
    std::map<std::wstring, int> rings;
    for (const auto& f : rig.receiver.fired) ++rings[f];
    EXPECT_EQ(rings[L"date"], c.ringsEach);
    EXPECT_EQ(rings[L"daily"], c.ringsEach);
    EXPECT_EQ(rings[L"weekly"], c.ringsEach);
    // A countdown is due around its target moment, also after a restart.
    EXPECT_EQ(rings[L"countdown"], c.ringsEach);
    EXPECT_EQ(rings[L"after"], 1) << "the check did not go on after the clock caught up";
  }
}

TEST(AlarmCheck, CountdownsAndBootCountdownsFireOncePerOccurrence) {
  TRig rig;
  AddCountdown(*rig.store, L"countdown", kSunday + Tod(10, 5, 0, 300));
  AddBoot(*rig.store, L"boot", Tod(0, 10, 0));
  rig.clock.SetLocal(kSunday + Tod(10, 4, 50, 800));
  rig.clock.Uptime = 590800;
  std::vector<std::size_t> perDay;
  for (int day = 0; day < 3; ++day) {
    for (int i = 0; i < 20; ++i) {
      rig.Tick();
      rig.clock.Advance(1000);
    }
    perDay.push_back(rig.receiver.fired.size());
    // The PC sleeps until shortly before the next occurrence.
    rig.clock.Advance(24 * kHourMs - 20000);
  }
  EXPECT_EQ(rig.receiver.fired, (Texts{L"countdown", L"boot", L"countdown", L"countdown"}));
  EXPECT_EQ(perDay, (std::vector<std::size_t>{2, 3, 4}));
  // A gap of uptime is caught up only within five minutes.
  struct Gap {
    std::uint64_t fromMs, gapMs;  // both land at 0:10:01.500
    Texts fired;
  };
  for (const auto& g :
       {Gap{301500, 300000, {L"0:08", L"0:10:01"}}, Gap{300500, 301000, {L"0:10:01"}}}) {
    SCOPED_TRACE(g.gapMs);
    TRig late;
    AddBoot(*late.store, L"0:08", Tod(0, 8, 0));
    AddBoot(*late.store, L"0:10:01", Tod(0, 10, 1));
    late.clock.Uptime = g.fromMs;
    late.Tick();
    late.clock.Uptime += g.gapMs;
    late.Tick();
    EXPECT_EQ(late.receiver.fired, g.fired);
  }
}

TEST(AlarmCheck, AFailingAlarmKeepsTheOthersAndReturnsItsText) {
  TRig rig;
  for (const wchar_t* msg : {L"a", L"app error", L"std error", L"odd throw", L"b"}) {
    AddDaily(*rig.store, msg, Tod(7, 0, 0));
  }
  AddWeekly(*rig.store, L"c", 7, Tod(7, 0, 0));
  rig.receiver.onWakeUp = [](const std::wstring& msg) {
    if (msg == L"app error") throw EAppError(L"Не удалось открыть файл!");
    if (msg == L"std error") throw std::runtime_error("bad music");
    if (msg == L"odd throw") throw 42;
  };
  rig.clock.SetLocal(kSunday + Tod(7, 0, 0, 20));
  const Texts errors = rig.Tick();
  EXPECT_EQ(rig.receiver.fired,
            (Texts{L"a", L"app error", L"std error", L"odd throw", L"b", L"c"}));
  EXPECT_EQ(errors, (Texts{L"Не удалось открыть файл!", L"bad music", L"Unknown error"}));
}

TEST(AlarmCheck, ATickFromInsideWakeUpNeverRepeatsAnOccurrence) {
  struct Case {
    const char* name;
    std::int64_t nestedAfterMs;  // how much later the nested tick runs
    bool deleteSecond;           // the user deletes record 2 meanwhile
    Texts fired;
  };
  const std::vector<Case> cases = {
      {"same second", 300, false, {L"A", L"B"}},
      {"next second", 1015, false, {L"A", L"C", L"B"}},
      {"record deleted meanwhile", 300, true, {L"A"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TRig rig;
    AddDaily(*rig.store, L"A", Tod(7, 0, 0));
    AddDaily(*rig.store, L"B", Tod(7, 0, 0));
    AddDaily(*rig.store, L"C", Tod(7, 0, 1));
    bool nested = false;
    rig.receiver.onWakeUp = [&](const std::wstring& msg) {
      if (msg != L"A" || nested) return;
      nested = true;
      if (c.deleteSecond) DeleteAlarm(*rig.store, akDaily, 2);  // C moves into slot 2
      rig.clock.Advance(c.nestedAfterMs);
      rig.Tick();
    };
    rig.clock.SetLocal(kSunday + Tod(7, 0, 0, 20));
    rig.Tick();
    rig.clock.Advance(100);
    rig.Tick();
    EXPECT_EQ(rig.receiver.fired, c.fired);
  }
}

TEST(AlarmCheck, CountsAboveCapacityReadOnlyTheTables) {
  TRig rig;  // the store is on the heap: ASan reports any read past it
  TAlarmStore& s = *rig.store;
  for (int i = 0; i < kAlarmCapacity; ++i) {
    AddDate(s, L"date", kSunday, Tod(7, 0, 0));
    AddDaily(s, L"daily", Tod(7, 0, 0));
    AddWeekly(s, L"weekly", 7, Tod(7, 0, 0));
    AddCountdown(s, L"countdown", kSunday + Tod(7, 0, 0));
    AddBoot(s, L"boot", Tod(0, 10, 0));
  }
  s.DateCount = s.DailyCount = s.WeeklyCount = s.CountdownCount = s.BootCountdownCount = 65535;
  rig.clock.SetLocal(kSunday + Tod(7, 0, 0, 20));
  rig.clock.Uptime = 600020;
  rig.Tick();
  ASSERT_EQ(rig.receiver.fired.size(), 500u);
  EXPECT_EQ(rig.receiver.fired[99], L"date");
  EXPECT_EQ(rig.receiver.fired[100], L"daily");
  EXPECT_EQ(rig.receiver.fired[499], L"boot");
}

TEST(FireAlarm, PassesMessageFileAndMusicOfThatRecord) {
  TRig rig;
  AddWeekly(*rig.store, L"first", 1, 0);
  AddWeekly(*rig.store, L"Подъём", 1, 0);
  ToShortString(L"C:\\Мои\\a.txt", rig.store->WeeklyAlarms[1].Exe);
  ToShortString(L"Sound\\Rock\\b.mp3", rig.store->WeeklyAlarms[1].Mus);
  FireAlarm(*rig.store, akWeekly, 2, rig.receiver);
  FireAlarm(*rig.store, static_cast<TAlarmKind>(5), 1, rig.receiver);
  FireAlarm(*rig.store, akWeekly, 0, rig.receiver);
  FireAlarm(*rig.store, akWeekly, 101, rig.receiver);
  EXPECT_EQ(rig.receiver.actions, Texts{L"Подъём|C:\\Мои\\a.txt|Sound\\Rock\\b.mp3"});
}

TEST(NextTickDelay, LandsJustAfterTheNextSecondBegins) {
  for (int ms = 0; ms < 1000; ++ms) {
    const int delay = NextTickDelayMs(ms);
    const int landsAt = (ms + delay) % 1000;
    // Early in the next second, never skipping one.
    ASSERT_GE(landsAt, 20) << ms;
    ASSERT_LT(landsAt, 60) << ms;
    ASSERT_GT(delay, 0) << ms;
    ASSERT_LE(delay, 1020) << ms;
    // Already early in its second: the period runs on; else aimed at 20 ms.
    ASSERT_EQ(delay == 1000, ms >= 20 && ms < 60) << ms;
    if (delay != 1000) {
      ASSERT_EQ(landsAt, 20) << ms;
    }
  }
  EXPECT_EQ(NextTickDelayMs(20), 1000);  // once aligned, ticks stay a second apart
  EXPECT_EQ(NextTickDelayMs(59), 1000);
  EXPECT_EQ(NextTickDelayMs(60), 960);
  EXPECT_EQ((1500 + NextTickDelayMs(1500)) % 1000, 20);
  EXPECT_EQ((-5 + NextTickDelayMs(-5)) % 1000, 20);
}

}  // namespace

namespace {

TEST(AlarmCheck, ACountdownStoredForASecondAlreadyExaminedRingsAtTheNextTick) {
  struct Case {
    const char* name;
    std::int64_t targetFromNowMs;  // the stored moment, from the clock at the store
    bool ringsNextTick;
  };
  const Case cases[] = {
      {"0:00:00, stored in the second just examined", 0, true},
      {"stored a moment into the examined second", -300, true},
      {"target in the next second: rings there, as usual", 700, true},
      {"target four minutes past", -240000, true},
      {"target over five minutes past: not caught up", -301000, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TRig rig;
    rig.clock.SetLocal(kSunday + Tod(10, 0, 0, 400));
    rig.Tick();  // 10:00:00 examined
    const TDateTime target = rig.clock.Now().Local + static_cast<double>(c.targetFromNowMs) / 86400000;
    AddCountdown(*rig.store, L"now", target);
    const std::int64_t nextTick = std::llround((kSunday + Tod(10, 0, 1)) * 86400);
    const std::int64_t nextDay = *RoundedMs(target) / 1000 + 86400;
    EXPECT_EQ(rig.check.PlanNext(*rig.store, rig.clock.Now(), rig.clock.UptimeMs()).LocalSecond,
              c.ringsNextTick ? nextTick : nextDay)
        << "the wake timer must come for it";
    rig.clock.Advance(1000);
    rig.Tick();
    EXPECT_EQ(rig.receiver.fired.size(), c.ringsNextTick ? 1u : 0u);
    // Never twice for the same store, and then daily at the target's second.
    rig.clock.Advance(1000);
    rig.Tick();
    EXPECT_EQ(rig.receiver.fired.size(), c.ringsNextTick ? 1u : 0u);
    rig.clock.SetLocal(target + 1 - 0.5 / 86400);
    rig.clock.UtcMs += 24 * kHourMs;
    for (int i = 0; i < 3; ++i, rig.clock.Advance(1000)) rig.Tick();
    EXPECT_EQ(rig.receiver.fired.size(), c.ringsNextTick ? 2u : 1u);
  }
}

}  // namespace
