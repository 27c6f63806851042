#include "store/program_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/date_time.h"
#include "test_support.h"

namespace {

TProgramState Sample() {
  TProgramState s;
  s.LastExamined = 3974112000LL;
  s.Snoozes = {{{akDaily, 3, 0x0123456789abcdefULL}, 1765180800000LL, 0},
               {{akBootCountdown, 100, 0xffffffffffffffffULL}, -5, 2}};
  return s;
}

TEST(ProgramState, WhatIsWrittenIsReadBack) {
  for (const TProgramState& s : {TProgramState{}, Sample()}) {
    TProgramState read;
    read.Snoozes.push_back({});
    ASSERT_TRUE(ParseProgramState(FormatProgramState(s), read));
    EXPECT_EQ(read, s);
  }
  TempDir dir;
  ASSERT_EQ(SaveProgramState(Sample(), dir.ProgramDir()), 0);
  const TStateLoad load = LoadProgramState(dir.ProgramDir());
  EXPECT_FALSE(load.Damaged);
  EXPECT_EQ(load.State, Sample());
  // No file: the first start in this folder.
  TempDir empty;
  const TStateLoad none = LoadProgramState(empty.ProgramDir());
  EXPECT_FALSE(none.Damaged);
  EXPECT_FALSE(none.State.LastExamined);
}

// The clock's reading is any time value the check accepts (years before 1
// to after 9999), and a snooze falls due minutes after a reading, in any
// time zone: whatever the program saves from such a clock, it reads back.
TEST(ProgramState, AStateSavedAtAnyTimeAClockCanReadIsReadBack) {
  const std::int64_t maxDays = static_cast<std::int64_t>(kMaxTimeValueDays);
  const std::int64_t lastSecond = maxDays * 86400;
  const std::int64_t lastUtcMs = (maxDays - kDaysTo1970) * kMsPerDay + 14 * 3600000LL +
                                 120 * 60000LL;
  const std::int64_t firstUtcMs = (-maxDays - kDaysTo1970) * kMsPerDay - 14 * 3600000LL;
  const struct {
    const char* name;
    std::int64_t lastExamined;
    std::int64_t dueUtcMs;
  } cases[] = {
      {"a thousand years from 2025", 3974112000LL + 1000LL * 365 * 86400, 1765180800000LL},
      {"the last time value", lastSecond, lastUtcMs},
      {"the first time value", -lastSecond, firstUtcMs},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TProgramState s;
    s.LastExamined = c.lastExamined;
    s.Snoozes = {{{akDaily, 1, 7}, c.dueUtcMs, 0}};
    TProgramState read;
    EXPECT_TRUE(ParseProgramState(FormatProgramState(s), read));
    EXPECT_EQ(read, s);
  }
}

TEST(ProgramState, TheFileIsItsDocumentedBytes) {
  TProgramState s;
  s.LastExamined = 0x0102030405060708LL;
  s.Snoozes = {{{akWeekly, 0x0A0B, 0x1112131415161718ULL}, 0x2122232425262728LL, 2}};
  const Bytes expected = {'T',  'V',  'R',  'S',  'T',  'A',  'T',  'E',  1,    0,    0,    0,
                          1,    0,    0,    0,    0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,
                          2,    2,    0x0B, 0x0A, 0,    0,    0,    0,    0x18, 0x17, 0x16, 0x15,
                          0x14, 0x13, 0x12, 0x11, 0x28, 0x27, 0x26, 0x25, 0x24, 0x23, 0x22, 0x21};
  const std::vector<unsigned char> written = FormatProgramState(s);
  EXPECT_EQ(Bytes(written.begin(), written.end()), expected);
  // No second examined yet is INT64_MIN.
  const std::vector<unsigned char> none = FormatProgramState({});
  EXPECT_EQ(Bytes(none.begin() + 16, none.end()),
            (Bytes{0, 0, 0, 0, 0, 0, 0, 0x80}));
}

TEST(ProgramState, EveryDamagedFormIsRejectedWhole) {
  const std::vector<unsigned char> good = FormatProgramState(Sample());  // two snoozes
  const auto with = [&](std::size_t at, unsigned char v) {
    std::vector<unsigned char> b = good;
    b[at] = v;
    return b;
  };
  const std::size_t snooze = 24;  // the first snooze's offset
  const struct {
    const char* name;
    std::vector<unsigned char> bytes;
  } damaged[] = {
      {"empty", {}},
      {"cut in the header", std::vector<unsigned char>(good.begin(), good.begin() + 23)},
      {"cut in a snooze", std::vector<unsigned char>(good.begin(), good.end() - 1)},
      {"a byte more", [&] { auto b = good; b.push_back(0); return b; }()},
      {"other magic", with(0, 't')},
      {"version 2", with(8, 2)},
      {"count one more", with(12, 3)},
      {"count one less", with(12, 1)},
      {"count beyond any", with(15, 1)},
      {"last examined beyond any clock", with(23, 0x10)},
      {"kind 5", with(snooze + 0, 5)},
      {"three unanswered", with(snooze + 1, 3)},
      {"index 0", [&] { auto b = with(snooze + 2, 0); b[snooze + 3] = 0; return b; }()},
      {"index 101", [&] { auto b = with(snooze + 2, 101); b[snooze + 3] = 0; return b; }()},
      {"reserved bytes set", with(snooze + 5, 1)},
      {"due time beyond any clock", with(snooze + 22, 0x10)},
  };
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.name);
    TProgramState read = Sample();
    read.Snoozes.pop_back();
    const TProgramState before = read;
    EXPECT_FALSE(ParseProgramState(d.bytes, read));
    EXPECT_EQ(read, before) << "nothing is taken from a damaged file";
  }
}

TEST(ProgramState, ADamagedFileIsKeptAsideAndTheStateStartsEmpty) {
  TempDir dir;
  const Bytes junk = {'j', 'u', 'n', 'k', 0, 0xFF};
  for (const wchar_t* kept : {L"Tivorra.state.bad", L"Tivorra.state.bad2"}) {
    WriteBytes(dir.Path(L"Tivorra.state"), junk);
    const TStateLoad load = LoadProgramState(dir.ProgramDir());
    EXPECT_TRUE(load.Damaged);
    EXPECT_EQ(load.State, TProgramState{});
    EXPECT_EQ(load.KeptAs, dir.ProgramDir() + kept);
    EXPECT_EQ(ReadBytes(dir.Path(kept)), junk);
  }
}

TEST(ProgramState, ASnoozeFollowsItsAlarmUntilTheAlarmIsChangedOrDeleted) {
  auto store = std::make_unique<TAlarmStore>();
  std::memset(store.get(), 0, sizeof(TAlarmStore));
  store->DailyCount = 3;
  for (int i = 0; i < 3; ++i) {
    ToShortString(L"alarm " + std::to_wstring(i + 1), store->DailyAlarms[i].Msg);
    store->DailyAlarms[i].AlarmTime = 0.25;
  }
  const TAlarmRef third = RefOf(*store, akDaily, 3);
  EXPECT_EQ(FindAlarm(*store, third), 3);
  // Bytes past a text's length and a weekday byte's value beyond on/off
  // are not what the alarm says.
  store->DailyAlarms[2].Msg.Chars[200] = 'x';
  EXPECT_EQ(FindAlarm(*store, third), 3);
  store->WeeklyCount = 1;
  store->WeeklyAlarms[0].Days[0] = 1;
  const TAlarmRef weekly = RefOf(*store, akWeekly, 1);
  store->WeeklyAlarms[0].Days[0] = 7;
  EXPECT_EQ(FindAlarm(*store, weekly), 1);
  EXPECT_NE(RefOf(*store, akDaily, 1).Digest, RefOf(*store, akCountdown, 1).Digest)
      << "the same bytes in another kind are another alarm";

  DeleteAlarm(*store, akDaily, 1);
  EXPECT_EQ(FindAlarm(*store, third), 2) << "moved up with the records after the deleted one";
  store->DailyAlarms[1].AlarmTime = 0.5;
  EXPECT_EQ(FindAlarm(*store, third), 0) << "changed";
  store->DailyAlarms[1].AlarmTime = 0.25;
  EXPECT_EQ(FindAlarm(*store, third), 2);
  DeleteAlarm(*store, akDaily, 2);
  EXPECT_EQ(FindAlarm(*store, third), 0) << "deleted";
  EXPECT_EQ(FindAlarm(*store, {static_cast<TAlarmKind>(9), 1, 0}), 0);
}

}  // namespace

namespace {

TEST(ProgramState, SkipsMakeVersion2AndEveryDamagedSkipIsRejectedWhole) {
  TProgramState s = Sample();
  s.Skips = {{{akDaily, 7, 0x0102030405060708ULL}, 3974112000LL + 86400},
             {{akWeekly, 100, 0xfedcba9876543210ULL}, -86400}};
  const std::vector<unsigned char> good = FormatProgramState(s);
  ASSERT_EQ(good.size(), 24u + 2 * 24 + 4 + 2 * 24);
  EXPECT_EQ(good[8], 2) << "version 2 only with skips";
  EXPECT_EQ(FormatProgramState(Sample())[8], 1) << "without skips an older build reads it";
  TProgramState read;
  ASSERT_TRUE(ParseProgramState(good, read));
  EXPECT_EQ(read, s);

  const auto with = [&](std::size_t at, unsigned char v) {
    std::vector<unsigned char> b = good;
    b[at] = v;
    return b;
  };
  const std::size_t count = 24 + 2 * 24, skip = count + 4;
  const struct {
    const char* name;
    std::vector<unsigned char> bytes;
  } damaged[] = {
      {"version 1 with skips after it", with(8, 1)},
      {"cut in a skip", std::vector<unsigned char>(good.begin(), good.end() - 1)},
      {"no skip count", std::vector<unsigned char>(good.begin(), good.begin() + count)},
      {"skip count 0", [&] {
         auto b = std::vector<unsigned char>(good.begin(), good.begin() + skip);
         b[count] = 0;
         return b;
       }()},
      {"skip count one more", with(count, 3)},
      {"skip count beyond any", with(count, 201)},
      {"a date alarm skipped", with(skip + 0, akDate)},
      {"a countdown skipped", with(skip + 0, akCountdown)},
      {"the byte after the kind set", with(skip + 1, 1)},
      {"index 0", [&] { auto b = with(skip + 2, 0); b[skip + 3] = 0; return b; }()},
      {"index 101", with(skip + 2, 101)},
      {"reserved bytes set", with(skip + 7, 1)},
      {"second beyond any clock", with(skip + 22, 0x10)},
  };
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.name);
    TProgramState before = Sample();
    TProgramState r = before;
    EXPECT_FALSE(ParseProgramState(d.bytes, r));
    EXPECT_EQ(r, before);
  }
  // The most a state can hold is read back from its file whole.
  TProgramState full;
  full.LastExamined = 3974112000LL;
  for (std::size_t i = 0; i < kMaxSnoozes; ++i) {
    full.Snoozes.push_back({{akDaily, 1, i}, 1765180800000LL, 0});
  }
  for (std::size_t i = 0; i < kMaxSkips; ++i) {
    full.Skips.push_back({{i % 2 ? akDaily : akWeekly, 1, i}, 3974112000LL});
  }
  TempDir dir;
  ASSERT_EQ(SaveProgramState(full, dir.ProgramDir()), 0);
  const TStateLoad load = LoadProgramState(dir.ProgramDir());
  EXPECT_FALSE(load.Damaged);
  EXPECT_EQ(load.State, full);
}

}  // namespace
