// The default sound output as a test sets it up: a device or none, and
// what the program and "the user" did to it.
#pragma once

#include <optional>
#include <vector>

#include "platform/audio_output.h"

class TFakeAudioOutput : public TAudioOutput {
 public:
  std::optional<TOutputVolume> Read() override { return device; }
  void Write(const TOutputVolume& volume) override {
    writes.push_back(volume);
    if (device) device = volume;
  }
  void SetProgramGain(double gain) override { gains.push_back(gain); }

  std::optional<TOutputVolume> device;  // empty: no output device
  std::vector<TOutputVolume> writes;
  std::vector<double> gains;
};
