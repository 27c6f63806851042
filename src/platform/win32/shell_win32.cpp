#include "platform/win32/shell_win32.h"

#include <windows.h>
#include <shellapi.h>

void TWin32Shell::Open(const std::wstring& file) {
  ShellExecuteW(nullptr, L"open", file.c_str(), L"", L"", SW_SHOW);
}
