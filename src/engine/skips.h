// Skipped occurrences: the next ring of a daily or weekday alarm that the
// user chose not to hear. A skip lasts until its moment has passed, or
// until its alarm is changed or deleted.
#pragma once

#include <cstdint>
#include <vector>

#include "store/program_state.h"

using TSkips = std::vector<TSkip>;

// Drops the skips whose alarm was changed or deleted and follows the ones
// whose record moved up. True when anything changed.
bool FollowStore(TSkips& skips, const TAlarmStore& store);
// Drops the skips of moments up to `lastExamined`, which the check has
// passed. True when any went.
bool DropPassed(TSkips& skips, std::int64_t lastExamined);
// The skip of an alarm (1-based index as it is now), or null.
const TSkip* FindSkip(const TSkips& skips, TAlarmKind kind, std::uint16_t index);
