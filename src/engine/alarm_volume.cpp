#include "engine/alarm_volume.h"

#include <algorithm>
#include <cmath>

void TVolumeGuard::Raise(int minPercent) {
  if (saved_) return;
  const std::optional<TOutputVolume> now = output_.Read();
  if (!now) return;  // no output device: nothing to raise
  TOutputVolume raised = *now;
  raised.Muted = false;
  raised.Percent = std::max(now->Percent, minPercent);
  if (raised == *now) return;
  output_.Write(raised);
  saved_ = now;
  set_ = raised;
}

void TVolumeGuard::Restore() {
  if (!saved_) return;
  const TOutputVolume saved = *saved_;
  saved_.reset();
  const std::optional<TOutputVolume> now = output_.Read();
  if (now && *now == set_) output_.Write(saved);
}

double FadeGain(std::int64_t elapsedMs, int fadeSeconds) {
  if (fadeSeconds <= 0) return 1.0;
  const double total = fadeSeconds * 1000.0;
  const double done = std::clamp(static_cast<double>(elapsedMs) / total, 0.0, 1.0);
  return std::pow(10.0, -kFadeRangeDb * (1.0 - done) / 20.0);
}
