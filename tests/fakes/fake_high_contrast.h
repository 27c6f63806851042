// High contrast as a test sets it: Wine cannot switch the real one on.
#pragma once

#include "platform/contrast.h"

class TFakeHighContrast : public THighContrast {
 public:
  bool on = false;
  bool On() const override { return on; }
};

// The one the test program's window backend asks (tests under Windows).
TFakeHighContrast& TestContrast();
