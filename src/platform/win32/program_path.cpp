#include "platform/program_path.h"

#include <windows.h>
#include <shellapi.h>

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);  // long paths (\\?\...) do not fit MAX_PATH
  }
}

std::vector<std::wstring> CommandLineParams() {
  std::vector<std::wstring> params;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return params;
  for (int i = 1; i < argc; ++i) params.emplace_back(argv[i]);
  LocalFree(argv);
  return params;
}
