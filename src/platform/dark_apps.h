// Whether Windows is set to show apps dark (Settings, Personalization,
// Colours: "Choose your default app mode"). While it is, and high contrast
// is off, the program's windows use a dark palette.
#pragma once

class TDarkApps {
 public:
  virtual ~TDarkApps() = default;
  virtual bool On() const = 0;
};
