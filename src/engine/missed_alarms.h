// Alarms whose moments passed while nobody could hear them (the PC off or
// asleep, the program closed), and those that rang three times in a row
// unanswered: one entry per alarm, however many of its moments went by.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/program_state.h"

struct TMissedAlarm {
  TAlarmRef Alarm;
  std::int64_t LatestSecond = 0;  // local, of the latest missed moment
  int Count = 0;
  std::wstring Message;
  bool operator==(const TMissedAlarm&) const = default;
};

// Adds the alarm, or adds to its entry when it is listed already.
void AddMissed(std::vector<TMissedAlarm>& missed, const TMissedAlarm& entry);
