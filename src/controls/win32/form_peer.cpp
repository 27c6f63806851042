// Forms: top-level windows, their activation and focus, modal loops,
// placement and the screen's scale.
#include <algorithm>
#include <vector>

#include "controls/dispatcher.h"
#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"
#include "platform/win32/window_boundary.h"

namespace win32 {
namespace {

constexpr wchar_t kFormProp[] = L"TivorraForm";

DWORD FormStyle(TBorderStyle b) {
  switch (b) {
    case TBorderStyle::None: return WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU;
    case TBorderStyle::Single: return WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    case TBorderStyle::Dialog: return WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME;
  }
  return WS_POPUP;
}

DWORD FormExStyle(TBorderStyle b) {
  switch (b) {
    case TBorderStyle::None: return WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    case TBorderStyle::Single: return WS_EX_CONTROLPARENT;
    case TBorderStyle::Dialog: return WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  }
  return 0;
}

class TWin32FormPeer;
std::vector<TWin32FormPeer*>& AllForms() {
  static std::vector<TWin32FormPeer*> forms;
  return forms;
}

class TWin32FormPeer : public TFormPeer {
 public:
  // The window itself is made when the form first shows, prepares its
  // windows or is asked for its handle: most forms of the program are not
  // seen in a run, and until then the model holds their state.
  explicit TWin32FormPeer(TForm& f) : f_(f) { AllForms().push_back(this); }
  ~TWin32FormPeer() override {
    auto& all = AllForms();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    if (hwnd_ && IsWindow(hwnd_)) {
      RemovePropW(hwnd_, kFormProp);
      DestroyWindow(hwnd_);
    }
  }

  void Apply(TChange change) override {
    // Until it first shows, the model holds every value; the window is made
    // from them then (below).
    if (!hwnd_ && !(change == TChange::Visible && f_.Visible())) return;
    switch (change) {
      case TChange::Bounds:
        ApplySize();
        break;
      case TChange::Text:
        SetWindowTextW(hwnd_, f_.Caption().c_str());
        break;
      case TChange::Visible:
        if (f_.Visible()) {
          Make();
          MakeChildWindows(f_);
          Place();
          ShowWindow(hwnd_, SW_SHOW);
        } else {
          // A modal dialog gives the other windows back before it hides, so
          // that the activation returns to the program, not to another one.
          EndModal();
          ShowWindow(hwnd_, SW_HIDE);
        }
        break;
      case TChange::Enabled:
        EnableWindow(hwnd_, f_.Enabled());
        break;
      case TChange::Repaint:
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        break;
      default:
        InvalidateRect(hwnd_, nullptr, TRUE);
        break;
    }
  }
  void Perform(const TUserAction&) override {}
  void Focus() override {
    if (hwnd_) SetForegroundWindow(hwnd_);
  }
  bool Focused() const override { return hwnd_ && GetActiveWindow() == hwnd_; }
  // Whoever needs the handle (an owner, a child's window) gets a window.
  void* Handle() const override { return const_cast<TWin32FormPeer*>(this)->Make(); }
  bool Made() const override { return hwnd_ != nullptr; }

  void ShowNormal() override {
    Make();
    MakeChildWindows(f_);
    Place();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  void BringToForeground() override {
    if (hwnd_) SetForegroundWindow(hwnd_);
  }
  void Prepare() override {
    Make();
    MakeChildWindows(f_, true);
  }
  void StartDrag() override {
    if (!hwnd_) return;
    ReleaseCapture();
    SendMessageW(hwnd_, WM_SYSCOMMAND, 0xF012, 0);
  }

  void Place() override {
    if (!hwnd_) return;  // placed when it shows
    HWND owner = f_.Owner() ? static_cast<HWND>(f_.Owner()->Peer().Handle()) : nullptr;
    SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    if (f_.Position() != TPosition::OwnerCenter || !owner) return;
    // Centred on the owner, inside the work area of the owner's monitor.
    RECT o, w;
    GetWindowRect(owner, &o);
    GetWindowRect(hwnd_, &w);
    const int width = w.right - w.left, height = w.bottom - w.top;
    int x = o.left + (o.right - o.left - width) / 2;
    int y = o.top + (o.bottom - o.top - height) / 2;
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &mi)) {
      x = std::max<int>(mi.rcWork.left, std::min<int>(x, mi.rcWork.right - width));
      y = std::max<int>(mi.rcWork.top, std::min<int>(y, mi.rcWork.bottom - height));
    }
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  int RunModal() override {
    // Only the windows a user could use are disabled, and exactly those come
    // back: a window shown while the dialog is open (an alarm) stays usable.
    for (TWin32FormPeer* other : AllForms()) {
      if (other != this && other->f_.Visible() && other->f_.Enabled()) {
        other->f_.SetEnabled(false);
        disabled_.push_back(&other->f_);
      }
    }
    Make();
    MakeChildWindows(f_);
    Place();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    MSG m;
    while (f_.Visible()) {
      const BOOL got = GetMessageW(&m, nullptr, 0, 0);
      if (got <= 0) {
        PostQuitMessage(static_cast<int>(m.wParam));  // the outer loop ends too
        f_.Hide();
        break;
      }
      DispatchOne(m);
    }
    EndModal();
    return f_.ModalResult;
  }

  LRESULT OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT reflected = 0;
    if (Reflect(msg, wp, lp, reflected)) return reflected;
    switch (msg) {
      case WM_CLOSE:
        DispatchEvent([this] { f_.Close(); });
        return 0;
      case WM_COMMAND:
        // Escape, handed on by the dialog manager as IDCANCEL with no
        // control (none of ours has that id).
        if (LOWORD(wp) == IDCANCEL && lp == 0) {
          f_.UserEscape();
          return 0;
        }
        break;
      case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
          HWND focus = GetFocus();
          if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
          f_.Deactivated();
        } else {
          f_.Activated(FormOf(reinterpret_cast<HWND>(lp)));
          RestoreFocus();
        }
        return 0;
      case WM_SIZE:
        if (wp == SIZE_MINIMIZED) f_.MinimizedChanged(true);
        if (wp == SIZE_RESTORED && IsWindowVisible(hwnd_)) f_.MinimizedChanged(false);
        break;
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(hwnd_, &r);
        FillSolid(reinterpret_cast<HDC>(wp), r,
                  HighContrast() ? ContrastFace(f_.Color()) : GroundColor(f_.Color()));
        return 1;
      }
      case WM_SYSCOLORCHANGE:
      case WM_SETTINGCHANGE:
        // The colours, high contrast or the app mode changed: the standard
        // controls hear of it from their window (only top-level windows get
        // the broadcast), and everything is drawn again in the new colours.
        if (msg == WM_SYSCOLORCHANGE) {
          for (HWND h = GetWindow(hwnd_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            SendMessageW(h, WM_SYSCOLORCHANGE, wp, lp);
          }
        }
        if (msg == WM_SETTINGCHANGE && lp &&
            lstrcmpW(reinterpret_cast<const wchar_t*>(lp), L"ImmersiveColorSet") == 0) {
          RefreshDarkApps();
        }
        // Every window of the program whose look no longer matches takes
        // the new one, whichever of them heard first.
        for (TWin32FormPeer* form : AllForms()) form->FollowScheme();
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        break;
      case WM_DPICHANGED: {
        // Moved to a monitor of another scale: the system suggests the new
        // outer rectangle; every control follows.
        const auto* r = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        ApplySize();
        RescaleTree(f_);
        return 0;
      }
      default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
  }

  HWND Hwnd() const { return hwnd_; }
  TForm& Form() const { return f_; }

  // Title bar and standard controls in the look of the app mode now, when
  // they are not in it already.
  void FollowScheme() {
    const bool dark = DarkMode();
    if (!hwnd_ || dark == dark_) return;
    dark_ = dark;
    ApplyTheme(hwnd_, f_.BorderStyle() != TBorderStyle::None);
  }

 private:
  HWND Make() {
    if (hwnd_) return hwnd_;
    hwnd_ = CreateWindowExW(FormExStyle(f_.BorderStyle()), kFormClass, f_.Caption().c_str(),
                            FormStyle(f_.BorderStyle()), f_.Left(), f_.Top(), 100, 100, nullptr,
                            nullptr, Instance(), nullptr);
    if (!hwnd_) return nullptr;
    SetPropW(hwnd_, kFormProp, this);
    FollowScheme();
    ApplySize();
    if (!f_.Enabled()) EnableWindow(hwnd_, FALSE);
    return hwnd_;
  }

  void ApplySize() {
    const UINT dpi = DpiOf(hwnd_);
    RECT r = {0, 0, Scale(f_.ClientWidth(), dpi), Scale(f_.ClientHeight(), dpi)};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    AdjustWindowRectEx(&r, style, FALSE, ex);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // An activated form gives the keyboard focus to the control that had it
  // last, or to its first control in the Tab order.
  void RestoreFocus() {
    HWND focus = lastFocus_;
    if (!focus || !IsWindow(focus) || !IsChild(hwnd_, focus) || !IsWindowVisible(focus) ||
        !IsWindowEnabled(focus)) {
      TControl* first = f_.NextTabStop(nullptr, false);
      focus = first ? static_cast<HWND>(first->Peer().Handle()) : nullptr;
    }
    if (focus) SetFocus(focus);
  }

  void EndModal() {
    for (TForm* f : disabled_) f->SetEnabled(true);
    disabled_.clear();
  }

  TForm& f_;
  HWND hwnd_ = nullptr;
  HWND lastFocus_ = nullptr;
  bool dark_ = false;  // the look the window and its controls were given
  std::vector<TForm*> disabled_;
};

}  // namespace

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return WindowBoundary(hwnd, msg, [&] {
    auto* peer = static_cast<TWin32FormPeer*>(GetPropW(hwnd, kFormProp));
    if (!peer) return DefWindowProcW(hwnd, msg, wp, lp);
    return peer->OnWindowMessage(msg, wp, lp);
  });
}

TForm* FormOf(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (TWin32FormPeer* p : AllForms()) {
    if (p->Hwnd() == hwnd) return &p->Form();
  }
  return nullptr;
}

std::unique_ptr<TFormPeer> MakeFormPeer(TForm& form) {
  return std::make_unique<TWin32FormPeer>(form);
}

}  // namespace win32
