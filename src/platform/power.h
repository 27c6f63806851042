// What the program asks of the system's power management: to stay awake
// (and keep the screen lit) while an alarm is near or ringing, and whether
// the active power plan lets a timer wake the PC at all.
#pragma once

#include <cstdint>
#include <optional>

enum class TPowerSource { Unknown, Mains, Battery };

// One value of the power plan's "Allow wake timers" as Windows stores it:
// 0 off, 1 on, 2 important wake timers only (the system's own). Empty when
// it could not be read.
struct TWakeTimerSettings {
  std::optional<std::uint32_t> Mains;
  std::optional<std::uint32_t> Battery;
};

// Whether a program's timer wakes the PC on this power source: empty when
// Windows cannot tell (no plan, a value it does not document, an unknown
// source). "Important wake timers only" leaves ours out.
std::optional<bool> WakeTimersAllowed(const TWakeTimerSettings& settings, TPowerSource source);

class TPower {
 public:
  virtual ~TPower() = default;
  // Keeps the system and, when asked, the display from sleeping until the
  // next call; (false, false) lets Windows' own sleep settings apply again.
  virtual void KeepAwake(bool system, bool display) = 0;
  // The active plan's setting for mains and battery.
  virtual TWakeTimerSettings ReadWakeTimerSettings() = 0;
  virtual TPowerSource Source() = 0;
};
