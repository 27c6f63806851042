// Window timers, popup menus and the notification-area icon.
#include <windows.h>
#include <shellapi.h>

#include "controls/dispatcher.h"
#include "controls/win32/peers.h"
#include "controls/win32/tray_peer.h"
#include "controls/win32/win32_common.h"
#include "platform/win32/handles.h"
#include "platform/win32/hidden_window.h"
#include "platform/win32/window_boundary.h"

namespace win32 {
namespace {

constexpr wchar_t kTimerClass[] = L"TivorraTimers";
constexpr wchar_t kTrayClass[] = L"TivorraTray";
constexpr UINT kTrayMessage = WM_APP + 1;

LRESULT CALLBACK TimerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return WindowBoundary(hwnd, msg, [&] {
    if (msg == WM_TIMER) {
      reinterpret_cast<TTimer*>(wp)->Tick();
      return LRESULT{0};
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  });
}

// One message-only window receives every timer's ticks.
HWND TimerWindow() {
  static HWND window = CreateHiddenWindow(kTimerClass, TimerProc, THiddenKind::MessageOnly);
  return window;
}

class TWin32TimerPeer : public TTimerPeer {
 public:
  explicit TWin32TimerPeer(TTimer& t) : owner_(TimerWindow()), t_(t) {}
  ~TWin32TimerPeer() override { KillTimer(owner_, Id()); }
  void Restart() override {
    // Setting a timer that runs replaces it.
    if (t_.Enabled() && t_.Interval() > 0) {
      SetTimer(owner_, Id(), static_cast<UINT>(t_.Interval()), nullptr);
    } else {
      KillTimer(owner_, Id());
    }
  }

 private:
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(&t_); }
  HWND owner_;
  TTimer& t_;
};

class TWin32MenuPeer : public TMenuPeer {
 public:
  explicit TWin32MenuPeer(TPopupMenu& m) : m_(m) {}
  int Track(int x, int y) override {
    HMENU menu = CreatePopupMenu();
    UINT id = 1;
    for (const auto& item : m_.Items) {
      if (item.Separator) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        ++id;
      } else {
        const UINT flags = MF_STRING | (item.Enabled ? 0u : static_cast<UINT>(MF_GRAYED));
        AppendMenuW(menu, flags, id++, item.Caption.c_str());
      }
    }
    // The menu belongs to the program's active window, or to the tray's.
    HWND owner = GetActiveWindow();
    if (!owner) owner = TrayRecord() ? TrayRecord()->Window : TimerWindow();
    // A menu whose owner is not in front does not close when the user
    // clicks elsewhere.
    SetForegroundWindow(owner);
    const int chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    DestroyMenu(menu);
    // Without a message after it, the menu may not close the next time the
    // user clicks elsewhere.
    PostMessageW(owner, WM_NULL, 0, 0);
    return chosen - 1;
  }

 private:
  TPopupMenu& m_;
};

TTrayRecord* gTray = nullptr;

class TWin32TrayPeer : public TTrayPeer {
 public:
  explicit TWin32TrayPeer(TTrayIcon& t) : t_(t) {
    static const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    taskbarCreated_ = taskbarCreated;
    // A hidden top-level window rather than a message-only one: only
    // top-level windows hear "TaskbarCreated" when Explorer starts again.
    window_.Reset(CreateHiddenWindow(kTrayClass, Proc, THiddenKind::TopLevel, this));
    record_.Window = window_.Get();
    auto& d = record_.Data;
    d.cbSize = sizeof(d);
    d.hWnd = record_.Window;
    d.uID = 1;
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = kTrayMessage;
    gTray = &record_;
  }
  ~TWin32TrayPeer() override {
    Remove();
    if (gTray == &record_) gTray = nullptr;
    // The members destroy the window, then the icon.
  }

  void Apply() override {
    if (!t_.Visible()) {
      Remove();
      return;
    }
    auto& d = record_.Data;
    d.hIcon = Icon();
    lstrcpynW(d.szTip, t_.Hint().c_str(), ARRAYSIZE(d.szTip));
    const DWORD op = record_.Added ? NIM_MODIFY : NIM_ADD;
    if (Shell_NotifyIconW(op, &d)) record_.Added = true;
  }

  void Perform(TMouseButton button, bool press) override {
    UINT msg = 0;
    switch (button) {
      case TMouseButton::Left: msg = press ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
      case TMouseButton::Right: msg = press ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
      case TMouseButton::Middle: msg = press ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
    }
    if (record_.Added) SendMessageW(record_.Window, kTrayMessage, 1, msg);
  }

  TPoint MousePos() const override {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
  }

 private:
  // The program's icon at the size the screen's scale asks for.
  HICON Icon() {
    const int size = Scale(16, DpiOf(nullptr));
    if (icon_ && iconSize_ == size) return icon_.Get();
    icon_.Reset(static_cast<HICON>(
        LoadImageW(Instance(), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
    if (!icon_) icon_.Reset(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    iconSize_ = size;
    return icon_.Get();
  }

  void Remove() {
    if (record_.Added) Shell_NotifyIconW(NIM_DELETE, &record_.Data);
    record_.Added = false;
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    return WindowBoundary(hwnd, msg, [&] {
      auto* self = HiddenWindowOwner<TWin32TrayPeer>(hwnd);
      if (self && msg == kTrayMessage) {
        switch (LOWORD(lp)) {
          case WM_LBUTTONDOWN: self->t_.UserMouse(TMouseButton::Left, true); break;
          case WM_LBUTTONUP: self->t_.UserMouse(TMouseButton::Left, false); break;
          case WM_RBUTTONDOWN: self->t_.UserMouse(TMouseButton::Right, true); break;
          case WM_RBUTTONUP: self->t_.UserMouse(TMouseButton::Right, false); break;
          default: break;
        }
        return LRESULT{0};
      }
      if (self && msg == self->taskbarCreated_) {
        // Explorer started again with an empty notification area.
        self->record_.Added = false;
        self->Apply();
        return LRESULT{0};
      }
      return DefWindowProcW(hwnd, msg, wp, lp);
    });
  }

  TTrayIcon& t_;
  TUniqueIcon icon_;
  int iconSize_ = 0;
  TUniqueWindow window_;
  TTrayRecord record_;
  UINT taskbarCreated_ = 0;
};

}  // namespace

const TTrayRecord* TrayRecord() { return gTray; }

std::unique_ptr<TTimerPeer> MakeTimerPeer(TTimer& timer) {
  return std::make_unique<TWin32TimerPeer>(timer);
}
std::unique_ptr<TMenuPeer> MakeMenuPeer(TPopupMenu& menu) {
  return std::make_unique<TWin32MenuPeer>(menu);
}
std::unique_ptr<TTrayPeer> MakeTrayPeer(TTrayIcon& icon) {
  return std::make_unique<TWin32TrayPeer>(icon);
}

}  // namespace win32
