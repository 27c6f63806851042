// The ring session and the locked workstation: a ring plays as usual while
// nobody can see it, one that ends unanswered then is named once after the
// unlock, and the wake-up window comes back to the front at the unlock.
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

#include "engine/ring_session_fixture.h"

namespace {

class RingSessionLock : public RingSessionTest {
 protected:
  // A daily alarm at 07:05:20 that rings for a minute and snoozes itself
  // for ten when nobody answers.
  void StartWithAlarm() {
    signal.RingMinutes = 1;
    signal.SnoozeMinutes = 10;
    Daily(EncodeTime(7, 5, 20, 0), L"Подъём", L"", L"a.wav");
    Start();
  }

  // One word a step: "lock", "unlock"; "ring" (time passes to the next
  // moment that rings: the alarm or its snooze), "end" (its minute passes
  // unanswered), "answer", "snooze" (the user's five minutes), "seen" (the
  // missed list's "OK"), "delete" (the alarm is deleted), "restart" (the
  // program ends and starts again).
  void Run(const std::string& script) {
    std::istringstream words(script);
    for (std::string w; words >> w;) {
      SCOPED_TRACE(w);
      if (w == "lock") {
        wakeTimer.Lock();
      } else if (w == "unlock") {
        wakeTimer.Unlock();
      } else if (w == "ring") {
        for (int i = 0; i < 48 && !session->Ringing(); ++i) RunToWakeTimer();
        ASSERT_TRUE(session->Ringing());
      } else if (w == "end") {
        ASSERT_TRUE(session->Ringing());
        Pass(kMinute);
        ASSERT_FALSE(session->Ringing());
      } else if (w == "answer") {
        session->Answer();
      } else if (w == "snooze") {
        session->Snooze(5);
      } else if (w == "seen") {
        session->MissedSeen();
      } else if (w == "delete") {
        store->DailyCount = 0;
        session->StoreChanged();
      } else if (w == "restart") {
        Restart();
      } else {
        FAIL() << "no such step";
      }
    }
  }
};

TEST_F(RingSessionLock, ARingThatStartsWhileLockedRingsAsUsualAndComesToTheFrontAtTheUnlock) {
  StartWithAlarm();
  wakeTimer.Lock();
  RunToWakeTimer();
  EXPECT_TRUE(session->Ringing());
  EXPECT_TRUE(view.ringShown);
  EXPECT_EQ(view.message, L"Подъём");
  EXPECT_TRUE(player.playing) << "its music plays";
  EXPECT_TRUE(power.system);
  EXPECT_TRUE(power.display) << "the PC and its screen are held";
  EXPECT_TRUE(RingEnd().Running());
  EXPECT_EQ(view.broughtToFront, 0);

  wakeTimer.Unlock();
  EXPECT_EQ(view.broughtToFront, 1);
  EXPECT_TRUE(view.ringShown);
  EXPECT_TRUE(session->Missed().empty()) << "it is ringing, not missed";
  session->Answer();
  // Nothing shows at a later unlock: there is no ring to bring.
  wakeTimer.Lock();
  wakeTimer.Unlock();
  EXPECT_EQ(view.broughtToFront, 1);
  EXPECT_TRUE(session->Missed().empty());
}

TEST_F(RingSessionLock, ARingEndedUnheardWhileLockedIsNamedOnceAndItsSnoozeStillRings) {
  StartWithAlarm();
  Run("lock ring end");
  EXPECT_TRUE(session->Missed().empty()) << "nothing named while locked";
  Run("unlock");
  EXPECT_EQ(Missed(), (std::vector<TLine>{{akDaily, LocalSecondAt(7, 5, 20), 1, L"Подъём"}}));
  EXPECT_TRUE(view.missedShown);
  EXPECT_EQ(view.broughtToFront, 0) << "no ring is showing";
  ASSERT_EQ(session->Snoozes().size(), 1u);
  EXPECT_EQ(session->Snoozes()[0].Unanswered, 1);
  const std::int64_t due = clock.UtcMs + 10 * kMinute;
  EXPECT_EQ(session->Snoozes()[0].DueUtcMs, due);
  EXPECT_EQ(SavedState().Snoozes, session->Snoozes());
  EXPECT_EQ(wakeTimer.at, due);

  RunToWakeTimer();
  EXPECT_EQ(clock.UtcMs, due);
  EXPECT_TRUE(view.ringShown) << "the snooze rings at its time";
  EXPECT_EQ(view.message, L"Подъём");
}

// The missed list after each script, and the snoozes left: 07:05:20 is the
// alarm's ring, 07:16:20 and 07:27:20 the snoozes it gives itself.
struct TLockCase {
  const char* script;
  std::vector<std::pair<int, int>> missed;  // (minute after 07:00, count)
  std::size_t snoozes;
};

void PrintTo(const TLockCase& c, std::ostream* os) { *os << '"' << c.script << '"'; }

const TLockCase kLockCases[] = {
    // Ended unanswered with the workstation unlocked: as before, nothing.
    {"ring end", {}, 1},
    {"ring end lock unlock", {}, 1},
    {"lock ring end unlock", {{5, 1}}, 1},
    // Two unheard rings before one unlock: named once, at the latest.
    {"lock ring end ring end unlock", {{16, 1}}, 1},
    // Lock after lock, unlock after unlock: the same.
    {"lock lock ring end unlock unlock", {{5, 1}}, 1},
    // Several lock cycles in one run: named at the first unlock only.
    {"lock ring end unlock lock ring end unlock", {{5, 1}}, 1},
    {"lock ring end unlock seen lock ring end unlock", {}, 1},
    // Missed for good later: not named twice, seen or not.
    {"lock ring end unlock ring end ring end", {{5, 1}}, 0},
    {"lock ring end unlock seen ring end ring end", {}, 0},
    {"lock ring end unlock seen lock ring end ring end unlock", {}, 0},
    // Missed for good while locked: the usual entry, nothing besides.
    {"lock ring end ring end ring end unlock", {{27, 1}}, 0},
    // Ringing again at the unlock: the user sees it in its window.
    {"lock ring end ring unlock", {}, 0},
    // Heard while locked (the program or the user ended it): nothing.
    {"lock ring end ring answer unlock", {}, 0},
    {"lock ring end ring snooze unlock", {}, 1},
    {"lock ring answer unlock", {}, 0},
    // Deleted meanwhile: nothing left to name.
    {"lock ring end delete unlock", {}, 0},
    // A restart forgets the lock: the snooze stands, nothing is named.
    {"lock ring end restart unlock", {}, 1},
    // The user snoozed, then nobody heard the snooze: a new run.
    {"ring snooze lock ring end unlock", {{10, 1}}, 1},
};

class WhatIsNamedAfterAnUnlock : public RingSessionLock,
                                 public testing::WithParamInterface<TLockCase> {};

TEST_P(WhatIsNamedAfterAnUnlock, OnceARun) {
  const TLockCase& c = GetParam();
  StartWithAlarm();
  Run(c.script);
  std::vector<TLine> expected;
  for (const auto& [minute, count] : c.missed) {
    expected.push_back({akDaily, LocalSecondAt(7, minute, 20), count, L"Подъём"});
  }
  EXPECT_EQ(Missed(), expected);
  EXPECT_EQ(session->Snoozes().size(), c.snoozes);
}

INSTANTIATE_TEST_SUITE_P(RingSessionLock, WhatIsNamedAfterAnUnlock, testing::ValuesIn(kLockCases));

TEST_F(RingSessionLock, ANewOccurrenceUnheardWhileLockedIsNamedAgain) {
  StartWithAlarm();
  Run("lock ring end unlock seen ring answer");
  EXPECT_TRUE(session->Missed().empty());
  // The next morning, locked again.
  Run("lock ring");
  EXPECT_EQ(view.message, L"Подъём");
  Run("end unlock");
  EXPECT_EQ(Missed(), (std::vector<TLine>{{akDaily, LocalSecondAt(7, 5, 20) + 86400, 1,
                                           L"Подъём"}}));
}

}  // namespace
