// Snoozed alarms: an alarm put off by the user, or by a ring nobody
// answered, rings again at a moment of real time.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "store/program_state.h"

using TSnoozes = std::vector<TSnooze>;

// One alarm has at most one snooze: a new one replaces it.
void AddSnooze(TSnoozes& snoozes, const TSnooze& snooze);
// Drops the snoozes whose alarm was changed or deleted and follows the ones
// whose record moved up. True when anything changed.
bool FollowStore(TSnoozes& snoozes, const TAlarmStore& store);
// Takes out the snoozes due at `nowUtcMs`, earliest first.
TSnoozes TakeDueSnoozes(TSnoozes& snoozes, std::int64_t nowUtcMs);
// The one that rings first.
std::optional<TSnooze> NextSnooze(const TSnoozes& snoozes);
