#include "controls/win32/win32_common.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

#include "controls/win32/dark_theme.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_boundary.h"

namespace win32 {

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
LRESULT CALLBACK DrawnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

void RegisterClasses() {
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                               ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(1));
  if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.lpfnWndProc = FormProc;
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);
  wc.hIcon = nullptr;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = DrawnProc;
  wc.lpszClassName = kDrawnClass;
  RegisterClassExW(&wc);
}

COLORREF Resolve(TColor c) {
  return (c & kSysColor) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c);
}

namespace {
const THighContrast* gContrast = nullptr;
const TDarkApps* gDark = nullptr;
bool gDarkOn = false;
}  // namespace

void SetContrast(const THighContrast* contrast) { gContrast = contrast; }
bool HighContrast() { return gContrast && gContrast->On(); }

void SetDarkApps(const TDarkApps* dark) {
  gDark = dark;
  RefreshDarkApps();
}

void RefreshDarkApps() {
  gDarkOn = gDark && gDark->On();
  ApplyAppTheme(DarkMode());
}

TScheme Scheme() { return ChooseScheme(HighContrast(), gDarkOn); }

COLORREF GroundColor(TColor c) { return DarkMode() ? dark::Ground(c) : Resolve(c); }
COLORREF InkColor(TColor c) { return DarkMode() ? dark::Ink(c) : Resolve(c); }
COLORREF ShadeColor(TColor c) { return DarkMode() ? dark::Shade(c) : Resolve(c); }

HBRUSH SolidBrush(COLORREF color) {
  static std::map<COLORREF, HBRUSH> brushes;
  HBRUSH& brush = brushes[color];
  if (!brush) brush = CreateSolidBrush(color);
  return brush;
}

namespace {

BOOL CALLBACK ApplyControlThemeProc(HWND hwnd, LPARAM dark) noexcept {
  // Our own classes paint themselves from the palette.
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  if (lstrcmpW(cls, kFormClass) != 0 && lstrcmpW(cls, kDrawnClass) != 0) {
    ApplyControlTheme(hwnd, dark != 0);
  }
  return TRUE;
}

}  // namespace

void ApplyTheme(HWND topLevel, bool captioned) {
  const bool dark = DarkMode();
  if (captioned) ApplyTitleBarTheme(topLevel, dark);
  EnumChildWindows(topLevel, ApplyControlThemeProc, dark);
  RedrawWindow(topLevel, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

COLORREF ContrastFace(TColor background) {
  return GetSysColor(background == clWindow ? COLOR_WINDOW : COLOR_BTNFACE);
}

COLORREF ContrastText(TColor background) {
  return GetSysColor(background == clWindow ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
}

UINT DpiOf(HWND hwnd) {
  // Windows 10 knows each window's scale; older systems have one for all.
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<TGetDpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi && hwnd) {
    const UINT dpi = getDpi(hwnd);
    if (dpi) return dpi;
  }
  const TWindowDc screen(nullptr);
  const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
  return dpi ? dpi : 96;
}

// Fonts are few and live for the whole run.
HFONT FontFor(const TFont& f, UINT dpi) {
  static std::map<std::tuple<std::wstring, int, bool, bool, bool, UINT>, HFONT> cache;
  const auto key = std::make_tuple(f.Name, f.Size, f.Bold, f.Cyrillic, f.Underline, dpi);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  const int height = -MulDiv(f.Size, static_cast<int>(dpi), 72);
  HFONT font = CreateFontW(height, 0, 0, 0, f.Bold ? FW_BOLD : FW_NORMAL, FALSE,
                           f.Underline ? TRUE : FALSE, FALSE,
                           f.Cyrillic ? RUSSIAN_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           f.Name.c_str());
  cache.emplace(key, font);
  return font;
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  const COLORREF old = SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

std::wstring ToWindowLines(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' && (i + 1 >= text.size() || text[i + 1] != L'\n')) {
      out += L"\r\n";
    } else if (c == L'\n' && (i == 0 || text[i - 1] != L'\r')) {
      out += L"\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::wstring FromWindowLines(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
      out.push_back(L'\r');
      ++i;
    } else if (text[i] == L'\n') {
      out.push_back(L'\r');
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::wstring WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  s.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, s.data(), n + 1)));
  return s;
}

// ---- TWindowPeer

TWindowPeer::TWindowPeer(TControl& c, const wchar_t* cls, DWORD style, DWORD exStyle,
                         const std::wstring& text)
    : c_(c) {
  HWND parent = static_cast<HWND>(c.Parent()->Peer().Handle());
  const UINT dpi = DpiOf(parent);
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (c.Visible()) style |= WS_VISIBLE;
  if (!c.Enabled()) style |= WS_DISABLED;
  TApplying applying(*this);
  hwnd_ = CreateWindowExW(exStyle, cls, text.c_str(), style, Scale(c.Left(), dpi),
                          Scale(c.Top(), dpi), Scale(c.Width(), dpi), Scale(c.Height(), dpi),
                          parent, nullptr, Instance(), nullptr);
  SetPropW(hwnd_, kPeerProp, this);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.Font(), dpi)), FALSE);
  if (DarkMode() && lstrcmpW(cls, kDrawnClass) != 0) ApplyControlTheme(hwnd_, true);
  // The window takes its place in the stacking the model describes: just
  // below the nearest sibling above it that has a window, or on top.
  // (Windows puts a new child at the bottom.)
  TControl* above = c.NextAbove();
  HWND after = above ? static_cast<HWND>(above->Peer().Handle()) : nullptr;
  SetWindowPos(hwnd_, after ? after : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowPeer::~TWindowPeer() {
  if (!IsWindow(hwnd_)) return;
  if (original_) SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  RemovePropW(hwnd_, kPeerProp);
  DestroyWindow(hwnd_);
}

void TWindowPeer::Apply(TChange change) {
  TApplying applying(*this);
  switch (change) {
    case TChange::Bounds: {
      const UINT dpi = Dpi();
      MoveWindow(hwnd_, Scale(c_.Left(), dpi), Scale(c_.Top(), dpi), Scale(c_.Width(), dpi),
                 Scale(c_.Height(), dpi), TRUE);
      // What the control overlaps may have changed, and with it the
      // stacking of its siblings.
      Restack(*c_.Parent());
      break;
    }
    case TChange::Text:
      ApplyText();
      break;
    case TChange::Visible:
      ShowWindow(hwnd_, c_.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case TChange::Enabled:
      EnableWindow(hwnd_, c_.Enabled());
      ApplyLook();
      break;
    case TChange::Look:
      ApplyLook();
      break;
    case TChange::State:
      ApplyState();
      break;
    case TChange::Items:
      ApplyItems();
      break;
    case TChange::Repaint:
      RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      break;
  }
}

void TWindowPeer::ApplyText() {
  SetWindowTextW(hwnd_, c_.Caption().c_str());
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void TWindowPeer::ApplyLook() {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c_.Font(), Dpi())), FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void TWindowPeer::Rescale() {
  Apply(TChange::Bounds);
  ApplyLook();
}

void TWindowPeer::ClickAt(int x, int y, bool twice) {
  const LPARAM at = MAKELPARAM(x, y);
  SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd_, WM_LBUTTONUP, 0, at);
  if (twice) {
    SendMessageW(hwnd_, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(hwnd_, WM_LBUTTONUP, 0, at);
  }
}

void TWindowPeer::Perform(const TUserAction& a) {
  RECT r;
  GetClientRect(hwnd_, &r);
  const int x = r.right / 2, y = r.bottom / 2;
  switch (a.Kind) {
    case TActionKind::Click:
      ClickAt(x, y);
      break;
    case TActionKind::DblClick:
      ClickAt(x, y, true);
      break;
    case TActionKind::MouseDown: {
      const UINT msg = a.Button == TMouseButton::Left    ? WM_LBUTTONDOWN
                       : a.Button == TMouseButton::Right ? WM_RBUTTONDOWN
                                                         : WM_MBUTTONDOWN;
      SendMessageW(hwnd_, msg, 0, MAKELPARAM(x, y));
      break;
    }
    case TActionKind::MouseEnter:
      SendMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
      break;
    case TActionKind::MouseLeave:
      SendMessageW(hwnd_, WM_MOUSELEAVE, 0, 0);
      break;
    case TActionKind::PressKey: {
      // A key goes to the focused control through the program's loop, so
      // the dialog manager sees it first, as it sees a real one.
      if (GetFocus() != hwnd_ && !IsChild(hwnd_, GetFocus())) SetFocus(hwnd_);
      HWND target = GetFocus();
      PostMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(a.Index), 1);
      PostMessageW(target, WM_KEYUP, static_cast<WPARAM>(a.Index), 0xC0000001);
      PumpWaiting();
      break;
    }
    default:
      break;
  }
}

void TWindowPeer::Focus() { SetFocus(hwnd_); }

bool TWindowPeer::Focused() const {
  HWND f = GetFocus();
  return f && (f == hwnd_ || IsChild(hwnd_, f));
}

bool TWindowPeer::OnCommand(WORD, LRESULT&) { return false; }
bool TWindowPeer::OnNotify(NMHDR&, LRESULT&) { return false; }
bool TWindowPeer::OnCtlColor(HDC, LRESULT&) { return false; }
bool TWindowPeer::OnDrawItem(DRAWITEMSTRUCT&) { return false; }
bool TWindowPeer::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void TWindowPeer::Subclass() {
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
}

LRESULT TWindowPeer::CallOriginal(UINT msg, WPARAM wp, LPARAM lp) {
  return CallWindowProcW(original_, hwnd_, msg, wp, lp);
}

LRESULT CALLBACK TWindowPeer::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return WindowBoundary(hwnd, msg, [&] {
    TWindowPeer* peer = PeerOf(hwnd);
    if (!peer) {
      // The window has lost its peer (the property could not be set, or is
      // gone): its class's own procedure, which the subclassing replaced,
      // still serves it.
      const auto original = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
      return CallWindowProcW(original, hwnd, msg, wp, lp);
    }
    LRESULT result = 0;
    if (peer->OnMessage(msg, wp, lp, result)) return result;
    return peer->CallOriginal(msg, wp, lp);
  });
}

TWindowPeer* PeerOf(HWND hwnd) { return static_cast<TWindowPeer*>(GetPropW(hwnd, kPeerProp)); }

namespace {

// The control whose window is `h` or holds it (the text field inside a
// composite control), or null when it is none of ours.
TWindowPeer* ControlPeerAt(HWND h) {
  for (; h; h = GetParent(h)) {
    if (TWindowPeer* peer = PeerOf(h)) return peer;
    if (!(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) break;
  }
  return nullptr;
}

// The dark colours of a standard control: a field (edit, list, a combo
// box's text and list) on its own ground, any other (check box, radio
// button, button) on its container's, in light text.
bool DarkControlColors(UINT msg, HDC dc, HWND child, LRESULT& result) {
  wchar_t cls[16] = {};
  GetClassNameW(child, cls, 16);
  const bool field = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX ||
                     lstrcmpiW(cls, L"Edit") == 0;
  const TWindowPeer* peer = ControlPeerAt(child);
  const TControl* c = peer ? &peer->Control() : nullptr;
  // The date and time picker draws its text in the system's window text
  // colour whatever it is told: on a dark ground it could not be read, so
  // it keeps the light field.
  if (c && c->ControlKind() == TControlKind::DateTimePicker) return false;
  // A combo box's drop-down list is a window of its own, outside the
  // control: it takes a field's colours.
  TColor ground = field ? clWindow : clBtnFace;
  if (c) ground = field || !c->Parent() ? c->Color() : c->Parent()->Color();
  const COLORREF back = GroundColor(ground);
  SetBkColor(dc, back);
  SetTextColor(dc, !IsWindowEnabled(child) ? static_cast<COLORREF>(dark::kGrayText)
                   : c                     ? InkColor(c->Font().Color)
                                           : static_cast<COLORREF>(dark::kText));
  result = reinterpret_cast<LRESULT>(SolidBrush(back));
  return true;
}

}  // namespace

bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lp);
      if (wp == IDOK) {
        // Enter, handed on by the dialog manager: a focused push button is
        // pressed. Wine names no control with it; Windows names the focus.
        HWND focus = child ? child : GetFocus();
        wchar_t cls[16] = {};
        if (focus) GetClassNameW(focus, cls, 16);
        const LONG_PTR style = focus ? GetWindowLongPtrW(focus, GWL_STYLE) : 0;
        if (!focus || !PeerOf(focus) || lstrcmpiW(cls, L"Button") != 0 ||
            (style & BS_TYPEMASK) > BS_DEFPUSHBUTTON) {
          return false;
        }
        SendMessageW(focus, BM_CLICK, 0, 0);
        result = 0;
        return true;
      }
      TWindowPeer* peer = child ? PeerOf(child) : nullptr;
      if (!peer) return false;
      result = 0;
      peer->OnCommand(HIWORD(wp), result);
      return true;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      TWindowPeer* peer = PeerOf(header->hwndFrom);
      if (!peer) return false;
      result = 0;
      return peer->OnNotify(*header, result);
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      TWindowPeer* peer = PeerOf(item->hwndItem);
      if (!peer || !peer->OnDrawItem(*item)) return false;
      result = TRUE;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      TWindowPeer* peer = PeerOf(reinterpret_cast<HWND>(lp));
      if (peer && peer->OnCtlColor(reinterpret_cast<HDC>(wp), result)) return true;
      return DarkMode() && DarkControlColors(msg, reinterpret_cast<HDC>(wp),
                                             reinterpret_cast<HWND>(lp), result);
    }
    default:
      return false;
  }
}

void Restack(const TControl& parent) {
  std::vector<HWND> want;
  for (const TControl* c : parent.StackedChildren()) {
    if (c->HasPeer() && c->Peer().Made()) want.push_back(static_cast<HWND>(c->Peer().Handle()));
  }
  std::vector<HWND> have;
  for (HWND h = GetWindow(static_cast<HWND>(parent.Peer().Handle()), GW_CHILD); h;
       h = GetWindow(h, GW_HWNDNEXT)) {
    if (std::find(want.begin(), want.end(), h) != want.end()) have.push_back(h);
  }
  if (have == want) return;  // the usual case: nothing moves
  HWND after = HWND_TOP;
  for (HWND h : want) {
    SetWindowPos(h, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = h;
  }
}

void RescaleTree(TControl& c) {
  for (TControl* child : c.Children()) {
    if (TWindowPeer* peer = PeerOf(static_cast<HWND>(child->Peer().Handle()))) peer->Rescale();
    RescaleTree(*child);
  }
}

namespace {

// The windows inside a control that take the focus, in their order.
std::vector<HWND> InnerStops(HWND control) {
  std::vector<HWND> stops;
  for (HWND h = GetWindow(control, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED) && !PeerOf(h)) {
      stops.push_back(h);
    }
  }
  return stops;
}

// The form's own keyboard roads, so that they do not depend on how a
// dialog manager treats groups or the stacking: Tab and Shift+Tab in Tab
// order, the arrow keys inside a radio group. True when the key was used.
bool FormKey(const MSG& m) {
  if (m.message != WM_KEYDOWN) return false;
  const WPARAM key = m.wParam;
  if (key != VK_TAB && key != VK_UP && key != VK_DOWN && key != VK_LEFT && key != VK_RIGHT) {
    return false;
  }
  TWindowPeer* peer = ControlPeerAt(GetFocus());
  if (!peer || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  TForm* form = peer->Control().OwningForm();
  if (!form) return false;
  const LRESULT wants = SendMessageW(GetFocus(), WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&m));
  if (key == VK_TAB) {
    if (wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    const bool back = GetKeyState(VK_SHIFT) < 0;
    // A control made of several windows (a field with its button) is
    // walked through first.
    const std::vector<HWND> inner = InnerStops(peer->Hwnd());
    const auto at = std::find(inner.begin(), inner.end(), GetFocus());
    if (at != inner.end() && (back ? at != inner.begin() : at + 1 != inner.end())) {
      SetFocus(back ? *(at - 1) : *(at + 1));
      return true;
    }
    TControl* next = form->NextTabStop(&peer->Control(), back);
    if (!next) return true;
    next->SetFocus();
    const std::vector<HWND> nextInner = InnerStops(static_cast<HWND>(next->Peer().Handle()));
    if (back && !nextInner.empty()) SetFocus(nextInner.back());
    // A text field reached from the keyboard shows its whole text selected.
    HWND focus = GetFocus();
    if (focus && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) {
      SendMessageW(focus, EM_SETSEL, 0, -1);
    }
    return true;
  }
  auto* radio = As<TRadioButton>(&peer->Control());
  if (!radio) return false;
  // As an automatic radio button does: the next button of the group takes
  // the focus and is clicked.
  TRadioButton* next = form->NextInGroup(*radio, key == VK_UP || key == VK_LEFT);
  next->SetFocus();
  SendMessageW(static_cast<HWND>(next->Peer().Handle()), BM_CLICK, 0, 0);
  return true;
}

}  // namespace

void DispatchOne(MSG& m) {
  if (FormKey(m)) return;
  HWND root = m.hwnd ? GetAncestor(m.hwnd, GA_ROOT) : nullptr;
  if (root && IsDialogMessageW(root, &m)) return;
  TranslateMessage(&m);
  DispatchMessageW(&m);
}

void PumpWaiting() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    DispatchOne(m);
  }
}

}  // namespace win32
