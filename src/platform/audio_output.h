// The default sound output, as the alarm needs it: its mute and level, to
// make sure a ringing alarm is heard, and this program's own volume in the
// mix, to let the music fade in.
#pragma once

#include <optional>

struct TOutputVolume {
  bool Muted = false;
  int Percent = 0;  // 0-100
  bool operator==(const TOutputVolume&) const = default;
};

class TAudioOutput {
 public:
  virtual ~TAudioOutput() = default;
  // Empty when there is no output device, or it cannot be read.
  virtual std::optional<TOutputVolume> Read() = 0;
  // Does nothing when there is no output device.
  virtual void Write(const TOutputVolume& volume) = 0;
  // This program's share of the output, 0.0-1.0; the other programs'
  // sounds keep theirs.
  virtual void SetProgramGain(double gain) = 0;
};
