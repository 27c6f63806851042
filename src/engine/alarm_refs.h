// What the program keeps about an alarm (a snooze, a skip) follows the
// alarm through the store's changes.
#pragma once

#include <vector>

#include "store/program_state.h"

// Drops the items whose alarm was changed or deleted and follows the ones
// whose record moved up. True when anything changed.
template <class TItem>
bool FollowAlarms(std::vector<TItem>& items, const TAlarmStore& store) {
  bool changed = false;
  std::vector<TItem> kept;
  for (TItem item : items) {
    const std::uint16_t index = FindAlarm(store, item.Alarm);
    if (index != item.Alarm.Index) changed = true;
    item.Alarm.Index = index;
    if (index != 0) kept.push_back(item);
  }
  items = std::move(kept);
  return changed;
}
