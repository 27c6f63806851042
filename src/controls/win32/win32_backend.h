// The Win32 half of the control model: real windows for the controls,
// window timers, menus, the tray icon and modal loops.
#pragma once

#include <functional>

#include "controls/controls.h"
#include "platform/contrast.h"
#include "platform/dark_apps.h"

class TWin32Backend : public TBackend {
 public:
  // The drawn controls ask `contrast` at each paint whether to keep to the
  // system colours; `dark` is asked at start and whenever Windows announces
  // a change of the app mode, and gives the windows the dark palette.
  TWin32Backend(const THighContrast& contrast, const TDarkApps& dark);
  ~TWin32Backend() override;
  std::unique_ptr<TControlPeer> CreatePeer(TPanel& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TButton& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TCheckBox& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TRadioButton& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TEdit& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TMemo& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TListBox& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TComboBox& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TTabControl& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TDateTimePicker& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TLabel& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TTextImage& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TGradientStrip& c) override;
  std::unique_ptr<TFormPeer> CreateFormPeer(TForm& form) override;
  std::unique_ptr<TTimerPeer> CreateTimerPeer(TTimer& timer) override;
  std::unique_ptr<TMenuPeer> CreateMenuPeer(TPopupMenu& menu) override;
  std::unique_ptr<TTrayPeer> CreateTrayPeer(TTrayIcon& icon) override;
};

// Runs the message loop until the quit message; returns its exit code.
int RunMessageLoop();
// Runs a task in the loop's first idle moment: nothing waiting, nothing
// left to paint.
void RunWhenIdle(std::function<void()> task);
// Handles the messages waiting now, without blocking (tests).
void ProcessMessages();
