// Needs Windows itself: a real waitable timer, thread and window.
#include "platform/win32/wake_timer_win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/date_time.h"
#include "platform/win32/clock_win32.h"

namespace {

std::int64_t UtcNowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Runs the thread's messages until `done` or the limit.
bool PumpUntil(const bool& done, int limitMs) {
  const std::int64_t end = UtcNowMs() + limitMs;
  MSG m;
  while (!done && UtcNowMs() < end) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
  return done;
}

TEST(Win32WakeTimer, FiresAtItsTimeAndOnlyTheLastTimeSet) {
  TWin32WakeTimer timer;
  int fired = 0;
  std::int64_t firedAt = 0;
  bool done = false;
  timer.OnDue = [&] {
    ++fired;
    firedAt = UtcNowMs();
    done = true;
  };
  const std::int64_t due = UtcNowMs() + 400;
  timer.SetAt(due - 200);
  timer.SetAt(due);  // replaces the earlier time
  ASSERT_TRUE(PumpUntil(done, 3000));
  EXPECT_GE(firedAt, due - 2);  // the system clock's grain
  EXPECT_LT(firedAt, due + 200) << "a generous bound; bench/ measures the latency";
  done = false;
  EXPECT_FALSE(PumpUntil(done, 300)) << "fired again without being set";
  EXPECT_EQ(fired, 1);

  timer.SetAt(UtcNowMs() - 60000);  // a time that has passed fires at once
  EXPECT_TRUE(PumpUntil(done, 1000));
}

TEST(Win32WakeTimer, TheWakeTimeFiresApartFromTheDueTimeAndCancels) {
  TWin32WakeTimer timer;
  int due = 0, wake = 0;
  bool done = false;
  timer.OnDue = [&] {
    ++due;
    done = true;
  };
  timer.OnWake = [&] { ++wake; };
  timer.SetWakeAt(UtcNowMs() + 100);
  timer.SetAt(UtcNowMs() + 400);
  ASSERT_TRUE(PumpUntil(done, 3000));
  EXPECT_EQ(wake, 1);
  EXPECT_EQ(due, 1);

  timer.SetWakeAt(UtcNowMs() + 100);
  timer.SetWakeAt(std::nullopt);
  done = false;
  PumpUntil(done, 400);
  EXPECT_EQ(wake, 1) << "a cancelled wake time fired";
}

TEST(Win32WakeTimer, FiresInsideAMessageBoxsLoop) {
  TWin32WakeTimer timer;
  bool fired = false;
  timer.OnDue = [&] {
    fired = true;
    // Close the box this thread is showing.
    if (HWND box = FindWindowW(L"#32770", L"wake timer test")) PostMessageW(box, WM_CLOSE, 0, 0);
  };
  timer.SetAt(UtcNowMs() + 300);
  // A safety net: should the timer not fire, the box closes after 5 s.
  const UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
    if (HWND box = FindWindowW(L"#32770", L"wake timer test")) PostMessageW(box, WM_CLOSE, 0, 0);
  });
  const std::int64_t start = UtcNowMs();
  MessageBoxW(nullptr, L"waiting", L"wake timer test", MB_OK);
  KillTimer(nullptr, guard);
  EXPECT_TRUE(fired);
  EXPECT_LT(UtcNowMs() - start, 4000);
}

TEST(Win32WakeTimer, ClockNoticesComeThroughItsHiddenWindow) {
  TWin32WakeTimer timer;
  bool changed = false;
  timer.OnClockChanged = [&] { changed = true; };
  // What Windows broadcasts to top-level windows when the time is set.
  SendMessageTimeoutW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  PumpUntil(changed, 1000);
  EXPECT_TRUE(changed);
}

TEST(Win32Clock, LocalToUtcAgreesWithTheClocksOwnReading) {
  TWin32Clock clock;
  const TClockReading now = clock.Now();
  const std::int64_t localMs = RoundedMs(now.Local).value();
  EXPECT_EQ(clock.LocalToUtcMs(localMs), now.UtcMs);
  // Half a year on, the rules of that date apply: whatever they are, the
  // moment converts back to itself through the clock's own rules.
  const std::int64_t later = localMs + 182 * kMsPerDay;
  const std::int64_t utc = clock.LocalToUtcMs(later);
  const std::int64_t offsetMs = later - (utc - kUtcMsOf1899);
  EXPECT_EQ(offsetMs % (15 * 60000), 0);
  EXPECT_LE(std::llabs(offsetMs), 14 * 3600000LL);
}

}  // namespace
