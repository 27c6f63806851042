#include "controls/win32/win32_backend.h"

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <tuple>
#include <vector>

#include "controls/dispatcher.h"

namespace {

constexpr wchar_t kFormClass[] = L"TivorraForm";
constexpr wchar_t kCustomClass[] = L"TivorraControl";
constexpr wchar_t kTimerClass[] = L"TivorraTimers";

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

COLORREF Resolve(TColor c) {
  return (c & kSysColor) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c);
}

// Fonts are few and live for the whole run.
HFONT FontFor(const TFont& f) {
  static std::map<std::tuple<std::wstring, int, bool, bool>, HFONT> cache;
  const auto key = std::make_tuple(f.Name, f.Size, f.Bold, f.Cyrillic);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(f.Size, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  HFONT font = CreateFontW(height, 0, 0, 0, f.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           f.Cyrillic ? RUSSIAN_CHARSET : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           f.Name.c_str());
  cache.emplace(key, font);
  return font;
}

// An edit control breaks lines only at CR LF; stored texts separate lines
// with a lone CR.
std::wstring ForEdit(const std::wstring& text) {
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

// The small pictures on the command buttons, drawn once: 17 x 17 pixels on
// the button face.
HBITMAP GlyphBitmap(TButton::TGlyph glyph) {
  static std::map<TButton::TGlyph, HBITMAP> cache;
  auto it = cache.find(glyph);
  if (it != cache.end()) return it->second;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 17, 17);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  RECT all = {0, 0, 17, 17};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  const auto pen = [&](COLORREF c, int w) {
    return SelectObject(dc, CreatePen(PS_SOLID, w, c));
  };
  const auto brush = [&](COLORREF c) { return SelectObject(dc, CreateSolidBrush(c)); };
  const auto done = [&](HGDIOBJ oldPen, HGDIOBJ oldBrush) {
    if (oldPen) DeleteObject(SelectObject(dc, oldPen));
    if (oldBrush) DeleteObject(SelectObject(dc, oldBrush));
  };
  const auto line = [&](int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
  };
  switch (glyph) {
    case TButton::TGlyph::New: {  // a page with a green plus
      HGDIOBJ p = pen(RGB(90, 90, 90), 1), b = brush(RGB(255, 255, 255));
      Rectangle(dc, 2, 1, 13, 16);
      done(p, b);
      p = pen(RGB(0, 150, 0), 3);
      line(12, 7, 12, 16);
      line(8, 11, 16, 11);
      done(p, nullptr);
      break;
    }
    case TButton::TGlyph::Edit: {  // a pencil
      HGDIOBJ p = pen(RGB(200, 150, 0), 4);
      line(14, 2, 5, 11);
      done(p, nullptr);
      p = pen(RGB(60, 60, 60), 2);
      line(5, 11, 2, 15);
      done(p, nullptr);
      break;
    }
    case TButton::TGlyph::Delete: {  // a red cross
      HGDIOBJ p = pen(RGB(200, 0, 0), 3);
      line(3, 3, 14, 14);
      line(14, 3, 3, 14);
      done(p, nullptr);
      break;
    }
    case TButton::TGlyph::Options: {  // a cog
      HGDIOBJ p = pen(RGB(80, 80, 80), 3);
      for (int i = 0; i < 4; ++i) {
        const int dx[] = {0, 6, 4, -4}, dy[] = {6, 0, 4, 4};
        line(8 - dx[i], 8 - dy[i], 8 + dx[i], 8 + dy[i]);
      }
      done(p, nullptr);
      p = pen(RGB(80, 80, 80), 1);
      HGDIOBJ b = brush(RGB(160, 160, 160));
      Ellipse(dc, 4, 4, 13, 13);
      done(p, b);
      b = brush(RGB(240, 240, 240));
      p = pen(RGB(80, 80, 80), 1);
      Ellipse(dc, 6, 6, 11, 11);
      done(p, b);
      break;
    }
    case TButton::TGlyph::Info: {  // an "i" in a blue disc
      HGDIOBJ p = pen(RGB(0, 70, 170), 1), b = brush(RGB(30, 110, 220));
      Ellipse(dc, 1, 1, 16, 16);
      done(p, b);
      p = pen(RGB(255, 255, 255), 2);
      line(8, 7, 8, 13);
      line(8, 4, 8, 5);
      done(p, nullptr);
      break;
    }
    case TButton::TGlyph::None:
      break;
  }
  SelectObject(dc, oldBmp);
  DeleteDC(dc);
  cache.emplace(glyph, bmp);
  return bmp;
}

TControl* ControlOf(HWND hwnd) {
  return reinterpret_cast<TControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void GradientRect(HDC dc, int left, int top, int right, int bottom, COLORREF from, COLORREF to) {
  TRIVERTEX v[2] = {};
  v[0].x = left;
  v[0].y = top;
  v[0].Red = static_cast<COLOR16>(GetRValue(from) << 8);
  v[0].Green = static_cast<COLOR16>(GetGValue(from) << 8);
  v[0].Blue = static_cast<COLOR16>(GetBValue(from) << 8);
  v[1].x = right;
  v[1].y = bottom;
  v[1].Red = static_cast<COLOR16>(GetRValue(to) << 8);
  v[1].Green = static_cast<COLOR16>(GetGValue(to) << 8);
  v[1].Blue = static_cast<COLOR16>(GetBValue(to) << 8);
  GRADIENT_RECT r = {0, 1};
  GradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_H);
}

// The strip's gradient, as seen through a window at (dx, dy) inside it.
void PaintStrip(HDC dc, const TGradientStrip& strip, int dx, int dy) {
  const int w = strip.Width();
  const int h = strip.Height();
  const COLORREF edge = Resolve(strip.EdgeColor());
  const COLORREF centre = Resolve(strip.CentreColor());
  GradientRect(dc, -dx, -dy, w / 2 - dx, h - dy, edge, centre);
  GradientRect(dc, w / 2 - dx, -dy, w - dx, h - dy, centre, edge);
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH b = CreateSolidBrush(color);
  FillRect(dc, &r, b);
  DeleteObject(b);
}

void Frame(HDC dc, const RECT& r) {
  HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
  FrameRect(dc, &r, frame);
  DeleteObject(frame);
}

void DrawTextAt(HDC dc, const std::wstring& text, RECT r, UINT format, COLORREF color, int dx,
                int dy) {
  OffsetRect(&r, dx, dy);
  SetTextColor(dc, color);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

void PaintCustom(HWND hwnd, HDC dc, TControl& c) {
  RECT client;
  GetClientRect(hwnd, &client);
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, FontFor(c.Font()));
  switch (c.Kind()) {
    case TControlKind::GradientStrip:
      PaintStrip(dc, static_cast<TGradientStrip&>(c), 0, 0);
      break;
    case TControlKind::Panel: {
      FillSolid(dc, client, Resolve(c.Color()));
      if (static_cast<TPanel&>(c).Sunken()) DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
      break;
    }
    case TControlKind::TextImage: {
      FillSolid(dc, client, Resolve(c.Color()));
      Frame(dc, client);
      DrawTextAt(dc, c.Caption(), client, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                 Resolve(c.Font().Color), 0, 0);
      break;
    }
    case TControlKind::Label: {
      auto& label = static_cast<TLabel&>(c);
      if (label.Transparent() && c.Parent() && c.Parent()->Kind() == TControlKind::GradientStrip) {
        PaintStrip(dc, static_cast<TGradientStrip&>(*c.Parent()), c.Left(), c.Top());
      } else {
        FillSolid(dc, client, Resolve(c.Color()));
      }
      if (label.Border()) Frame(dc, client);
      UINT format = DT_NOPREFIX;
      RECT textRect = client;
      if (label.Centered()) {
        // Several lines centred both ways: measure, then place.
        RECT measure = client;
        DrawTextW(dc, c.Caption().c_str(), -1, &measure, DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
        const int h = measure.bottom - measure.top;
        textRect.top = client.top + (client.bottom - client.top - h) / 2;
        textRect.bottom = textRect.top + h;
        format |= DT_CENTER;
      }
      const COLORREF text = Resolve(c.Font().Color);
      switch (label.Style()) {
        case TLabelStyle::Plain:
          DrawTextAt(dc, c.Caption(), textRect, format, text, 0, 0);
          break;
        case TLabelStyle::Embossed:
          DrawTextAt(dc, c.Caption(), textRect, format, Resolve(label.ShadowColor()), 2, 2);
          DrawTextAt(dc, c.Caption(), textRect, format, text, 0, 0);
          break;
        case TLabelStyle::Raised:
          DrawTextAt(dc, c.Caption(), textRect, format, GetSysColor(COLOR_BTNHIGHLIGHT), -1, -1);
          DrawTextAt(dc, c.Caption(), textRect, format, GetSysColor(COLOR_BTNSHADOW), 1, 1);
          DrawTextAt(dc, c.Caption(), textRect, format, text, 0, 0);
          break;
      }
      break;
    }
    default:
      break;
  }
}

LRESULT CALLBACK CustomProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TControl* c = ControlOf(hwnd);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (c) {
        // Paint off screen: the clock label changes every second.
        RECT r;
        GetClientRect(hwnd, &r);
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bmp = CreateCompatibleBitmap(dc, r.right, r.bottom);
        HGDIOBJ old = SelectObject(mem, bmp);
        PaintCustom(hwnd, mem, *c);
        BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (c) {
        if (msg == WM_LBUTTONDOWN && c->Kind() == TControlKind::TextImage) SetCapture(hwnd);
        c->RaiseMouseDown(msg == WM_LBUTTONDOWN   ? TMouseButton::Left
                          : msg == WM_RBUTTONDOWN ? TMouseButton::Right
                                                  : TMouseButton::Middle);
      }
      return 0;
    case WM_LBUTTONUP:
      if (c) {
        const bool captured = GetCapture() == hwnd;
        if (captured) ReleaseCapture();
        RECT r;
        GetClientRect(hwnd, &r);
        POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (PtInRect(&r, p) && (captured || c->Kind() != TControlKind::TextImage)) c->RaiseClick();
      }
      return 0;
    case WM_MOUSEACTIVATE:
      if (c && c->Kind() == TControlKind::TextImage) return MA_NOACTIVATE;
      break;
    case WM_NCHITTEST:
      // A label on the caption strip lets the strip see nothing: it is a
      // drag handle itself.
      return HTCLIENT;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class Win32ControlPeer : public TControlPeer {
 public:
  explicit Win32ControlPeer(TControl& c) : c_(c) {
    HWND parent = static_cast<HWND>(c.Parent()->Peer()->Handle());
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    const wchar_t* cls = kCustomClass;
    std::wstring text = c.Caption();
    switch (c.Kind()) {
      case TControlKind::Button:
        cls = L"BUTTON";
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        if (c.Height() > 2 * c.Width()) style |= BS_MULTILINE;
        break;
      case TControlKind::Memo:
        cls = L"EDIT";
        style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
        exStyle |= WS_EX_CLIENTEDGE;
        text = ForEdit(text);
        break;
      case TControlKind::Panel:
        style |= WS_CLIPCHILDREN;
        exStyle |= WS_EX_CONTROLPARENT;
        break;
      default:
        break;
    }
    if (c.Visible()) style |= WS_VISIBLE;
    if (!c.Enabled()) style |= WS_DISABLED;
    hwnd_ = CreateWindowExW(exStyle, cls, text.c_str(), style, c.Left(), c.Top(), c.Width(),
                            c.Height(), parent, nullptr, Instance(), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.Font())), FALSE);
    // Controls made later lie above earlier ones, as in the form's description.
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ~Win32ControlPeer() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }

  void BoundsChanged() override {
    MoveWindow(hwnd_, c_.Left(), c_.Top(), c_.Width(), c_.Height(), TRUE);
  }
  void TextChanged() override {
    const std::wstring text = c_.Kind() == TControlKind::Memo ? ForEdit(c_.Caption()) : c_.Caption();
    SetWindowTextW(hwnd_, text.c_str());
    if (c_.Kind() != TControlKind::Button && c_.Kind() != TControlKind::Memo) {
      InvalidateRect(hwnd_, nullptr, FALSE);
    }
  }
  void VisibleChanged() override { ShowWindow(hwnd_, c_.Visible() ? SW_SHOWNA : SW_HIDE); }
  void EnabledChanged() override { EnableWindow(hwnd_, c_.Enabled()); }
  void LookChanged() override {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c_.Font())), FALSE);
    if (c_.Kind() == TControlKind::Button) {
      const auto glyph = static_cast<TButton&>(c_).Glyph();
      if (glyph != TButton::TGlyph::None) {
        SendMessageW(hwnd_, BM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(GlyphBitmap(glyph)));
      }
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
    if (c_.Kind() == TControlKind::Memo) UpdateWindow(hwnd_);
  }
  void PerformClick() override {
    if (c_.Kind() == TControlKind::Button) {
      SendMessageW(hwnd_, BM_CLICK, 0, 0);
    } else {
      SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessageW(hwnd_, WM_LBUTTONUP, 0, 0);
    }
  }
  void* Handle() const override { return hwnd_; }

 private:
  TControl& c_;
  HWND hwnd_;
};

class Win32FormPeer;
std::vector<Win32FormPeer*>& AllForms() {
  static std::vector<Win32FormPeer*> forms;
  return forms;
}

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

class Win32FormPeer : public TFormPeer {
 public:
  explicit Win32FormPeer(TForm& f) : f_(f) {
    RECT r = {0, 0, f.ClientWidth(), f.ClientHeight()};
    AdjustWindowRectEx(&r, FormStyle(f.BorderStyle()), FALSE, FormExStyle(f.BorderStyle()));
    hwnd_ = CreateWindowExW(FormExStyle(f.BorderStyle()), kFormClass, f.Caption().c_str(),
                            FormStyle(f.BorderStyle()), f.Left(), f.Top(), r.right - r.left,
                            r.bottom - r.top, nullptr, nullptr, Instance(), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&f));
    AllForms().push_back(this);
  }
  ~Win32FormPeer() override {
    auto& all = AllForms();
    for (auto it = all.begin(); it != all.end(); ++it) {
      if (*it == this) {
        all.erase(it);
        break;
      }
    }
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }

  void BoundsChanged() override { ClientSizeChanged(); }
  void ClientSizeChanged() override {
    RECT r = {0, 0, f_.ClientWidth(), f_.ClientHeight()};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    AdjustWindowRectEx(&r, style, FALSE, ex);
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  void TextChanged() override { SetWindowTextW(hwnd_, f_.Caption().c_str()); }
  void VisibleChanged() override {
    if (f_.Visible()) {
      ShowWindow(hwnd_, SW_SHOW);
    } else {
      // A modal dialog gives the other windows back before it hides, so
      // that the focus returns to the program, not to another one.
      EndModal();
      ShowWindow(hwnd_, SW_HIDE);
    }
  }
  void EnabledChanged() override { EnableWindow(hwnd_, f_.Enabled()); }
  void LookChanged() override { InvalidateRect(hwnd_, nullptr, TRUE); }
  void PerformClick() override {}
  void* Handle() const override { return hwnd_; }

  void ShowNormal() override {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  void BringToForeground() override { SetForegroundWindow(hwnd_); }
  void StartDrag() override {
    ReleaseCapture();
    SendMessageW(hwnd_, WM_SYSCOMMAND, 0xF012, 0);
  }

  int RunModal() override {
    for (Win32FormPeer* other : AllForms()) {
      if (other != this && IsWindowEnabled(other->hwnd_)) {
        EnableWindow(other->hwnd_, FALSE);
        disabled_.push_back(other->hwnd_);
      }
    }
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
      if (!IsDialogMessageW(hwnd_, &m)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
      }
    }
    EndModal();
    return f_.ModalResult;
  }

  HWND Hwnd() const { return hwnd_; }

 private:
  void EndModal() {
    for (HWND h : disabled_) EnableWindow(h, TRUE);
    disabled_.clear();
  }

  TForm& f_;
  HWND hwnd_;
  std::vector<HWND> disabled_;
};

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* form = static_cast<TForm*>(ControlOf(hwnd));
  if (!form) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_CLOSE:
      DispatchEvent([form] { form->Close(); });
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        form->Deactivated();
      } else {
        form->Activated(FormFromHandle(reinterpret_cast<HWND>(lp)));
      }
      return 0;
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED) form->MinimizedChanged(true);
      if (wp == SIZE_RESTORED && IsWindowVisible(hwnd)) form->MinimizedChanged(false);
      break;
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lp);
      if (child && HIWORD(wp) == BN_CLICKED) {
        if (TControl* c = ControlOf(child)) c->RaiseClick();
        return 0;
      }
      break;
    }
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd, &r);
      FillSolid(reinterpret_cast<HDC>(wp), r, Resolve(form->Color()));
      return 1;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

class Win32TimerPeer : public TTimerPeer {
 public:
  Win32TimerPeer(HWND owner, TTimer& t) : owner_(owner), t_(t) {}
  ~Win32TimerPeer() override { KillTimer(owner_, Id()); }
  void Restart() override {
    KillTimer(owner_, Id());
    if (t_.Enabled() && t_.Interval() > 0) {
      SetTimer(owner_, Id(), static_cast<UINT>(t_.Interval()), nullptr);
    }
  }

 private:
  UINT_PTR Id() const { return reinterpret_cast<UINT_PTR>(&t_); }
  HWND owner_;
  TTimer& t_;
};

LRESULT CALLBACK TimerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    reinterpret_cast<TTimer*>(wp)->Tick();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND gTimerWindow = nullptr;

}  // namespace

TForm* FormFromHandle(void* hwnd) {
  for (Win32FormPeer* p : AllForms()) {
    if (p->Hwnd() == hwnd) return static_cast<TForm*>(ControlOf(p->Hwnd()));
  }
  return nullptr;
}

TWin32Backend::TWin32Backend() {
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
  wc.lpfnWndProc = CustomProc;
  wc.lpszClassName = kCustomClass;
  RegisterClassExW(&wc);
  wc.lpfnWndProc = TimerProc;
  wc.lpszClassName = kTimerClass;
  RegisterClassExW(&wc);
  gTimerWindow = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 Instance(), nullptr);
}

TWin32Backend::~TWin32Backend() {
  if (gTimerWindow) DestroyWindow(gTimerWindow);
  gTimerWindow = nullptr;
}

std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TControl& control) {
  return std::make_unique<Win32ControlPeer>(control);
}

std::unique_ptr<TFormPeer> TWin32Backend::CreateFormPeer(TForm& form) {
  return std::make_unique<Win32FormPeer>(form);
}

std::unique_ptr<TTimerPeer> TWin32Backend::CreateTimerPeer(TTimer& timer) {
  return std::make_unique<Win32TimerPeer>(gTimerWindow, timer);
}

int RunMessageLoop() {
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    HWND root = GetAncestor(m.hwnd, GA_ROOT);
    if (root && IsDialogMessageW(root, &m)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return static_cast<int>(m.wParam);
}

void ProcessMessages() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}
