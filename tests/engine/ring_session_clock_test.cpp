// The ring session where the clock, the store and a cut-off program meet:
// daylight saving time that begins while the timer sleeps, the clock set
// back and forth, an alarm added or deleted at an awkward moment, and the
// state a restart finds.
#include "engine/ring_session_fixture.h"
#include "fakes/memory_file_system.h"
#include "store/alarm_file.h"

namespace {

constexpr std::int64_t kHour = 60 * 60000;

class RingSessionClock : public RingSessionTest {
 protected:
  // Real time passes by the zone's rules (the fixture's Pass moves the
  // local clock with it, whatever the zone).
  void PassUtc(std::int64_t ms) {
    clock.Uptime += static_cast<std::uint64_t>(ms);
    clock.SetUtc(clock.UtcMs + ms);
    tickers.RunDue();
  }
  void FireWakeTimer() {
    ASSERT_TRUE(wakeTimer.at);
    PassUtc(*wakeTimer.at - clock.UtcMs);
    wakeTimer.Fire();
  }
  // The user sets the clock: universal time moves with the local clock.
  void SetClockBy(std::int64_t ms) {
    clock.LocalMs += ms;
    clock.UtcMs += ms;
    wakeTimer.ClockChanged();
  }
};

TEST_F(RingSessionClock, AnAlarmInTheHourDaylightSavingSkipsRingsAsTheClockLeavesIt) {
  // Berlin, Sunday 28 March 2027, 00:30 CET; at 01:00 UTC the clock jumps
  // from 02:00 to 03:00. The alarm at 02:30 comes at that instant, after
  // the timer slept through the hour before it (its safety wake).
  clock.Zone = TFakeClock::TZone::Berlin;
  clock.SetUtc(RoundedMs(EncodeDate(2027, 3, 27) + EncodeTime(23, 30, 0, 0)).value() + kUtcMsOf1899);
  Daily(EncodeTime(2, 30, 0, 0), L"В провале");
  Start();
  FireWakeTimer();  // the safety wake, 01:30 CET
  EXPECT_FALSE(view.ringShown);
  FireWakeTimer();
  EXPECT_EQ(clock.UtcMs % (24 * kHour), 1 * kHour) << "aimed at the jump";
  EXPECT_TRUE(view.ringShown) << "on time by real time, though half an hour behind the new reading";
}

TEST_F(RingSessionClock, ASnoozeOfAnAlarmDeletedWhileItRangIsNotKept) {
  Start();
  RingNow(L"Удалён");
  ASSERT_TRUE(view.ringShown);
  DeleteAlarm(*store, akCountdown, 1);
  session->StoreChanged();
  session->Snooze(10);
  EXPECT_TRUE(session->Snoozes().empty());
  EXPECT_EQ(wakeTimer.wakeAt, std::nullopt) << "nothing to wake the PC for";
  EXPECT_FALSE(session->NextRing());
}

TEST_F(RingSessionClock, AClockSetBackALittleRingsNothingTwiceAcrossARestart) {
  Daily(EncodeTime(7, 5, 20, 0), L"Один раз");
  Start();
  FireWakeTimer();
  ASSERT_TRUE(view.ringShown);
  session->Answer();
  SetClockBy(-10 * 60000);  // 06:55:20
  Restart(false);           // the program is cut off and starts again
  for (int i = 0; i < 3 && clock.LocalMs < LocalSecondAt(7, 30, 0) * 1000; ++i) FireWakeTimer();
  EXPECT_GT(clock.LocalMs, LocalSecondAt(7, 5, 20) * 1000);
  EXPECT_EQ(view.freshRings, 0) << "07:05:20 rang before the clock was set back";
}

TEST_F(RingSessionClock, AMomentGoneByBeforeAnAlarmWasSetIsNeitherRungNorMissed) {
  Start();
  FireWakeTimer();  // 08:05:09: the check has examined up to here, and kept 07:05
  PassUtc(40 * 60000);  // 08:45:09, nothing looked at since 08:05
  Daily(EncodeTime(8, 30, 0, 0), L"Поставлен позже");
  session->StoreChanged();
  FireWakeTimer();
  EXPECT_FALSE(view.ringShown) << "08:30 had gone by when it was set";
  Restart(false);
  EXPECT_TRUE(Missed().empty()) << "nor missed before it existed";
}

TEST_F(RingSessionClock, MomentsTheClockWasSetOverAreNotMissedAfterARestart) {
  Daily(EncodeTime(9, 0, 0, 0), L"Перескочили");
  Start();
  SetClockBy(3 * kHour);  // 10:05:09: a new time, not caught up
  EXPECT_FALSE(view.ringShown);
  Restart(false);
  EXPECT_TRUE(Missed().empty());
}

TEST(AlarmFileSeam, TheLoaderAsksTheFileSystemItIsGivenWhetherTheFileIsThere) {
  // Files that exist only in memory: the loaders must not look on the disk.
  TMemoryFileSystem fs;
  auto store = std::make_unique<TAlarmStore>();
  std::memset(store.get(), 0, sizeof(TAlarmStore));
  store->DailyCount = 1;
  TAlarmFileState file;
  ASSERT_TRUE(SaveAlarms(*store, L"C:\\nowhere\\", file, fs).Saved());
  auto loaded = std::make_unique<TAlarmStore>();
  std::memset(loaded.get(), 0, sizeof(TAlarmStore));
  EXPECT_EQ(LoadAlarms(*loaded, L"C:\\nowhere\\", file, fs).What, TLoadResult::TWhat::Loaded);
  EXPECT_EQ(loaded->DailyCount, 1);
  TProgramState state;
  state.LastExamined = 42;
  ASSERT_EQ(SaveProgramState(state, L"C:\\nowhere\\", fs), 0);
  EXPECT_EQ(LoadProgramState(L"C:\\nowhere\\", fs).State.LastExamined, 42);
  fs.Files.clear();
  EXPECT_EQ(LoadAlarms(*loaded, L"C:\\nowhere\\", file, fs).What, TLoadResult::TWhat::Absent);
}

}  // namespace
