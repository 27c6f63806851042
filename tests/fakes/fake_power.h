// The system's power management as a test sets it up; it remembers what
// the program asked for.
#pragma once

#include <utility>
#include <vector>

#include "platform/power.h"

class TFakePower : public TPower {
 public:
  void KeepAwake(bool system, bool display) override {
    this->system = system;
    this->display = display;
    calls.emplace_back(system, display);
  }
  TWakeTimerSettings ReadWakeTimerSettings() override {
    ++reads;
    return settings;
  }
  TPowerSource Source() override { return source; }

  bool system = false;
  bool display = false;
  std::vector<std::pair<bool, bool>> calls;
  TWakeTimerSettings settings;
  TPowerSource source = TPowerSource::Unknown;
  int reads = 0;
};
