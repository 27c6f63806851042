// A timer set to an absolute universal time, which also wakes the PC from
// sleep when the power settings allow it. Its events, and the system's
// notices that the clock changed, the PC resumed or the workstation was
// locked, arrive on the user-interface thread, also while a modal loop runs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

class TWakeTimer {
 public:
  virtual ~TWakeTimer() = default;
  // Replaces any earlier time. A time that has passed fires at once.
  virtual void SetAt(std::int64_t utcMs) = 0;

  // The timer that may wake the PC from sleep, set a little before an
  // alarm so that the PC is up when it rings; empty cancels it.
  virtual void SetWakeAt(std::optional<std::int64_t> utcMs) = 0;

  std::function<void()> OnDue;           // the set time came
  std::function<void()> OnWake;          // the wake time came
  std::function<void()> OnResume;        // the PC woke from sleep
  std::function<void()> OnClockChanged;  // time, time zone or their settings changed
  // The PC is about to sleep, or the user's session ends (log off, shut
  // down): the last moment to keep what must survive.
  std::function<void()> OnSuspend;
  std::function<void()> OnSessionEnd;
  // The workstation was locked or unlocked (none where the system does not
  // tell, as under Wine).
  std::function<void()> OnLock;
  std::function<void()> OnUnlock;

 protected:
  // For the implementations: run a handler; an error that escapes it goes
  // to the error report (platform/callback_boundary.h).
  void RaiseDue() { Raise(OnDue); }
  void RaiseWake() { Raise(OnWake); }
  void RaiseResume() { Raise(OnResume); }
  void RaiseClockChanged() { Raise(OnClockChanged); }
  void RaiseSuspend() { Raise(OnSuspend); }
  void RaiseSessionEnd() { Raise(OnSessionEnd); }
  void RaiseLock() { Raise(OnLock); }
  void RaiseUnlock() { Raise(OnUnlock); }

 private:
  static void Raise(const std::function<void()>& handler);
};
