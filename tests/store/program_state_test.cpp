#include "store/program_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

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

TEST(ProgramState, EveryDamagedFormIsRejectedWhole) {
  const std::string good = FormatProgramState(Sample());
  const std::string head = "Tivorra state 1\r\n";
  const std::string damaged[] = {
      "",
      "Tivorra state 2\r\n",
      good.substr(0, good.size() - 1),  // the last line's break cut
      head + "LastExamined 1\r\nLastExamined 2\r\n",
      head + "LastExamined\r\n",
      head + "LastExamined x\r\n",
      head + "LastExamined 1 2\r\n",
      head + "LastExamined 99999999999999999999\r\n",
      head + "LastExamined 9999999999999\r\n",  // beyond any clock
      head + "Snooze 5 1 0123456789abcdef 0 0\r\n",
      head + "Snooze 1 0 0123456789abcdef 0 0\r\n",
      head + "Snooze 1 101 0123456789abcdef 0 0\r\n",
      head + "Snooze 1 1 0123456789ABCDEF 0 0\r\n",
      head + "Snooze 1 1 0123456789abcde 0 0\r\n",
      head + "Snooze 1 1 0123456789abcdef 0 3\r\n",
      head + "Snooze 1 1 0123456789abcdef 0 -1\r\n",
      head + "Snooze 1 1 0123456789abcdef 0\r\n",
      head + "Snooze 1 1 0123456789abcdef 0 0 0\r\n",
      head + "Snooze  1 1 0123456789abcdef 0 0\r\n",
      head + "\r\n",
      head + "Other 1\r\n",
      head + "LastExamined -\r\n",
      std::string("Tivorra state 1\r\nLastExamined 1\r\n\0", 35),
  };
  for (const std::string& text : damaged) {
    SCOPED_TRACE(testing::PrintToString(text));
    TProgramState read = Sample();
    EXPECT_FALSE(ParseProgramState(text, read));
    EXPECT_EQ(read, Sample()) << "nothing is taken from a damaged file";
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
