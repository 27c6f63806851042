// Ring latency under Windows (or Wine): how long after an alarm's due
// second its wake-up window becomes visible. Starts the given Tivorra.exe in
// a throw-away folder with countdowns a few seconds apart, watches for the
// window, dismisses it, and prints the median and the worst.
//   ring_latency.exe PATH\Tivorra.exe [count=12] [gapSeconds=3]
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "top_window.h"

namespace {

constexpr std::int64_t kFileTimeOf1970 = 116444736000000000LL;
constexpr std::int64_t kMsFrom1601To1899 = 109205LL * 86400000;

std::int64_t FileTimeMs(const FILETIME& ft) {
  return static_cast<std::int64_t>(
      ((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000);
}
std::int64_t UtcNowMs() {  // since 1970
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  return FileTimeMs(ft) - kFileTimeOf1970 / 10000;
}
// Local time minus universal time now, in whole minutes.
std::int64_t ZoneOffsetMs() {
  SYSTEMTIME utc, local;
  GetSystemTime(&utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  FILETIME fu, fl;
  SystemTimeToFileTime(&utc, &fu);
  SystemTimeToFileTime(&local, &fl);
  const std::int64_t d = FileTimeMs(fl) - FileTimeMs(fu);
  return (d + (d >= 0 ? 30000 : -30000)) / 60000 * 60000;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ring_latency PROGRAM.exe [count] [gapSeconds]\n");
    return 2;
  }
  const int count = argc > 2 ? _wtoi(argv[2]) : 12;
  const int gap = argc > 3 ? _wtoi(argv[3]) : 3;

  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  std::wstring dir = std::wstring(tmp) + L"ring" + std::to_wstring(GetTickCount64()) + L"\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring exe = dir + L"Tivorra.exe";
  if (!CopyFileW(argv[1], exe.c_str(), FALSE)) return 3;

  // alarm.rec: countdown records of 776 bytes from offset 234,400; Msg at
  // +0 (length byte, then the text), AlarmTime at +768; CountdownCount at
  // 389,606.
  std::vector<unsigned char> rec(389616, 0);
  const std::int64_t offset = ZoneOffsetMs();
  const std::int64_t first = (UtcNowMs() / 1000 + 6) * 1000;
  std::vector<std::int64_t> due;
  for (int i = 0; i < count; ++i) {
    due.push_back(first + static_cast<std::int64_t>(i) * gap * 1000);
    const std::int64_t localMs = due.back() + kFileTimeOf1970 / 10000 + offset - kMsFrom1601To1899;
    const double value = static_cast<double>(localMs) / 86400000.0;
    unsigned char* r = rec.data() + 234400 + 776 * i;
    const std::string msg = std::to_string(i);
    r[0] = static_cast<unsigned char>(msg.size());
    std::memcpy(r + 1, msg.data(), msg.size());
    std::memcpy(r + 768, &value, 8);
  }
  rec[389606] = static_cast<unsigned char>(count);
  HANDLE f = CreateFileW((dir + L"alarm.rec").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                         nullptr);
  DWORD written = 0;
  WriteFile(f, rec.data(), static_cast<DWORD>(rec.size()), &written, nullptr);
  CloseHandle(f);

  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                      &pi)) {
    return 4;
  }

  // The wake-up window exists, hidden, from the start: find it once, then
  // watch only its visibility, so that the watching costs one call.
  HWND wake = nullptr;
  while (!wake && UtcNowMs() < first - 1000) {
    wake = TopWindow(pi.dwProcessId, L"Будильник", false);
    if (!wake) Sleep(20);
  }
  std::vector<std::int64_t> latency;
  const std::int64_t end = due.back() + 5000;
  while (wake && static_cast<int>(latency.size()) < count && UtcNowMs() < end) {
    if (!IsWindowVisible(wake)) {
      Sleep(1);
      continue;
    }
    const std::int64_t shown = UtcNowMs();
    wchar_t text[16] = {};
    SendMessageW(FindWindowExW(wake, nullptr, L"EDIT", nullptr), WM_GETTEXT, 16,
                 reinterpret_cast<LPARAM>(text));
    const int k = _wtoi(text);
    if (k >= 0 && k < count) latency.push_back(shown - due[k]);
    SendMessageW(FindWindowExW(wake, nullptr, L"BUTTON", nullptr), BM_CLICK, 0, 0);
    while (IsWindowVisible(wake)) Sleep(1);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);

  if (!wake) {
    std::printf("no wake-up window found\n");
    return 1;
  }
  if (latency.empty()) {
    std::printf("no alarm rang\n");
    return 1;
  }
  std::printf("rings: %zu of %d; latency ms:", latency.size(), count);
  for (auto l : latency) std::printf(" %lld", static_cast<long long>(l));
  std::sort(latency.begin(), latency.end());
  std::printf("\nmedian %lld ms, worst %lld ms\n",
              static_cast<long long>(latency[latency.size() / 2]),
              static_cast<long long>(latency.back()));
  return 0;
}
