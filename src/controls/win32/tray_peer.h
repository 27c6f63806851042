// The notification-area icon's Win32 half, as tests under Windows read it.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace win32 {

// What was last handed to Shell_NotifyIcon for the icon, and whether it is
// in the notification area now.
struct TTrayRecord {
  NOTIFYICONDATAW Data{};
  bool Added = false;
  HWND Window = nullptr;
};
const TTrayRecord* TrayRecord();

}  // namespace win32
