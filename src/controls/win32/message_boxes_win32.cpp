#include "controls/win32/message_boxes_win32.h"

#include <windows.h>

namespace {
constexpr wchar_t kTitle[] = L"Tivorra";
}

void TWin32MessageBoxes::ShowMessage(const std::wstring& text) {
  MessageBoxW(GetActiveWindow(), text.c_str(), kTitle, MB_OK);
}

void TWin32MessageBoxes::ShowErrorReport(const std::wstring& text) {
  MessageBoxW(GetActiveWindow(), text.c_str(), kTitle, MB_OK | MB_ICONERROR);
}
