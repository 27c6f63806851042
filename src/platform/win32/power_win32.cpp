#include "platform/win32/power_win32.h"

#include <windows.h>

#include "platform/win32/system_libraries.h"

namespace {

// The power plan's sleep settings, and in them "Allow wake timers".
constexpr GUID kSleepSubgroup = {
    0x238c9fa8, 0x0aad, 0x41ed, {0x83, 0xf4, 0x97, 0xbe, 0x24, 0x2c, 0x8f, 0x20}};
constexpr GUID kAllowWakeTimers = {
    0xbd3b718a, 0x0680, 0x4d9d, {0x8a, 0xb2, 0xe1, 0xd2, 0xb4, 0xac, 0x80, 0x6d}};

}  // namespace

TWin32Power::~TWin32Power() { KeepAwake(false, false); }

void TWin32Power::KeepAwake(bool system, bool display) {
  // The state belongs to the calling thread, the window thread here, which
  // lives as long as the program.
  EXECUTION_STATE state = ES_CONTINUOUS;
  if (system) state |= ES_SYSTEM_REQUIRED;
  if (display) state |= ES_DISPLAY_REQUIRED;
  SetThreadExecutionState(state);
}

TWakeTimerSettings TWin32Power::ReadWakeTimerSettings() {
  TWakeTimerSettings settings;
  GUID* scheme = nullptr;
  if (powrprof::GetActiveScheme(&scheme) != ERROR_SUCCESS || !scheme) return settings;
  DWORD value = 0;
  if (powrprof::ReadACValueIndex(scheme, &kSleepSubgroup, &kAllowWakeTimers, &value) ==
      ERROR_SUCCESS) {
    settings.Mains = value;
  }
  if (powrprof::ReadDCValueIndex(scheme, &kSleepSubgroup, &kAllowWakeTimers, &value) ==
      ERROR_SUCCESS) {
    settings.Battery = value;
  }
  LocalFree(scheme);
  return settings;
}

TPowerSource TWin32Power::Source() {
  SYSTEM_POWER_STATUS status{};
  if (!GetSystemPowerStatus(&status)) return TPowerSource::Unknown;
  if (status.ACLineStatus == 1) return TPowerSource::Mains;
  if (status.ACLineStatus == 0) return TPowerSource::Battery;
  return TPowerSource::Unknown;
}
