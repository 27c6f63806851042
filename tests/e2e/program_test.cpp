// Starts the built Tivorra.exe in a throw-away program folder and drives it
// from another process, through its windows, as a user would.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "engine/time_value.h"
#include "platform/win32/clock_win32.h"
#include "store/alarm_file.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

fs::path BuiltProgram() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path().parent_path() / L"Tivorra.exe";
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return done();
}

class Program {
 public:
  explicit Program(const TempDir& dir) : dir_(dir) {
    fs::copy_file(BuiltProgram(), dir.Path(L"Tivorra.exe"));
  }
  ~Program() {
    if (pi_.hProcess) {
      if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
    }
  }
  void Start() {
    std::wstring cmd = L"\"" + dir_.Path(L"Tivorra.exe").wstring() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               dir_.Path(L"").wstring().c_str(), &si, &pi_));
  }
  // A visible top-level window of the program with this title.
  HWND Window(const wchar_t* title) const {
    struct Search {
      DWORD pid;
      const wchar_t* title;
      HWND found;
    } s{pi_.dwProcessId, title, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(h, &pid);
          wchar_t text[64] = {};
          GetWindowTextW(h, text, 64);
          if (pid == s->pid && IsWindowVisible(h) && std::wstring(text) == s->title) {
            s->found = h;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
  }
  bool Ended(std::chrono::milliseconds limit) const {
    return WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
  }

 private:
  const TempDir& dir_;
  PROCESS_INFORMATION pi_{};
};

std::wstring TextOf(HWND h) {
  wchar_t buf[512] = {};
  SendMessageW(h, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));
  return buf;
}

HWND ChildWithClass(HWND parent, const wchar_t* cls) {
  return FindWindowExW(parent, nullptr, cls, nullptr);
}

TEST(Program, FirstStartShowsTheSmallLayoutAndClosingSavesBothFiles) {
  TempDir dir;
  Program p(dir);
  p.Start();
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = p.Window(L"Tivorra")) != nullptr; }, 15s));
  RECT client{};
  const bool laidOut = WaitFor(
      [&] {
        GetClientRect(main, &client);
        return client.right == 149 && client.bottom == 221;
      },
      5s);
  EXPECT_TRUE(laidOut) << "client area " << client.right << " x " << client.bottom;

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(p.Ended(10s)) << "closing the main window did not end the program";
  EXPECT_EQ(ReadBytes(dir.Path(L"config.cfg")), (Bytes{0, 0, 0, 1, 0, 0, 0}));
  EXPECT_EQ(fs::file_size(dir.Path(L"alarm.rec")), 389616u);
}

TEST(Program, ACountdownAlarmRaisesTheWakeUpWindow) {
  TempDir dir;
  auto store = std::make_unique<TAlarmStore>();
  *store = {};
  store->CountdownCount = 1;
  TWin32Clock clock;
  store->CountdownAlarms[0].AlarmTime = clock.Now().Local + 3.0 / 86400;
  ToShortString(L"Пора вставать!", store->CountdownAlarms[0].Msg);
  SaveAlarms(*store, dir.ProgramDir());

  Program p(dir);
  p.Start();
  HWND wake = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wake = p.Window(L"Будильник")) != nullptr; }, 20s));
  EXPECT_EQ(TextOf(ChildWithClass(wake, L"EDIT")), L"Пора вставать!");

  SendMessageW(ChildWithClass(wake, L"BUTTON"), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(wake); }, 5s));
  HWND main = p.Window(L"Tivorra");
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(p.Ended(10s));
}

// Universal time in ms since 1970, as precisely as Windows tells it.
std::int64_t UtcNowMs() {
  FILETIME ft;
  GetSystemTimePreciseAsFileTime(&ft);
  const std::uint64_t t = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<std::int64_t>((t - 116444736000000000ull) / 10000);
}

TEST(Program, ACountdownRingsOnItsSecondWhileAMessageBoxIsOpen) {
  TempDir dir;
  WriteBytes(dir.Path(L"config.cfg"), {1, 1, 0});  // too short: "Ошибка чтения!" at start
  TWin32Clock clock;
  const TClockReading now = clock.Now();
  // Due on a whole second four seconds on, so the due moment is exact.
  const std::int64_t dueUtc = (now.UtcMs / 1000 + 4) * 1000;
  const std::int64_t dueLocalMs = RoundedMs(now.Local).value() + (dueUtc - now.UtcMs);
  auto store = std::make_unique<TAlarmStore>();
  *store = {};
  store->CountdownCount = 1;
  store->CountdownAlarms[0].AlarmTime = static_cast<double>(dueLocalMs) / kMsPerDay;
  ToShortString(L"Вовремя", store->CountdownAlarms[0].Msg);
  SaveAlarms(*store, dir.ProgramDir());

  Program p(dir);
  p.Start();
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindWindowW(L"#32770", L"Tivorra")) != nullptr; }, 3s))
      << "the message box did not open in time";
  HWND wake = nullptr;
  std::int64_t shownAt = 0;
  while (UtcNowMs() < dueUtc + 3000) {
    if (!wake) wake = p.Window(L"Будильник");
    if (wake && IsWindowVisible(wake)) {
      shownAt = UtcNowMs();
      break;
    }
    Sleep(1);
  }
  ASSERT_NE(shownAt, 0) << "the alarm did not ring";
  // Generous bounds: a loaded machine delays any window; bench/ measures.
  EXPECT_GE(shownAt, dueUtc - 2);
  EXPECT_LT(shownAt, dueUtc + 500);
  EXPECT_TRUE(IsWindow(box)) << "it rang while the message box was open";
  EXPECT_EQ(TextOf(ChildWithClass(wake, L"EDIT")), L"Вовремя");
}

}  // namespace
#endif
