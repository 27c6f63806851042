#include "engine/snoozes.h"

// Plain loops: a handful of snoozes, and the program is kept small.

void AddSnooze(TSnoozes& snoozes, const TSnooze& snooze) {
  for (TSnooze& z : snoozes) {
    if (z.Alarm == snooze.Alarm) {
      z = snooze;
      return;
    }
  }
  if (snoozes.size() < kMaxSnoozes) snoozes.push_back(snooze);
}

bool FollowStore(TSnoozes& snoozes, const TAlarmStore& store) {
  bool changed = false;
  TSnoozes kept;
  for (TSnooze z : snoozes) {
    const std::uint16_t index = FindAlarm(store, z.Alarm);
    if (index != z.Alarm.Index) changed = true;
    z.Alarm.Index = index;
    if (index != 0) kept.push_back(z);
  }
  snoozes = kept;
  return changed;
}

TSnoozes TakeDueSnoozes(TSnoozes& snoozes, std::int64_t nowUtcMs) {
  TSnoozes due, waiting;
  for (const TSnooze& z : snoozes) {
    if (z.DueUtcMs > nowUtcMs) {
      waiting.push_back(z);
      continue;
    }
    // Earliest first; equal moments keep their order.
    std::size_t at = due.size();
    while (at > 0 && due[at - 1].DueUtcMs > z.DueUtcMs) --at;
    due.insert(due.begin() + static_cast<std::ptrdiff_t>(at), z);
  }
  snoozes = waiting;
  return due;
}

std::optional<TSnooze> NextSnooze(const TSnoozes& snoozes) {
  std::optional<TSnooze> next;
  for (const TSnooze& z : snoozes) {
    if (!next || z.DueUtcMs < next->DueUtcMs) next = z;
  }
  return next;
}
