// The first ring after a start under Windows (or Wine), for an alarm as
// users set them: a message, music from a section and a file to open. For
// each start: a fresh folder, one countdown a few seconds after the start,
// and the time from its due second to the wake-up window being visible.
// Each start's line "shown TICK" gives the tick count (ms) at which the
// window showed, to set beside the program's own trace of its music (see
// first_ring.sh); the program is started with WINEDEBUG from TRACE.
//   first_ring.exe PROGRAM.exe [starts=10] [TRACE]
#include <windows.h>

#include <algorithm>
#include <cmath>
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
std::int64_t UtcNowMs() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  return FileTimeMs(ft) - kFileTimeOf1970 / 10000;
}
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

bool WriteAll(const std::wstring& path, const void* data, std::size_t size) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(f, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  CloseHandle(f);
  return ok;
}

// Two seconds of a 440 Hz tone, 16-bit mono at 22 050 Hz.
std::vector<unsigned char> ToneWav() {
  const std::uint32_t rate = 22050, samples = rate * 2;
  std::vector<unsigned char> w(44 + samples * 2);
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&w[at], &v, 4); };
  auto put16 = [&](std::size_t at, std::uint16_t v) { std::memcpy(&w[at], &v, 2); };
  std::memcpy(&w[0], "RIFF", 4);
  put32(4, static_cast<std::uint32_t>(w.size() - 8));
  std::memcpy(&w[8], "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);
  put16(22, 1);
  put32(24, rate);
  put32(28, rate * 2);
  put16(32, 2);
  put16(34, 16);
  std::memcpy(&w[36], "data", 4);
  put32(40, samples * 2);
  for (std::uint32_t i = 0; i < samples; ++i) {
    const auto v = static_cast<std::int16_t>(8000 * std::sin(2 * 3.14159265 * 440 * i / rate));
    put16(44 + 2 * i, static_cast<std::uint16_t>(v));
  }
  return w;
}

// A text field of a record: a length byte, then Windows-1251 bytes.
void PutText(unsigned char* at, const std::wstring& text) {
  char bytes[256] = {};
  const int n = WideCharToMultiByte(1251, 0, text.c_str(), static_cast<int>(text.size()), bytes,
                                    255, nullptr, nullptr);
  at[0] = static_cast<unsigned char>(n);
  std::memcpy(at + 1, bytes, static_cast<std::size_t>(n));
}

struct TStart {
  std::int64_t windowMs = -1;  // due second -> window visible
};

TStart OneStart(const std::wstring& program, int run) {
  TStart result;
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  const std::wstring dir =
      std::wstring(tmp) + L"first-ring-" + std::to_wstring(GetTickCount64()) + L"-" +
      std::to_wstring(run) + L"\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  CreateDirectoryW((dir + L"Sound").c_str(), nullptr);
  CreateDirectoryW((dir + L"Sound\\Утро").c_str(), nullptr);
  const std::wstring music = dir + L"Sound\\Утро\\tone.wav";
  const std::vector<unsigned char> wav = ToneWav();
  WriteAll(music, wav.data(), wav.size());
  const std::wstring file = dir + L"open.cmd";
  WriteAll(file, "@exit\r\n", 7);
  const std::wstring exe = dir + L"Tivorra.exe";
  if (!CopyFileW(program.c_str(), exe.c_str(), FALSE)) return result;

  // One countdown, due six seconds from now: the program is up and idle.
  std::vector<unsigned char> rec(389616, 0);
  const std::int64_t due = (UtcNowMs() / 1000 + 6) * 1000;
  const std::int64_t localMs = due + kFileTimeOf1970 / 10000 + ZoneOffsetMs() - kMsFrom1601To1899;
  const double value = static_cast<double>(localMs) / 86400000.0;
  unsigned char* r = rec.data() + 234400;
  PutText(r, L"Подъём");
  PutText(r + 256, file);
  PutText(r + 512, music);
  std::memcpy(r + 768, &value, 8);
  rec[389606] = 1;
  WriteAll(dir + L"alarm.rec", rec.data(), rec.size());

  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                      &pi)) {
    return result;
  }
  HWND wake = nullptr;
  while (!wake && UtcNowMs() < due - 500) {
    wake = TopWindow(pi.dwProcessId, L"Будильник", false);
    if (!wake) Sleep(5);
  }
  while (wake && !IsWindowVisible(wake) && UtcNowMs() < due + 5000) Sleep(1);
  if (wake && IsWindowVisible(wake)) {
    const std::int64_t shown = UtcNowMs();
    std::printf("shown %llu\n", static_cast<unsigned long long>(GetTickCount64()));
    std::fflush(stdout);
    result.windowMs = shown - due;
    // The music has its second to start before the answer.
    Sleep(1000);
    SendMessageW(FindWindowExW(wake, nullptr, L"BUTTON", L"OK"), BM_CLICK, 0, 0);
  }
  // Closed as a user closes it: a killed program leaves its tray icon's
  // window behind and slows the next start.
  if (HWND main = TopWindow(pi.dwProcessId, L"Tivorra", true)) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 0);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return result;
}

void Summary(const char* what, std::vector<std::int64_t> v) {
  if (v.empty()) {
    std::printf("%s: none\n", what);
    return;
  }
  std::printf("%s ms:", what);
  for (auto x : v) std::printf(" %lld", static_cast<long long>(x));
  std::sort(v.begin(), v.end());
  std::printf(" | median %lld, worst %lld\n", static_cast<long long>(v[v.size() / 2]),
              static_cast<long long>(v.back()));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: first_ring PROGRAM.exe [starts] [TRACE]\n");
    return 2;
  }
  const int starts = argc > 2 ? _wtoi(argv[2]) : 10;
  // The program's own trace, when asked for: Wine reads it at its start.
  if (argc > 3) SetEnvironmentVariableW(L"WINEDEBUG", argv[3]);
  std::vector<std::int64_t> window;
  for (int i = 0; i < starts; ++i) {
    const TStart s = OneStart(argv[1], i);
    if (s.windowMs >= 0) window.push_back(s.windowMs);
  }
  std::printf("starts: %d, rang: %zu\n", starts, window.size());
  Summary("due second -> window visible", window);
  return window.size() == static_cast<std::size_t>(starts) ? 0 : 1;
}
