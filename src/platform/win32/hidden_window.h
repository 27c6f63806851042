// Windows that are never shown, made only to receive messages.
#pragma once

#include <windows.h>

namespace win32 {

enum class THiddenKind {
  // Message-only (HWND_MESSAGE): cheapest, but hears no broadcast.
  MessageOnly,
  // A hidden top-level tool window, off the taskbar: it hears broadcasts
  // (power, time and setting changes, "TaskbarCreated") and FindWindow
  // finds it by its class.
  TopLevel,
};

// Registers the class on its first use (later calls find it registered)
// and creates the window; `self`, when given, is kept in GWLP_USERDATA for
// the window procedure. Null when the window cannot be made.
HWND CreateHiddenWindow(const wchar_t* className, WNDPROC proc, THiddenKind kind,
                        void* self = nullptr);

// What CreateHiddenWindow kept for the window procedure.
template <class T>
T* HiddenWindowOwner(HWND window) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace win32
