// The default sound output through the Windows audio endpoint interfaces:
// the device's mute and master level, and this program's session volume.
#pragma once

#include "platform/audio_output.h"

class TWin32AudioOutput : public TAudioOutput {
 public:
  std::optional<TOutputVolume> Read() override;
  void Write(const TOutputVolume& volume) override;
  void SetProgramGain(double gain) override;
};
