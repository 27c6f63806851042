// Start-up time and memory of a Windows program, seen from another process
// as a user's session would see them.
//   window_probe.exe PROGRAM.exe TITLE SETTLE_MS [ARGS]
// Starts the program in its own folder, waits until a visible top-level
// window of it has the title, waits SETTLE_MS more, then prints one line:
//   shown_ms=N working_set_kb=N
// and waits for a line on its input (the caller measures the program
// meanwhile) before it closes the program. Wine leaves the private bytes
// counter at zero, so the caller reads the memory from the host instead.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "top_window.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: window_probe PROGRAM.exe TITLE SETTLE_MS [ARGS]\n");
    return 2;
  }
  std::wstring program = argv[1];
  std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
  std::wstring cmd = L"\"" + program + L"\"";
  for (int i = 4; i < argc; ++i) cmd += std::wstring(L" ") + argv[i];

  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  LARGE_INTEGER freq, start, shown;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    std::fprintf(stderr, "cannot start the program (%lu)\n", GetLastError());
    return 3;
  }
  HWND window = nullptr;
  for (;;) {
    QueryPerformanceCounter(&shown);
    if ((window = TopWindow(pi.dwProcessId, argv[2], true))) break;
    if ((shown.QuadPart - start.QuadPart) / freq.QuadPart > 30) break;
    Sleep(1);
  }
  Sleep(static_cast<DWORD>(_wtoi(argv[3])));
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory);
  if (window) {
    std::printf("shown_ms=%lld working_set_kb=%llu\n",
                (shown.QuadPart - start.QuadPart) * 1000 / freq.QuadPart,
                static_cast<unsigned long long>(memory.WorkingSetSize / 1024));
    std::fflush(stdout);
    char line[8];
    std::fgets(line, sizeof line, stdin);
  }
  // Closed as a user closes it; ending it by force instead leaves Wine's
  // notification area waiting on a dead window, which slows the next start.
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  if (!window) {
    std::fprintf(stderr, "no visible window titled as asked\n");
    return 1;
  }
  return 0;
}
