#include "engine/snoozes.h"

#include <algorithm>

void AddSnooze(TSnoozes& snoozes, const TSnooze& snooze) {
  std::erase_if(snoozes, [&](const TSnooze& z) { return z.Alarm == snooze.Alarm; });
  if (snoozes.size() < kMaxSnoozes) snoozes.push_back(snooze);
}

bool FollowStore(TSnoozes& snoozes, const TAlarmStore& store) {
  bool changed = false;
  for (TSnooze& z : snoozes) {
    const std::uint16_t index = FindAlarm(store, z.Alarm);
    if (index != z.Alarm.Index) changed = true;
    z.Alarm.Index = index;
  }
  std::erase_if(snoozes, [](const TSnooze& z) { return z.Alarm.Index == 0; });
  return changed;
}

TSnoozes TakeDueSnoozes(TSnoozes& snoozes, std::int64_t nowUtcMs) {
  TSnoozes due;
  for (const TSnooze& z : snoozes) {
    if (z.DueUtcMs <= nowUtcMs) due.push_back(z);
  }
  std::erase_if(snoozes, [&](const TSnooze& z) { return z.DueUtcMs <= nowUtcMs; });
  std::stable_sort(due.begin(), due.end(),
                   [](const TSnooze& a, const TSnooze& b) { return a.DueUtcMs < b.DueUtcMs; });
  return due;
}

std::optional<TSnooze> NextSnooze(const TSnoozes& snoozes) {
  if (snoozes.empty()) return std::nullopt;
  return *std::min_element(snoozes.begin(), snoozes.end(), [](const TSnooze& a, const TSnooze& b) {
    return a.DueUtcMs < b.DueUtcMs;
  });
}
