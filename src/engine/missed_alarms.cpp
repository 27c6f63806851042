#include "engine/missed_alarms.h"

#include <algorithm>

void AddMissed(std::vector<TMissedAlarm>& missed, const TMissedAlarm& entry) {
  auto it = std::find_if(missed.begin(), missed.end(),
                         [&](const TMissedAlarm& e) { return e.Alarm == entry.Alarm; });
  if (it == missed.end()) {
    missed.push_back(entry);
    return;
  }
  it->LatestSecond = std::max(it->LatestSecond, entry.LatestSecond);
  it->Count += entry.Count;
}
