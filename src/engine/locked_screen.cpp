#include "engine/locked_screen.h"

#include <algorithm>

namespace {

// By what the alarm says, not its place: a record deleted before it moves
// it up, and its snooze follows it there.
bool Same(const TAlarmRef& a, const TAlarmRef& b) {
  return a.Kind == b.Kind && a.Digest == b.Digest;
}

}  // namespace

std::vector<TUnheardRing> TLockedScreen::Unlock(
    const std::function<bool(const TAlarmRef&)>& showing) {
  locked_ = false;
  std::vector<TUnheardRing> told;
  for (const TUnheardRing& u : unheard_) {
    if (showing && showing(u.Alarm)) continue;
    if (std::any_of(named_.begin(), named_.end(),
                    [&](const TAlarmRef& n) { return Same(n, u.Alarm); })) {
      continue;
    }
    named_.push_back(u.Alarm);
    told.push_back(u);
  }
  unheard_.clear();
  return told;
}

void TLockedScreen::RunStarts(const TAlarmRef& alarm) {
  std::erase_if(named_, [&](const TAlarmRef& n) { return Same(n, alarm); });
}

void TLockedScreen::EndedUnanswered(const TAlarmRef& alarm, std::int64_t localSecond) {
  if (!locked_) return;
  for (TUnheardRing& u : unheard_) {
    if (Same(u.Alarm, alarm)) {
      u.Alarm = alarm;
      u.LocalSecond = localSecond;
      return;
    }
  }
  unheard_.push_back({alarm, localSecond});
}

bool TLockedScreen::MissedForGood(const TAlarmRef& alarm) {
  // The missed list names it now, for whatever rang unheard before.
  std::erase_if(unheard_, [&](const TUnheardRing& u) { return Same(u.Alarm, alarm); });
  return std::erase_if(named_, [&](const TAlarmRef& n) { return Same(n, alarm); }) == 0;
}

void TLockedScreen::Heard(const TAlarmRef& alarm) {
  std::erase_if(unheard_, [&](const TUnheardRing& u) { return Same(u.Alarm, alarm); });
  std::erase_if(named_, [&](const TAlarmRef& n) { return Same(n, alarm); });
}
