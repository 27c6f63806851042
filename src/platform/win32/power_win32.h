// Power management through SetThreadExecutionState, the power plan's
// settings (powrprof, from System32) and the power status.
#pragma once

#include "platform/power.h"

class TWin32Power : public TPower {
 public:
  ~TWin32Power() override;
  void KeepAwake(bool system, bool display) override;
  TWakeTimerSettings ReadWakeTimerSettings() override;
  TPowerSource Source() override;
};
