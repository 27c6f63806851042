#include "platform/win32/hidden_window.h"

namespace win32 {

HWND CreateHiddenWindow(const wchar_t* className, WNDPROC proc, THiddenKind kind, void* self) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = className;
  RegisterClassExW(&wc);  // fails harmlessly when the class is there already
  const bool topLevel = kind == THiddenKind::TopLevel;
  HWND window =
      CreateWindowExW(topLevel ? WS_EX_TOOLWINDOW : 0, className, L"", topLevel ? WS_POPUP : 0, 0,
                      0, 0, 0, topLevel ? nullptr : HWND_MESSAGE, nullptr, instance, nullptr);
  if (window && self) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  return window;
}

}  // namespace win32
