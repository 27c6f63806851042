// Keeps the PC awake while an alarm is near or ringing, and lets it go as
// soon as neither is so, so that Windows' own sleep settings apply again.
#pragma once

class TPower;

class TAwakeHold {
 public:
  explicit TAwakeHold(TPower& power) : power_(power) {}
  ~TAwakeHold();
  TAwakeHold(const TAwakeHold&) = delete;
  TAwakeHold& operator=(const TAwakeHold&) = delete;

  // An alarm is due within the minute: after a timer wake Windows would
  // put an unattended PC back to sleep before it rings. The system only.
  void SetAlarmNear(bool near);
  // The wake-up window shows: the system and the display, so that the
  // screen lights up and stays lit until the alarm is answered.
  void SetRinging(bool ringing);

  bool HoldsSystem() const { return system_; }
  bool HoldsDisplay() const { return display_; }

 private:
  void Apply();

  TPower& power_;
  bool near_ = false;
  bool ringing_ = false;
  bool system_ = false;
  bool display_ = false;
};
