// The dark app mode as a test sets it, without touching the registry.
#pragma once

#include "platform/dark_apps.h"

class TFakeDarkApps : public TDarkApps {
 public:
  bool on = false;
  bool On() const override { return on; }
};

// The one the test program's window backend asks (tests under Windows).
TFakeDarkApps& TestDarkApps();
