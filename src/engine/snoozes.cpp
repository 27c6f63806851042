#include "engine/snoozes.h"

#include "engine/alarm_refs.h"

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
  return FollowAlarms(snoozes, store);
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
