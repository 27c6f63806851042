#include "engine/awake_hold.h"

#include "platform/power.h"

TAwakeHold::~TAwakeHold() {
  near_ = ringing_ = false;
  Apply();
}

void TAwakeHold::SetAlarmNear(bool near) {
  near_ = near;
  Apply();
}

void TAwakeHold::SetRinging(bool ringing) {
  ringing_ = ringing;
  Apply();
}

void TAwakeHold::Apply() {
  const bool system = near_ || ringing_;
  const bool display = ringing_;
  // Only changes reach the system: the state is the thread's, and asking
  // again for the same costs a call for nothing.
  if (system == system_ && display == display_) return;
  system_ = system;
  display_ = display;
  power_.KeepAwake(system, display);
}
