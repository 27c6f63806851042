#include "platform/win32/run_value_win32.h"

#include "platform/win32/handles.h"

namespace {

constexpr wchar_t kVersionKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
constexpr wchar_t kRunKeyName[] = L"Run";
constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";


}  // namespace

void TWin32RunValue::Write(const std::wstring& name, const std::wstring& data) {
  win32::TUniqueKey version;
  win32::TUniqueKey run;
  // Either step failing means there is no Run key to write to, and that is
  // the key the report names.
  if (RegCreateKeyExW(userRoot_, kVersionKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_CREATE_SUB_KEY, nullptr, version.Receive(), nullptr) != ERROR_SUCCESS ||
      RegCreateKeyExW(version.Get(), kRunKeyName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, run.Receive(), nullptr) != ERROR_SUCCESS) {
    throw EAppError(RunKeyFailedText(kRunKeyName));
  }
  const DWORD size = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  if (RegSetValueExW(run.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     size) != ERROR_SUCCESS) {
    throw EAppError(RunDataFailedText(name));
  }
}

void TWin32RunValue::Remove(const std::wstring& name) {
  RegDeleteKeyValueW(userRoot_, kRunKeyPath, name.c_str());
  // A machine-wide value, left by an installer or an earlier version, would
  // go on starting the program after the user turned that off. A 64-bit
  // Windows keeps separate machine-wide keys for 32-bit programs.
  for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    win32::TUniqueKey run;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKeyPath, 0, KEY_SET_VALUE | view, run.Receive()) ==
        ERROR_SUCCESS) {
      RegDeleteValueW(run.Get(), name.c_str());
    }
  }
}
