#include "controls/win32/app_window_win32.h"

#include <windows.h>

void TWin32ApplicationWindow::Minimize() {
  HWND main = static_cast<HWND>(main_);
  if (!main || IsIconic(main)) return;
  ShowWindow(main, SW_MINIMIZE);
}

bool TWin32ApplicationWindow::Minimized() const {
  return main_ && IsIconic(static_cast<HWND>(main_));
}

void TWin32ApplicationWindow::Restore() {
  HWND main = static_cast<HWND>(main_);
  if (main && IsIconic(main)) ShowWindow(main, SW_RESTORE);
}

void TWin32ApplicationWindow::BringToFront() {
  HWND main = static_cast<HWND>(main_);
  if (!main) return;
  HWND last = GetLastActivePopup(main);
  if (last && IsWindowVisible(last) && IsWindowEnabled(last)) SetForegroundWindow(last);
}

void TWin32ApplicationWindow::Terminate() { PostQuitMessage(0); }
