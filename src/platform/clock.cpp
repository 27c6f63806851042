#include "platform/clock.h"

#include <algorithm>

std::int64_t EarliestUtcReading(std::int64_t localMs,
                                const std::function<std::int64_t(std::int64_t utcMs)>& localAt) {
  const auto offsetAt = [&](std::int64_t utc) { return localAt(utc) - (utc - kUtcMsOf1899); };
  // As if local time were universal; the true instant lies within a day.
  const std::int64_t naive = localMs + kUtcMsOf1899;
  const std::int64_t before = offsetAt(naive - kMsPerDay);
  const std::int64_t after = offsetAt(naive + kMsPerDay);
  // The instants that read exactly localMs under either offset; the first
  // pass wins when both do (the repeated hour).
  std::int64_t best = 0;
  bool found = false;
  for (const std::int64_t offset : {before, after}) {
    const std::int64_t utc = naive - offset;
    if (localAt(utc) == localMs && (!found || utc < best)) {
      best = utc;
      found = true;
    }
  }
  if (found) return best;
  // The local clock skips localMs: find the first instant that reads past
  // it, which is where the clock jumps. The instant under the later offset
  // still reads before the gap, the one under the earlier offset after it.
  std::int64_t lo = naive - std::max(before, after);
  std::int64_t hi = naive - std::min(before, after);
  if (localAt(lo) >= localMs) return lo;
  while (hi - lo > 1) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    (localAt(mid) >= localMs ? hi : lo) = mid;
  }
  return hi;
}
