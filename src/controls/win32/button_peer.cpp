// Push buttons with pictures, check boxes and radio buttons: the BUTTON
// class, with the check state decided by the model (no automatic styles).
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <utility>

#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"
#include "platform/win32/handles.h"

namespace win32 {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);  // transparent in the pictures

// A pen or brush made for a few strokes: selected while it lives, then
// the old one is put back and it is freed.
class TDrawingTool {
 public:
  TDrawingTool(HDC dc, HGDIOBJ object) : object_(object), selected_(dc, object) {}

 private:
  TUniqueGdi<> object_;  // freed after it is no longer selected
  TSelected selected_;
};

// Draws one of the command buttons' pictures, designed on 17 x 17 pixels,
// at the scale given; the background is the transparent key colour.
void DrawGlyph(HDC dc, TButton::TGlyph glyph, int size) {
  RECT all = {0, 0, size, size};
  FillSolid(dc, all, kKey);
  SetGraphicsMode(dc, GM_ADVANCED);
  const float k = static_cast<float>(size) / 17.0f;
  XFORM scale = {k, 0, 0, k, 0, 0};
  SetWorldTransform(dc, &scale);
  const auto pen = [&](COLORREF c, int w) { return TDrawingTool(dc, CreatePen(PS_SOLID, w, c)); };
  const auto brush = [&](COLORREF c) { return TDrawingTool(dc, CreateSolidBrush(c)); };
  const auto line = [&](int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
  };
  switch (glyph) {
    case TButton::TGlyph::New: {  // a page with a green plus
      {
        const auto p = pen(RGB(90, 90, 90), 1);
        const auto b = brush(RGB(255, 255, 255));
        Rectangle(dc, 2, 1, 13, 16);
      }
      const auto p = pen(RGB(0, 150, 0), 3);
      line(12, 7, 12, 16);
      line(8, 11, 16, 11);
      break;
    }
    case TButton::TGlyph::Edit: {  // a pencil
      {
        const auto p = pen(RGB(200, 150, 0), 4);
        line(14, 2, 5, 11);
      }
      const auto p = pen(RGB(60, 60, 60), 2);
      line(5, 11, 2, 15);
      break;
    }
    case TButton::TGlyph::Delete: {  // a red cross
      const auto p = pen(RGB(200, 0, 0), 3);
      line(3, 3, 14, 14);
      line(14, 3, 3, 14);
      break;
    }
    case TButton::TGlyph::Options: {  // a cog
      {
        const auto p = pen(RGB(80, 80, 80), 3);
        for (int i = 0; i < 4; ++i) {
          const int dx[] = {0, 6, 4, -4}, dy[] = {6, 0, 4, 4};
          line(8 - dx[i], 8 - dy[i], 8 + dx[i], 8 + dy[i]);
        }
      }
      {
        const auto p = pen(RGB(80, 80, 80), 1);
        const auto b = brush(RGB(160, 160, 160));
        Ellipse(dc, 4, 4, 13, 13);
      }
      const auto b = brush(RGB(240, 240, 240));
      const auto p = pen(RGB(80, 80, 80), 1);
      Ellipse(dc, 6, 6, 11, 11);
      break;
    }
    case TButton::TGlyph::Info: {  // an "i" in a blue disc
      {
        const auto p = pen(RGB(0, 70, 170), 1);
        const auto b = brush(RGB(30, 110, 220));
        Ellipse(dc, 1, 1, 16, 16);
      }
      const auto p = pen(RGB(255, 255, 255), 2);
      line(8, 7, 8, 13);
      line(8, 4, 8, 5);
      break;
    }
    case TButton::TGlyph::None:
      break;
  }
  ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
  SetGraphicsMode(dc, GM_COMPATIBLE);
}

// The same picture washed out to grey, as a disabled button shows it.
void Grey(HDC dc, int size) {
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      if (c == kKey) continue;
      const int l = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
      const int g = 128 + l / 2;
      SetPixel(dc, x, y, RGB(g, g, g));
    }
  }
}

// The six pictures a button image list holds, one per state; the disabled
// one greyed. One list per glyph and scale, kept for the whole run.
HIMAGELIST GlyphList(TButton::TGlyph glyph, UINT dpi) {
  static std::map<std::pair<TButton::TGlyph, UINT>, HIMAGELIST> cache;
  const auto key = std::make_pair(glyph, dpi);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  const int size = Scale(17, dpi);
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 6, 0);
  const TWindowDc screen(nullptr);
  const TUniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
  // The states of a push button, in the list's order: normal, hot,
  // pressed, disabled, default, stylus hot.
  constexpr int kStates = 6, kDisabled = 3;
  for (int state = 0; state < kStates; ++state) {
    const TUniqueGdi<HBITMAP> bmp(CreateCompatibleBitmap(screen.Get(), size, size));
    {
      const TSelected drawing(dc.Get(), bmp.Get());
      DrawGlyph(dc.Get(), glyph, size);
      if (state == kDisabled) Grey(dc.Get(), size);
    }
    ImageList_AddMasked(list, bmp.Get(), kKey);
  }
  cache.emplace(key, list);
  return list;
}

class TButtonPeer : public TWindowPeer {
 public:
  TButtonPeer(TControl& c, DWORD style) : TWindowPeer(c, L"BUTTON", style, 0, c.Caption()) {}

  bool OnCommand(WORD code, LRESULT&) override {
    if (Applying()) return true;
    if (code == BN_CLICKED) Control().UserClick();
    if (code == BN_DOUBLECLICKED) Control().UserDblClick();
    return true;
  }
};

class TPushButtonPeer : public TButtonPeer {
 public:
  explicit TPushButtonPeer(TButton& b)
      : TButtonPeer(b, BS_PUSHBUTTON | WS_TABSTOP | (b.Height() > 2 * b.Width() ? BS_MULTILINE : 0)),
        b_(b) {
    ApplyLook();
  }

  // In the dark palette the button draws itself: without a visual style
  // (Wine, or Windows before 10 1809) a push button's face is the light
  // system colour whatever its container answers to WM_CTLCOLORBTN.
  bool OnNotify(NMHDR& header, LRESULT& result) override {
    if (header.code != NM_CUSTOMDRAW || !DarkMode()) return false;
    auto& cd = reinterpret_cast<NMCUSTOMDRAW&>(header);
    if (cd.dwDrawStage != CDDS_PREERASE && cd.dwDrawStage != CDDS_PREPAINT) return false;
    DrawDark(cd.hdc, cd.rc, (cd.uItemState & CDIS_HOT) != 0);
    result = CDRF_SKIPDEFAULT;
    return true;
  }

 protected:
  void DrawDark(HDC dc, const RECT& r, bool hot) {
    const bool enabled = IsWindowEnabled(Hwnd()) != FALSE;
    const bool pressed = (SendMessageW(Hwnd(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    const bool focused = GetFocus() == Hwnd();
    const COLORREF face = pressed ? RGB(70, 70, 70) : hot ? RGB(64, 64, 64) : dark::kButton;
    FillSolid(dc, r, face);
    const TUniqueGdi<HBRUSH> frame(
        CreateSolidBrush(focused ? static_cast<COLORREF>(dark::kAccent) : dark::kLine));
    FrameRect(dc, &r, frame.Get());
    const UINT dpi = Dpi();
    RECT text = r;
    if (b_.Glyph() != TButton::TGlyph::None) {
      const int size = Scale(17, dpi);
      const int x = r.left + Scale(2, dpi) + Scale(3, dpi);
      ImageList_Draw(GlyphList(b_.Glyph(), dpi), enabled ? 0 : 3, dc, x,
                     r.top + (r.bottom - r.top - size) / 2, ILD_TRANSPARENT);
      text.left = x + size;
    }
    const std::wstring caption = WindowText(Hwnd());
    const TSelected font(dc, FontFor(b_.Font(), dpi));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? static_cast<COLORREF>(dark::kText) : dark::kGrayText);
    UINT format = DT_CENTER | DT_NOPREFIX;
    if (GetWindowLongPtrW(Hwnd(), GWL_STYLE) & BS_MULTILINE) {
      RECT measure = text;
      DrawTextW(dc, caption.c_str(), -1, &measure, format | DT_WORDBREAK | DT_CALCRECT);
      const int h = measure.bottom - measure.top;
      text.top += (text.bottom - text.top - h) / 2;
      format |= DT_WORDBREAK;
    } else {
      format |= DT_VCENTER | DT_SINGLELINE;
    }
    DrawTextW(dc, caption.c_str(), -1, &text, format);
  }

  void ApplyLook() override {
    TWindowPeer::ApplyLook();
    if (b_.Glyph() == TButton::TGlyph::None) return;
    BUTTON_IMAGELIST images = {GlyphList(b_.Glyph(), Dpi()), {Scale(2, Dpi()), 0, 0, 0},
                               BUTTON_IMAGELIST_ALIGN_LEFT};
    SendMessageW(Hwnd(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  }

 private:
  TButton& b_;
};

class TCheckBoxPeer : public TButtonPeer {
 public:
  // No BS_NOTIFY: a double click on a box is two clicks, as users expect.
  explicit TCheckBoxPeer(TCheckBox& c) : TButtonPeer(c, BS_3STATE | WS_TABSTOP), c_(c) {
    ApplyState();
  }

 protected:
  void ApplyState() override {
    const WPARAM state = c_.State() == TCheckState::Checked   ? BST_CHECKED
                         : c_.State() == TCheckState::Grayed ? BST_INDETERMINATE
                                                             : BST_UNCHECKED;
    SendMessageW(Hwnd(), BM_SETCHECK, state, 0);
  }

 private:
  TCheckBox& c_;
};

class TRadioButtonPeer : public TButtonPeer {
 public:
  explicit TRadioButtonPeer(TRadioButton& r)
      : TButtonPeer(r, BS_RADIOBUTTON | BS_NOTIFY | WS_TABSTOP), r_(r) {
    ApplyState();
  }

 protected:
  void ApplyState() override {
    SendMessageW(Hwnd(), BM_SETCHECK, r_.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }

 private:
  TRadioButton& r_;
};

}  // namespace

std::unique_ptr<TControlPeer> MakeButtonPeer(TButton& c) {
  return std::make_unique<TPushButtonPeer>(c);
}
std::unique_ptr<TControlPeer> MakeCheckBoxPeer(TCheckBox& c) {
  return std::make_unique<TCheckBoxPeer>(c);
}
std::unique_ptr<TControlPeer> MakeRadioButtonPeer(TRadioButton& c) {
  return std::make_unique<TRadioButtonPeer>(c);
}

}  // namespace win32
