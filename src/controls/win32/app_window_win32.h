#pragma once

#include "controls/app_window.h"

// The program as the taskbar sees it: its main window.
class TWin32ApplicationWindow : public TApplicationWindow {
 public:
  void SetMainWindow(void* hwnd) { main_ = hwnd; }
  void Minimize() override;
  bool Minimized() const override;
  void Restore() override;
  void BringToFront() override;
  void Terminate() override;

 private:
  void* main_ = nullptr;
};
