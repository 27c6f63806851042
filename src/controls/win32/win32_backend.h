// The Win32 half of the control model: real windows for the controls,
// window timers, and modal loops.
#pragma once

#include "controls/controls.h"

class TWin32Backend : public TBackend {
 public:
  TWin32Backend();
  ~TWin32Backend() override;
  std::unique_ptr<TControlPeer> CreatePeer(TControl& control) override;
  std::unique_ptr<TFormPeer> CreateFormPeer(TForm& form) override;
  std::unique_ptr<TTimerPeer> CreateTimerPeer(TTimer& timer) override;
};

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();
// Handles the messages waiting now, without blocking (tests).
void ProcessMessages();
// The form that owns a window handle, or null.
TForm* FormFromHandle(void* hwnd);
