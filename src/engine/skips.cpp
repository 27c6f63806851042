#include "engine/skips.h"

#include "engine/alarm_refs.h"

bool FollowStore(TSkips& skips, const TAlarmStore& store) { return FollowAlarms(skips, store); }

bool DropPassed(TSkips& skips, std::int64_t lastExamined) {
  return std::erase_if(skips, [&](const TSkip& k) { return k.LocalSecond <= lastExamined; }) != 0;
}

const TSkip* FindSkip(const TSkips& skips, TAlarmKind kind, std::uint16_t index) {
  for (const TSkip& k : skips) {
    if (k.Alarm.Kind == kind && k.Alarm.Index == index) return &k;
  }
  return nullptr;
}
