// The controls the program draws itself: panels, labels, clickable text
// images and the gradient caption strip. Panels and the strip are
// containers: they pass their children's notifications back to them.
#include "controls/win32/accessible.h"
#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"
#include "platform/win32/handles.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/window_boundary.h"

namespace win32 {
namespace {

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
  msimg32::GradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_H);
}

// The strip's gradient, as seen through a window at (dx, dy) inside it;
// all in pixels.
void PaintStrip(HDC dc, const TGradientStrip& strip, int w, int h, int dx, int dy) {
  const COLORREF edge = GroundColor(strip.EdgeColor());
  const COLORREF centre = GroundColor(strip.CentreColor());
  GradientRect(dc, -dx, -dy, w / 2 - dx, h - dy, edge, centre);
  GradientRect(dc, w / 2 - dx, -dy, w - dx, h - dy, centre, edge);
}

// The strip in high contrast: flat, with a line under it that sets it off
// from the window; seen through a window at (dx, dy) inside it, as above.
void PaintStripInContrast(HDC dc, int w, int h, int dx, int dy, UINT dpi) {
  const RECT face = {-dx, -dy, w - dx, h - dy};
  FillSolid(dc, face, ContrastFace(clBtnFace));
  RECT line = face;
  line.top = line.bottom - Scale(1, dpi);
  FillSolid(dc, line, ContrastText(clBtnFace));
}

// The colour of frames and edges: the shadow of buttons, or in the dark
// palette a grey that shows on the dark grounds.
COLORREF LineColor() {
  return DarkMode() ? static_cast<COLORREF>(dark::kLine) : GetSysColor(COLOR_BTNSHADOW);
}

void Frame(HDC dc, const RECT& r, COLORREF color = LineColor()) {
  const TUniqueGdi<HBRUSH> frame(CreateSolidBrush(color));
  FrameRect(dc, &r, frame.Get());
}

void DrawTextAt(HDC dc, const std::wstring& text, RECT r, UINT format, COLORREF color, int dx,
                int dy) {
  OffsetRect(&r, dx, dy);
  SetTextColor(dc, color);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

class TDrawnPeer : public TWindowPeer {
 public:
  TDrawnPeer(TControl& c, DWORD style, DWORD exStyle)
      : TWindowPeer(c, kDrawnClass, style, exStyle, c.Caption()) {}

  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (PaintMessage(Hwnd(), msg, wp, result, [this](HDC dc) { PaintInto(dc); })) return true;
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        if (msg == WM_LBUTTONDOWN) {
          pressed_ = true;
          if (CapturesClicks()) SetCapture(Hwnd());
        }
        Control().UserMouseDown(msg == WM_LBUTTONDOWN   ? TMouseButton::Left
                                : msg == WM_RBUTTONDOWN ? TMouseButton::Right
                                                        : TMouseButton::Middle);
        return true;
      case WM_LBUTTONUP: {
        const bool pressed = pressed_;
        pressed_ = false;
        if (GetCapture() == Hwnd()) ReleaseCapture();
        RECT r;
        GetClientRect(Hwnd(), &r);
        POINT p = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (pressed && PtInRect(&r, p)) Control().UserClick();
        return true;
      }
      case WM_LBUTTONDBLCLK:
        Control().UserDblClick();
        return true;
      case WM_MOUSEMOVE:
        if (!hovering_) {
          hovering_ = true;
          TRACKMOUSEEVENT t = {sizeof(t), TME_LEAVE, Hwnd(), 0};
          TrackMouseEvent(&t);
          Control().UserMouseEnter();
        }
        return true;
      case WM_MOUSELEAVE:
        hovering_ = false;
        Control().UserMouseLeave();
        return true;
      case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && Cursor() != TCursor::Default) {
          SetCursor(LoadCursorW(nullptr, Cursor() == TCursor::Hand ? IDC_HAND : IDC_CROSS));
          result = TRUE;
          return true;
        }
        return false;
      case WM_MOUSEACTIVATE:
        if (CapturesClicks()) {
          result = MA_NOACTIVATE;
          return true;
        }
        return false;
      case WM_NCHITTEST:
        // A label on the caption strip is a drag handle itself.
        result = HTCLIENT;
        return true;
      case WM_GETOBJECT:
        result = AccessibleObjectFor(Hwnd(), wp, lp);
        return result != 0;
      case kAccessiblePress:
        // The default action of an accessibility client: a click, as far
        // as a user could click it now.
        if (Control().Showing() && Control().Usable()) Control().UserClick();
        return true;
      default:
        (void)wp;
        return false;
    }
  }

 protected:
  virtual void Draw(HDC dc, const RECT& client) = 0;
  virtual bool CapturesClicks() const { return false; }
  virtual TCursor Cursor() const { return TCursor::Default; }

 private:
  void PaintInto(HDC dc) {
    // Off screen: the clock label changes every second.
    RECT r;
    GetClientRect(Hwnd(), &r);
    {
      const TUniqueMemoryDc mem(CreateCompatibleDC(dc));
      // A bitmap in the program's memory: drawn without asking the display,
      // then shown in one copy.
      BITMAPINFO bi{};
      bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
      bi.bmiHeader.biWidth = r.right;
      bi.bmiHeader.biHeight = -r.bottom;
      bi.bmiHeader.biPlanes = 1;
      bi.bmiHeader.biBitCount = 32;
      bi.bmiHeader.biCompression = BI_RGB;
      void* bits = nullptr;
      const TUniqueGdi<HBITMAP> bmp(
          CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
      const TSelected bitmap(mem.Get(), bmp.Get());
      SetBkMode(mem.Get(), TRANSPARENT);
      const TSelected font(mem.Get(), FontFor(Control().Font(), Dpi()));
      Draw(mem.Get(), r);
      BitBlt(dc, 0, 0, r.right, r.bottom, mem.Get(), 0, 0, SRCCOPY);
    }
  }

  bool pressed_ = false;
  bool hovering_ = false;
};

class TPanelPeer : public TDrawnPeer {
 public:
  explicit TPanelPeer(TPanel& p)
      : TDrawnPeer(p, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT), p_(p) {}

 protected:
  void Draw(HDC dc, const RECT& client) override {
    if (HighContrast()) {
      FillSolid(dc, client, ContrastFace(p_.Color()));
      if (p_.Bevel() == TBevel::Sunken) Frame(dc, client, ContrastText(p_.Color()));
      return;
    }
    FillSolid(dc, client, GroundColor(p_.Color()));
    if (DarkMode()) {
      // The etched edge is drawn in the system colours, which stay light.
      if (p_.Bevel() == TBevel::Sunken) Frame(dc, client);
      return;
    }
    RECT r = client;
    // Etched, as Windows frames a group: a shadow line on every side. A
    // plain sunken edge draws its bottom and right in the highlight
    // colour, white on a face that is nearly white, and the frame looked
    // open at the bottom (most of all at 150 %, where it lies far from
    // the fields above it).
    if (p_.Bevel() == TBevel::Sunken) DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
  }

 private:
  TPanel& p_;
};

class TStripPeer : public TDrawnPeer {
 public:
  explicit TStripPeer(TGradientStrip& s)
      : TDrawnPeer(s, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT), s_(s) {}

 protected:
  void Draw(HDC dc, const RECT& client) override {
    if (HighContrast()) {
      PaintStripInContrast(dc, client.right, client.bottom, 0, 0, Dpi());
      return;
    }
    PaintStrip(dc, s_, client.right, client.bottom, 0, 0);
  }

 private:
  TGradientStrip& s_;
};

class TTextImagePeer : public TDrawnPeer {
 public:
  explicit TTextImagePeer(TTextImage& t) : TDrawnPeer(t, 0, 0), t_(t) {}

 protected:
  bool CapturesClicks() const override { return true; }
  void Draw(HDC dc, const RECT& client) override {
    const bool contrast = HighContrast();
    FillSolid(dc, client, contrast ? ContrastFace(clBtnFace) : GroundColor(t_.Color()));
    Frame(dc, client, contrast ? ContrastText(clBtnFace) : LineColor());
    DrawTextAt(dc, t_.Caption(), client, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
               contrast ? ContrastText(clBtnFace) : InkColor(t_.Font().Color), 0, 0);
  }

 private:
  TTextImage& t_;
};

class TLabelPeer : public TDrawnPeer {
 public:
  explicit TLabelPeer(TLabel& l) : TDrawnPeer(l, 0, 0), l_(l) {}

 protected:
  TCursor Cursor() const override { return l_.Cursor(); }
  void Draw(HDC dc, const RECT& client) override {
    if (HighContrast()) {
      DrawInContrast(dc, client);
      return;
    }
    auto* strip = As<TGradientStrip>(l_.Parent());
    if (l_.Transparent() && strip) {
      RECT parent;
      GetClientRect(GetParent(Hwnd()), &parent);
      PaintStrip(dc, *strip, parent.right, parent.bottom, Scale(l_.Left(), Dpi()),
                 Scale(l_.Top(), Dpi()));
    } else if (l_.Transparent()) {
      FillSolid(dc, client, GroundColor(l_.Parent()->Color()));
    } else {
      FillSolid(dc, client, GroundColor(l_.Color()));
    }
    if (l_.Border()) Frame(dc, client);
    UINT format = DT_NOPREFIX;
    const std::wstring text = ToWindowLines(l_.Caption());
    const RECT textRect = PlaceText(dc, text, client, format);
    const COLORREF color = InkColor(l_.TextColor());
    const bool dark = DarkMode();
    const int depth = Scale(l_.ShadowDepth(), Dpi());
    const int one = Scale(1, Dpi());
    if (l_.Style() & TLabel::Embossed) {
      DrawTextAt(dc, text, textRect, format, ShadeColor(l_.ShadowColor()), depth, depth);
    }
    if (l_.Style() & TLabel::Raised) {
      DrawTextAt(dc, text, textRect, format,
                 dark ? static_cast<COLORREF>(dark::kLight) : GetSysColor(COLOR_BTNHIGHLIGHT),
                 -one, -one);
      DrawTextAt(dc, text, textRect, format, dark ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNSHADOW),
                 one, one);
    }
    DrawTextAt(dc, text, textRect, format, color, 0, 0);
  }

 private:
  // Flat colour behind the text where a picture (the strip) would show, the
  // text without shadows, the hover in the highlight colour.
  void DrawInContrast(HDC dc, const RECT& client) {
    const bool onStrip = As<TGradientStrip>(l_.Parent()) != nullptr;
    const TColor ground = onStrip            ? clBtnFace
                          : l_.Transparent() ? l_.Parent()->Color()
                                             : l_.Color();
    if (onStrip) {
      RECT parent;
      GetClientRect(GetParent(Hwnd()), &parent);
      PaintStripInContrast(dc, parent.right, parent.bottom, Scale(l_.Left(), Dpi()),
                           Scale(l_.Top(), Dpi()), Dpi());
    } else {
      FillSolid(dc, client, ContrastFace(ground));
    }
    const COLORREF text = l_.Hovered() && l_.HoverColor() ? GetSysColor(COLOR_HIGHLIGHT)
                                                          : ContrastText(ground);
    if (l_.Border()) Frame(dc, client, ContrastText(ground));
    UINT format = DT_NOPREFIX;
    const std::wstring lines = ToWindowLines(l_.Caption());
    const RECT place = PlaceText(dc, lines, client, format);
    DrawTextAt(dc, lines, place, format, text, 0, 0);
  }

  // Where the text goes: several lines centred both ways are measured,
  // then placed.
  RECT PlaceText(HDC dc, const std::wstring& text, const RECT& client, UINT& format) const {
    RECT place = client;
    if (!l_.Centered()) return place;
    RECT measure = client;
    DrawTextW(dc, text.c_str(), -1, &measure, DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
    const int h = measure.bottom - measure.top;
    place.top = client.top + (client.bottom - client.top - h) / 2;
    place.bottom = place.top + h;
    format |= DT_CENTER;
    return place;
  }

  TLabel& l_;
};

}  // namespace

LRESULT CALLBACK DrawnProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return WindowBoundary(hwnd, msg, [&] {
    LRESULT result = 0;
    if (Reflect(msg, wp, lp, result)) return result;
    TWindowPeer* peer = PeerOf(hwnd);
    if (peer && peer->OnMessage(msg, wp, lp, result)) return result;
    return DefWindowProcW(hwnd, msg, wp, lp);
  });
}

std::unique_ptr<TControlPeer> MakePanelPeer(TPanel& c) { return std::make_unique<TPanelPeer>(c); }
std::unique_ptr<TControlPeer> MakeStripPeer(TGradientStrip& c) {
  return std::make_unique<TStripPeer>(c);
}
std::unique_ptr<TControlPeer> MakeTextImagePeer(TTextImage& c) {
  return std::make_unique<TTextImagePeer>(c);
}
std::unique_ptr<TControlPeer> MakeLabelPeer(TLabel& c) { return std::make_unique<TLabelPeer>(c); }

}  // namespace win32
