#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "store/alarm_store.h"

namespace {

const TShortString& MsgOf(const TAlarmStore& s, TAlarmKind kind, std::uint16_t index) {
  return *AlarmActions(s, kind, index).Msg;
}

// Fills records 1..n of a kind with messages "R1".."Rn" and sets the count.
void Fill(TAlarmStore& s, TAlarmKind kind, int n) {
  for (int i = 1; i <= n; ++i) {
    auto& msg = const_cast<TShortString&>(MsgOf(s, kind, static_cast<std::uint16_t>(i)));
    ToShortString(L"R" + std::to_wstring(i), msg);
  }
  AlarmCount(s, kind) = static_cast<std::uint16_t>(n);
}

std::vector<std::wstring> Messages(const TAlarmStore& s, TAlarmKind kind, int upTo) {
  std::vector<std::wstring> out;
  for (int i = 1; i <= upTo; ++i) {
    out.push_back(FromShortString(MsgOf(s, kind, static_cast<std::uint16_t>(i))));
  }
  return out;
}

struct DeleteCase {
  const char* name;
  int count;
  int index;
  int newCount;
  // Messages of slots 1..count after the delete; the former last slot
  // keeps its bytes.
  std::vector<std::wstring> slots;
};

TEST(DeleteAlarm, ClosesTheGapAndKeepsTheOldLastSlot) {
  const std::vector<DeleteCase> cases = {
      {"only record", 1, 1, 0, {L"R1"}},
      {"first of three", 3, 1, 2, {L"R2", L"R3", L"R3"}},
      {"middle of three", 3, 2, 2, {L"R1", L"R3", L"R3"}},
      {"last of three", 3, 3, 2, {L"R1", L"R2", L"R3"}},
      {"first of a full table", 100, 1, 99, {}},
      {"index past the count", 2, 3, 2, {L"R1", L"R2"}},
      {"index zero", 2, 0, 2, {L"R1", L"R2"}},
  };
  for (int k = 0; k < kAlarmKindCount; ++k) {
    const auto kind = static_cast<TAlarmKind>(k);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + ", kind " + std::to_string(k));
      auto s = std::make_unique<TAlarmStore>();
      std::memset(s.get(), 0, sizeof *s);
      for (int other = 0; other < kAlarmKindCount; ++other) Fill(*s, static_cast<TAlarmKind>(other), 4);
      Fill(*s, kind, c.count);
      auto before = std::make_unique<TAlarmStore>(*s);

      DeleteAlarm(*s, kind, static_cast<std::uint16_t>(c.index));

      EXPECT_EQ(AlarmCount(*s, kind), c.newCount);
      if (!c.slots.empty()) {
        EXPECT_EQ(Messages(*s, kind, c.count), c.slots);
      }
      if (c.count == 100) {
        EXPECT_EQ(FromShortString(MsgOf(*s, kind, 1)), L"R2");
        EXPECT_EQ(FromShortString(MsgOf(*s, kind, 99)), L"R100");
        EXPECT_EQ(FromShortString(MsgOf(*s, kind, 100)), L"R100");
      }
      for (int other = 0; other < kAlarmKindCount; ++other) {
        if (other == k) continue;
        EXPECT_EQ(Messages(*s, static_cast<TAlarmKind>(other), 4),
                  Messages(*before, static_cast<TAlarmKind>(other), 4))
            << "another table changed";
        EXPECT_EQ(AlarmCount(*s, static_cast<TAlarmKind>(other)), 4);
      }
    }
  }
}

TEST(DeleteAlarm, MovesWholeRecordsWithTheirReservedByte) {
  auto s = std::make_unique<TAlarmStore>();
  std::memset(s.get(), 0, sizeof *s);
  s->WeeklyCount = 2;
  s->WeeklyAlarms[1].Days[6] = 1;
  s->WeeklyAlarms[1].Reserved = 0xAB;
  s->WeeklyAlarms[1].AlarmTime = 0.25;
  s->WeeklyAlarms[1].Msg.Chars[200] = 'x';  // past the length: still moved
  const TWeeklyAlarm second = s->WeeklyAlarms[1];

  DeleteAlarm(*s, akWeekly, 1);

  EXPECT_EQ(std::memcmp(&s->WeeklyAlarms[0], &second, sizeof second), 0);
  EXPECT_EQ(s->WeeklyCount, 1);
}

TEST(DeleteAlarm, CountAboveCapacityNeverMovesPastTheTable) {
  auto s = std::make_unique<TAlarmStore>();
  std::memset(s.get(), 0, sizeof *s);
  Fill(*s, akBootCountdown, 100);
  s->BootCountdownCount = 65535;
  DeleteAlarm(*s, akBootCountdown, 1);  // ASan reports any access past the block
  EXPECT_EQ(s->BootCountdownCount, 99);
  EXPECT_EQ(FromShortString(s->BootCountdownAlarms[98].Msg), L"R100");
}

TEST(ShortString, StoresTextsAsTheRecordsHoldThem) {
  struct Case {
    std::wstring in;
    std::string bytes;   // Windows-1251
    std::wstring back;   // what reading gives
  };
  const std::vector<Case> cases = {
      {L"", "", L""},
      {L"Wake up", "Wake up", L"Wake up"},
      {L"Подъём! Ёлка №5", "\xCF\xEE\xE4\xFA\xB8\xEC! \xA8\xEB\xEA\xE0 \xB9" "5",
       L"Подъём! Ёлка №5"},
      {L"line1\rline2", "line1\rline2", L"line1\rline2"},
      {L"日本 €", "?? \x88", L"?? €"},
      {L"a\U0001F600b", "a?b", L"a?b"},  // one character, one '?'
  };
  for (const auto& c : cases) {
    TShortString s;
    std::memset(&s, 0x55, sizeof s);
    ToShortString(c.in, s);
    ASSERT_EQ(s.Len, c.bytes.size());
    EXPECT_EQ(std::string(s.Chars, s.Len), c.bytes);
    EXPECT_EQ(static_cast<unsigned char>(s.Chars[s.Len]), 0x55) << "bytes past the text were touched";
    EXPECT_EQ(FromShortString(s), c.back);
  }
}

TEST(ShortString, CutsLongTextsTo255Characters) {
  TShortString s{};
  ToShortString(std::wstring(300, L'Ж'), s);
  EXPECT_EQ(s.Len, 255);
  EXPECT_EQ(FromShortString(s), std::wstring(255, L'Ж'));
}

}  // namespace
