#ifdef _WIN32
#include "e2e/driver.h"

#include <commctrl.h>

#include <cmath>
#include <thread>
#include <utility>

#include "platform/win32/clock_win32.h"

namespace fs = std::filesystem;

namespace e2e {

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return done();
}

fs::path BuiltProgram() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path().parent_path() / L"Tivorra.exe";
}

Program::Program(const TempDir& dir) : dir_(dir) {
  // Several starts of one folder share its copy of the program.
  if (!fs::exists(dir.Path(L"Tivorra.exe"))) {
    fs::copy_file(BuiltProgram(), dir.Path(L"Tivorra.exe"));
  }
}

Program::~Program() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
}

void Program::Start(const std::wstring& params) {
  std::wstring cmd = L"\"" + ExePath() + L"\"";
  if (!params.empty()) cmd += L" " + params;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir_.Path(L"").wstring().c_str(), &si, &pi_)) {
    pi_ = {};
  }
}

std::wstring Program::ExePath() const { return dir_.Path(L"Tivorra.exe").wstring(); }

HWND Program::Find(const std::function<bool(HWND)>& match) const {
  struct Search {
    DWORD pid;
    const std::function<bool(HWND)>* match;
    HWND found;
  } s{pi_.dwProcessId, &match, nullptr};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == s->pid && (*s->match)(h)) {
          s->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND Program::Window(const wchar_t* title, bool visibleOnly) const {
  return Find([title, visibleOnly](HWND h) {
    wchar_t text[64] = {};
    GetWindowTextW(h, text, 64);
    return (!visibleOnly || IsWindowVisible(h)) && std::wstring(text) == title;
  });
}

HWND Program::WindowOfClass(const wchar_t* cls, bool visibleOnly) const {
  return Find([cls, visibleOnly](HWND h) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    return (!visibleOnly || IsWindowVisible(h)) && std::wstring(name) == cls;
  });
}

HWND Program::MessageBox() const { return WindowOfClass(L"#32770", true); }

HWND Program::Main(std::chrono::milliseconds limit) const {
  // Message boxes carry the program's title too.
  const auto isMain = [](HWND h) {
    wchar_t text[64] = {}, cls[64] = {};
    GetWindowTextW(h, text, 64);
    GetClassNameW(h, cls, 64);
    return IsWindowVisible(h) && std::wstring(text) == L"Tivorra" &&
           std::wstring(cls) == L"TivorraForm";
  };
  HWND main = nullptr;
  WaitFor([&] { return (main = Find(isMain)) != nullptr; }, limit);
  return main;
}

bool Program::Ended(std::chrono::milliseconds limit) const {
  return WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

DWORD Program::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

std::wstring TextOf(HWND h) {
  wchar_t buf[512] = {};
  SendMessageW(h, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));
  return buf;
}

HWND ChildWithClass(HWND parent, const wchar_t* cls) {
  return FindWindowExW(parent, nullptr, cls, nullptr);
}

std::vector<HWND> FindControls(HWND parent, const wchar_t* cls) {
  struct Search {
    const wchar_t* cls;
    std::vector<HWND> found;
  } s{cls, {}};
  EnumChildWindows(
      parent,
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t name[64] = {};
        GetClassNameW(h, name, 64);
        if (lstrcmpiW(name, s->cls) == 0) s->found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FindControl(HWND parent, const wchar_t* cls, const wchar_t* text) {
  for (HWND h : FindControls(parent, cls)) {
    if (!text || TextOf(h) == text) return h;
  }
  return nullptr;
}

void ClickScreen(POINT at, bool twice) { ClickScreenWith(at, false, twice); }
void RightClickScreen(POINT at) { ClickScreenWith(at, true, false); }

void ClickScreenWith(POINT at, bool right, bool twice) {
  // At a person's pace: the mouse comes to rest before its button goes
  // down, and the button is held for a moment.
  SetCursorPos(at.x, at.y);
  // The move itself as input too: the button's press then happens where
  // the input says the mouse is, whatever the window system has caught up
  // with (a first click of a session went astray without it).
  INPUT move = {};
  move.type = INPUT_MOUSE;
  move.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &move, sizeof(INPUT));
  // The pointer as X reports it back may still be on its way from where it
  // was: press only once the system has the mouse where it was sent.
  WaitFor(
      [at] {
        POINT now{};
        return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
      },
      1s);
  for (int i = 0; i < (twice ? 4 : 2); ++i) {
    Sleep(20);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    if (right) {
      in.mi.dwFlags = i % 2 ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN;
    } else {
      in.mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    SendInput(1, &in, sizeof(INPUT));
  }
}

namespace {
INPUT KeyInput(WORD vk, bool up) {
  INPUT i = {};
  i.type = INPUT_KEYBOARD;
  i.ki.wVk = vk;
  i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return i;
}
}  // namespace

void Keys(std::initializer_list<WORD> keys, bool shift) {
  std::vector<INPUT> in;
  if (shift) in.push_back(KeyInput(VK_SHIFT, false));
  for (WORD k : keys) {
    in.push_back(KeyInput(k, false));
    in.push_back(KeyInput(k, true));
  }
  if (shift) in.push_back(KeyInput(VK_SHIFT, true));
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void TypeChars(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT in[2] = {};
    for (int k = 0; k < 2; ++k) {
      in[k].type = INPUT_KEYBOARD;
      in[k].ki.wScan = c;
      in[k].ki.dwFlags = KEYEVENTF_UNICODE | (k ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof(INPUT));
    // At a person's pace: under Wine, typed characters that come faster
    // than the program takes them are lost. Each is let in before the
    // next, however busy the machine is.
    Sleep(30);
    if (HWND target = GetForegroundWindow()) Settle(target);
  }
}

bool Settle(HWND h) {
  // A message sent to the program is handled when its thread next looks for
  // messages, before the input waiting in its queue; the second one comes
  // back only when the input has been handled as well.
  HWND root = GetAncestor(h, GA_ROOT);
  DWORD_PTR result = 0;
  for (int i = 0; i < 2; ++i) {
    Sleep(20);
    if (!SendMessageTimeoutW(root, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result)) return false;
  }
  return true;
}

HWND FocusOf(HWND h) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool TabTo(HWND anyWindow, HWND target, bool back) {
  for (int i = 0; i < 30 && FocusOf(anyWindow) != target; ++i) {
    Keys({VK_TAB}, back);
    Settle(anyWindow);
  }
  return FocusOf(anyWindow) == target;
}

std::int64_t LocalSecondNow() {
  return static_cast<std::int64_t>(std::floor(TWin32Clock().Now().Local * 86400.0));
}

namespace {
POINT CentreOf(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
}  // namespace

bool Press(HWND button) {
  if (!button) return false;
  ClickScreen(CentreOf(button));
  return Settle(button);
}

void PressLater(HWND button) {
  if (button) ClickScreen(CentreOf(button));
}

int CheckState(HWND box) { return static_cast<int>(SendMessageW(box, BM_GETCHECK, 0, 0)); }

void Key(HWND h, UINT vk) {
  HWND focus = FocusOf(h);
  if (focus != h && !IsChild(h, focus)) {
    ClickScreen(CentreOf(h));
    Settle(h);
  }
  Keys({static_cast<WORD>(vk)});
  Settle(h);
}

void ClickAt(HWND h, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(h, &p);
  ClickScreen(p);
  Settle(h);
}

// The texts of a list box's rows or a combo box's items, through the
// control's own count, length and text messages.
static std::vector<std::wstring> Items(HWND h, UINT count, UINT length, UINT text) {
  std::vector<std::wstring> items;
  const int n = static_cast<int>(SendMessageW(h, count, 0, 0));
  for (int i = 0; i < n; ++i) {
    const auto len = SendMessageW(h, length, static_cast<WPARAM>(i), 0);
    std::wstring item(static_cast<std::size_t>(len < 0 ? 0 : len) + 1, L'\0');
    SendMessageW(h, text, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(len < 0 ? 0 : len));
    items.push_back(item);
  }
  return items;
}

std::vector<std::wstring> Rows(HWND list) {
  return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

int SelectedRow(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

void SelectRow(HWND list, int row) {
  RECT r{};
  SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  ClickAt(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

std::vector<std::wstring> ComboItems(HWND combo) {
  return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

void PickItem(HWND combo, int index) {
  // Into the box, F4 drops its list down, and the entry is clicked there.
  Key(combo, VK_F4);
  DWORD pid = 0;
  GetWindowThreadProcessId(combo, &pid);
  HWND dropped = nullptr;
  WaitFor(
      [&] {
        for (HWND h = FindWindowExW(nullptr, nullptr, L"ComboLBox", nullptr); h;
             h = FindWindowExW(nullptr, h, L"ComboLBox", nullptr)) {
          DWORD owner = 0;
          GetWindowThreadProcessId(h, &owner);
          if (owner == pid && IsWindowVisible(h)) dropped = h;
        }
        return dropped != nullptr;
      },
      2s);
  if (dropped) SelectRow(dropped, index);
}

void TypeText(HWND edit, const std::wstring& text) {
  HWND focus = FocusOf(edit);
  if (focus != edit && !IsChild(edit, focus)) {
    ClickScreen(CentreOf(edit));
    Settle(edit);
  }
  // The whole text selected from the keyboard (Ctrl+Home, Ctrl+Shift+End),
  // then typed over.
  std::vector<INPUT> in;
  for (const auto& [vk, up] : {std::pair{VK_CONTROL, false}, {VK_HOME, false}, {VK_HOME, true},
                               {VK_SHIFT, false}, {VK_END, false}, {VK_END, true},
                               {VK_SHIFT, true}, {VK_CONTROL, true}}) {
    in.push_back(KeyInput(static_cast<WORD>(vk), up));
  }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  if (text.empty()) {
    Keys({VK_DELETE});
  } else {
    TypeChars(text);
  }
  Settle(edit);
}

RemoteBlock::RemoteBlock(HANDLE process, std::size_t size)
    : process_(process),
      at_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteBlock::~RemoteBlock() {
  if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
}

bool RemoteBlock::Read(void* out, std::size_t size) const {
  SIZE_T done = 0;
  return at_ && ReadProcessMemory(process_, at_, out, size, &done) && done == size;
}

bool ClickTab(HANDLE process, HWND tab, int index) {
  RemoteBlock block(process, sizeof(RECT));
  RECT r{};
  if (!SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), block.Address()) ||
      !block.Read(&r, sizeof r)) {
    return false;
  }
  ClickAt(tab, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  return SelectedTab(tab) == index;
}

int SelectedTab(HWND tab) { return static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0)); }

std::optional<SYSTEMTIME> PickerTime(HANDLE process, HWND picker) {
  RemoteBlock block(process, sizeof(SYSTEMTIME));
  SYSTEMTIME st{};
  if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, block.Address()) != GDT_VALID ||
      !block.Read(&st, sizeof st)) {
    return std::nullopt;
  }
  return st;
}

bool SetPickerTime(HANDLE process, HWND picker, int hour, int minute, int second) {
  // Into the picker, which selects one of its fields; which one is found
  // by trying the up arrow and looking at what changed, as a user looks.
  RECT client;
  GetClientRect(picker, &client);
  ClickAt(picker, 4, client.bottom / 2);
  bool hourSet = false, minuteSet = false, secondSet = false;
  // Time formats have at most four fields (hours, minutes, seconds, AM/PM);
  // twice round is plenty.
  for (int field = 0; field < 8 && !(hourSet && minuteSet && secondSet); ++field) {
    const auto before = PickerTime(process, picker);
    Key(picker, VK_UP);
    const auto after = PickerTime(process, picker);
    if (!before || !after) return false;
    // Steps down until `part` reads `target`; a field wraps round.
    // Steps until `part` reads `target`, the shorter way round a field of
    // `range` values (0: down only).
    const auto stepTo = [&](WORD SYSTEMTIME::*part, int target, int limit, int range = 0) {
      for (int i = 0; i < limit; ++i) {
        const auto now = PickerTime(process, picker);
        if (!now) return false;
        if ((*now).*part == target) return true;
        const int ahead = range ? (target - (*now).*part + range) % range : range;
        Key(picker, range && ahead <= range / 2 ? VK_UP : VK_DOWN);
      }
      return false;
    };
    if (after->wSecond != before->wSecond) {
      secondSet = stepTo(&SYSTEMTIME::wSecond, second, 61, 60);
    } else if (after->wMinute != before->wMinute) {
      minuteSet = stepTo(&SYSTEMTIME::wMinute, minute, 61, 60);
    } else if ((after->wHour + 24 - before->wHour) % 24 == 1) {
      hourSet = stepTo(&SYSTEMTIME::wHour, hour, 25);
    } else {
      // Morning or afternoon, which the press turned over: kept only when
      // that is the target's half of the day.
      if ((after->wHour >= 12) != (hour >= 12)) Key(picker, VK_DOWN);
      const auto now = PickerTime(process, picker);
      hourSet = now && now->wHour == hour;
    }
    Key(picker, VK_RIGHT);
  }
  const auto t = PickerTime(process, picker);
  return t && t->wHour == hour && t->wMinute == minute && t->wSecond == second;
}

std::wstring MessageBoxText(HWND box) {
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);
  return text;
}

void AnswerMessageBox(HWND box) {
  PressLater(FindControl(box, L"Button"));
  // Gone before anything else is clicked: a click while the box still
  // holds the program's windows disabled goes nowhere.
  WaitFor([box] { return !IsWindowVisible(box); }, 5s);
}

namespace {
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

std::optional<std::wstring> RunValue() {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Tivorra", RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(data);
}

void RemoveRunValue() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Tivorra"); }

std::string Cp1251(const std::wstring& text) {
  std::string out(text.size() * 2 + 1, '\0');
  const int n = WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n < 0 ? 0 : n));
  return out;
}

}  // namespace e2e
#endif
