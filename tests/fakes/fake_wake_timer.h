// A wake timer that remembers when it was set; tests say when it fires and
// when the system sends its notices.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/wake_timer.h"

class TFakeWakeTimer : public TWakeTimer {
 public:
  void SetAt(std::int64_t utcMs) override {
    at = utcMs;
    ++setCount;
  }
  void SetWakeAt(std::optional<std::int64_t> utcMs) override { wakeAt = utcMs; }
  void Fire() { RaiseDue(); }
  void FireWake() { RaiseWake(); }
  void Resume() { RaiseResume(); }
  void ClockChanged() { RaiseClockChanged(); }
  void Suspend() { RaiseSuspend(); }
  void SessionEnd() { RaiseSessionEnd(); }
  void Lock() { RaiseLock(); }
  void Unlock() { RaiseUnlock(); }

  std::optional<std::int64_t> at;
  std::optional<std::int64_t> wakeAt;
  int setCount = 0;
};
