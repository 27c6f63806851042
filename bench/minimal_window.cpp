// The smallest Win32 program that opens a window: the reference the
// performance table compares Tivorra's start-up and idle wake-ups with.
// Built three ways: plain; with MINIMAL_IMPORTS, linked against the
// libraries Tivorra imports (and, by the script, with its manifest), so
// that what loading them costs shows apart from Tivorra's own start; with
// MINIMAL_TIMER, a window that redraws itself once a second, as a clock.
#include <windows.h>
#ifdef MINIMAL_IMPORTS
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>

// One function of each library, so that the linker imports it.
void* volatile gImports[] = {reinterpret_cast<void*>(&Shell_NotifyIconW),
                             reinterpret_cast<void*>(&mciSendCommandW),
                             reinterpret_cast<void*>(&GetOpenFileNameW),
                             reinterpret_cast<void*>(&RegOpenKeyExW),
                             reinterpret_cast<void*>(&GradientFill),
                             reinterpret_cast<void*>(&CoInitializeEx)};
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_DESTROY) PostQuitMessage(0);
    if (m == WM_TIMER) InvalidateRect(h, nullptr, TRUE);
    return DefWindowProcW(h, m, w, l);
  };
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"MinimalWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowW(L"MinimalWindow", L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 240, 320, nullptr, nullptr, instance, nullptr);
#ifdef MINIMAL_IMPORTS
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
#endif
#ifdef MINIMAL_TIMER
  SetTimer(window, 1, 1000, nullptr);
#endif
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
