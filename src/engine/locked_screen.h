// What the ring session keeps of the locked screen. While the workstation
// is locked Windows shows none of our windows: an alarm rings (its music
// plays, the PC and screen are held) but nobody sees the wake-up window, so
// a ring that ends unanswered then is named in the missed list after the
// unlock, besides the snooze it gives itself. An alarm is named so once a
// run: its ring and the snoozes it gave itself while nobody answered. The
// run ends when the user answers or snoozes it, or when it is missed for
// good after its third ring, which the missed list names as before unless
// this run was named already. Kept in memory only: a restart forgets it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "store/program_state.h"

struct TUnheardRing {
  TAlarmRef Alarm;
  std::int64_t LocalSecond = 0;  // local, the latest ring that nobody answered
  bool operator==(const TUnheardRing&) const = default;
};

class TLockedScreen {
 public:
  bool Locked() const { return locked_; }
  void Lock() { locked_ = true; }
  // The rings to name now, taken as named. An alarm `showing` rings in the
  // wake-up window at this moment: the user sees it there, so it is not
  // named.
  std::vector<TUnheardRing> Unlock(const std::function<bool(const TAlarmRef&)>& showing);

  // The alarm rings as a new occurrence, or after the user snoozed it: a
  // new run.
  void RunStarts(const TAlarmRef& alarm);
  // A ring ended with nobody answering and snoozed itself.
  void EndedUnanswered(const TAlarmRef& alarm, std::int64_t localSecond);
  // The run ends with nobody having answered (its third ring, or a snooze
  // due while the PC was off): whether the missed list is to name it now,
  // which it is unless this run was named at an unlock.
  bool MissedForGood(const TAlarmRef& alarm);
  // The user answered or snoozed the alarm.
  void Heard(const TAlarmRef& alarm);

 private:
  bool locked_ = false;
  // Ended unanswered while locked, one entry an alarm.
  std::vector<TUnheardRing> unheard_;
  // Named at an unlock in their current run.
  std::vector<TAlarmRef> named_;
};
