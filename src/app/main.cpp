// Program entry.
#include <windows.h>

#include "controls/win32/message_boxes_win32.h"
#include "platform/errors.h"
#include "platform/program_path.h"
#include "store/alarm_file.h"

namespace {

TAlarmStore gStore;  // 389 KB: a static block, not on the stack

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"TivorraMain";
  RegisterClassExW(&wc);

  HWND main = CreateWindowExW(0, wc.lpszClassName, L"Tivorra", WS_OVERLAPPEDWINDOW, 223, 73,
                              567, 607, nullptr, nullptr, instance, nullptr);
  TWin32MessageBoxes boxes;
  const std::wstring programDir = FindProgramDir(ExecutablePath());
  LoadAlarms(gStore, programDir, boxes);
  ShowWindow(main, show);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}
