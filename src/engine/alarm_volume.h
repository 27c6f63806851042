// How loud a ringing alarm is: never inaudible, and, when the user wants a
// gentle start, rising from quiet to full.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/audio_output.h"

// Unmutes the default output and raises it to a minimum while an alarm
// rings, and gives the user's mute and level back afterwards.
class TVolumeGuard {
 public:
  explicit TVolumeGuard(TAudioOutput& output) : output_(output) {}
  ~TVolumeGuard() { Restore(); }
  TVolumeGuard(const TVolumeGuard&) = delete;
  TVolumeGuard& operator=(const TVolumeGuard&) = delete;

  // While raised already, the first saved state stays the one to give back.
  void Raise(int minPercent);
  // Gives back only what it changed, and nothing when the user has set the
  // output since: the user's own choice wins.
  void Restore();
  bool Raised() const { return saved_.has_value(); }

 private:
  TAudioOutput& output_;
  std::optional<TOutputVolume> saved_;
  TOutputVolume set_;
};

// The range a fade climbs: from 40 dB below full, which is quiet but heard
// in a quiet room, to full.
inline constexpr double kFadeRangeDb = 40.0;

// The music's gain `elapsedMs` into a fade of `fadeSeconds`: even steps in
// decibels, which the ear hears as an even rise (a straight ramp of the
// amplitude sounds full a quarter of the way in). 1 without a fade and
// once it is over.
double FadeGain(std::int64_t elapsedMs, int fadeSeconds);
