// A DLL as an attacker would leave it beside the program: it exports what the
// program takes from the real library of its name, and when any process
// loads it, it leaves a file "<name>.ran" in its own folder.
#include <windows.h>

#include <string>

#ifndef PLANTED_NAME
#error "PLANTED_NAME names the library this one poses as"
#endif

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return TRUE;
  std::wstring mark(path, n);
  mark.erase(mark.find_last_of(L'\\') + 1);
  mark += PLANTED_NAME L".ran";
  HANDLE h = CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return TRUE;
}

extern "C" {
#ifdef PLANTED_WINMM
__declspec(dllexport) DWORD WINAPI mciSendCommandW(UINT, UINT, DWORD_PTR, DWORD_PTR) { return 1; }
__declspec(dllexport) BOOL WINAPI mciGetErrorStringW(DWORD, LPWSTR, UINT) { return FALSE; }
__declspec(dllexport) BOOL WINAPI PlaySoundW(LPCWSTR, HMODULE, DWORD) { return FALSE; }
#endif
#ifdef PLANTED_MSIMG32
// windows.h declares it as imported; this library is where it comes from.
#pragma GCC diagnostic ignored "-Wattributes"
__declspec(dllexport) BOOL WINAPI GradientFill(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG) {
  return FALSE;
}
#endif
}
