// The tab control: SysTabControl32 on several rows, owner-drawn so that a
// caption can hold two lines. The controls of its pages stand beside it on
// the same parent, declared after it so that they lie above it.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>

#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"
#include "platform/win32/handles.h"

namespace win32 {
namespace {

// The longest line of a caption: the window sizes each tab by its item's
// text, and a tab is as wide as the widest line it draws.
std::wstring LongestLine(const std::wstring& s) {
  std::wstring longest, line;
  for (wchar_t c : s + L'\r') {
    if (c != L'\r') {
      line += c;
      continue;
    }
    if (line.size() > longest.size()) longest = line;
    line.clear();
  }
  return longest;
}

class TTabControlPeer : public TWindowPeer {
 public:
  explicit TTabControlPeer(TTabControl& t)
      : TWindowPeer(t, WC_TABCONTROLW,
                    TCS_MULTILINE | TCS_OWNERDRAWFIXED | WS_TABSTOP | WS_CLIPSIBLINGS, 0, L""),
        t_(t) {
    ApplyItems();
    Rescale();
    Subclass();
  }

  // In the dark palette the control is drawn here: its own drawing fills
  // the rows and the pane in the light face colour, with a style or not.
  bool OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    return DarkMode() && PaintMessage(Hwnd(), msg, wp, result, [this](HDC dc) { PaintDark(dc); });
  }

  void PaintDark(HDC dc) {
    RECT client;
    GetClientRect(Hwnd(), &client);
    FillSolid(dc, client, GroundColor(t_.Parent()->Color()));
    const int count = static_cast<int>(SendMessageW(Hwnd(), TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(Hwnd(), TCM_GETCURSEL, 0, 0));
    RECT pane = client;
    pane.top = 0;
    for (int i = 0; i < count; ++i) {
      RECT r;
      SendMessageW(Hwnd(), TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      pane.top = std::max<LONG>(pane.top, r.bottom);
    }
    const HBRUSH line = SolidBrush(dark::kLine);
    FrameRect(dc, &pane, line);
    for (int i = 0; i < count; ++i) {
      RECT r;
      SendMessageW(Hwnd(), TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      // The chosen tab stands out and opens into the pane.
      if (i == selected) InflateRect(&r, Scale(2, Dpi()), Scale(2, Dpi()));
      FillSolid(dc, r, i == selected ? RGB(56, 56, 56) : GroundColor(t_.Parent()->Color()));
      FrameRect(dc, &r, line);
      DRAWITEMSTRUCT item{};
      item.hDC = dc;
      item.rcItem = r;
      item.itemID = static_cast<UINT>(i);
      DrawCaption(item);
    }
    if (GetFocus() == Hwnd() && selected >= 0) {
      RECT r;
      SendMessageW(Hwnd(), TCM_GETITEMRECT, static_cast<WPARAM>(selected),
                   reinterpret_cast<LPARAM>(&r));
      InflateRect(&r, -Scale(2, Dpi()), -Scale(2, Dpi()));
      SetTextColor(dc, dark::kText);
      DrawFocusRect(dc, &r);
    }
  }

  void Rescale() override {
    TWindowPeer::Rescale();
    FitTabs();
  }

  void FitTabs() {
    // Every tab as high as designed (the width follows each caption).
    int widest = 0;
    {
      const TWindowDc dc(Hwnd());
      const TSelected font(dc.Get(), FontFor(t_.Font(), Dpi()));
      for (const std::wstring& tab : t_.Tabs()) {
        RECT r = {0, 0, 0, 0};
        const std::wstring text = ToWindowLines(tab);
        DrawTextW(dc.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
        widest = std::max<int>(widest, r.right);
      }
    }
    SendMessageW(Hwnd(), TCM_SETITEMSIZE, 0,
                 MAKELPARAM(widest + Scale(12, Dpi()), Scale(t_.TabHeight(), Dpi())));
  }

  bool OnNotify(NMHDR& header, LRESULT&) override {
    if (header.code == TCN_SELCHANGE && !Applying()) {
      t_.UserSelectedTab(static_cast<int>(SendMessageW(Hwnd(), TCM_GETCURSEL, 0, 0)));
    }
    return true;
  }

  bool OnDrawItem(DRAWITEMSTRUCT& item) override {
    DrawCaption(item);
    return true;
  }

  void DrawCaption(const DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.itemID);
    if (index < 0 || index >= static_cast<int>(t_.Tabs().size())) return;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, InkColor(t_.Font().Color));
    const TSelected font(item.hDC, FontFor(t_.Font(), Dpi()));
    const std::wstring text = ToWindowLines(t_.Tabs()[static_cast<std::size_t>(index)]);
    RECT measure = item.rcItem;
    DrawTextW(item.hDC, text.c_str(), -1, &measure, DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
    RECT r = item.rcItem;
    const int h = measure.bottom - measure.top;
    r.top += (r.bottom - r.top - h) / 2;
    r.bottom = r.top + h;
    DrawTextW(item.hDC, text.c_str(), -1, &r, DT_CENTER | DT_NOPREFIX);
  }

  void Perform(const TUserAction& a) override {
    if (a.Kind != TActionKind::SelectTab) {
      TWindowPeer::Perform(a);
      return;
    }
    RECT r;
    SendMessageW(Hwnd(), TCM_GETITEMRECT, static_cast<WPARAM>(a.Index),
                 reinterpret_cast<LPARAM>(&r));
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

 protected:
  void ApplyItems() override {
    SendMessageW(Hwnd(), TCM_DELETEALLITEMS, 0, 0);
    int i = 0;
    for (const std::wstring& tab : t_.Tabs()) {
      // Tabs as wide as their captions, so that the five fit on one row
      // above the list; the caption itself is drawn by the control.
      std::wstring text = LongestLine(tab);
      TCITEMW item = {};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageW(Hwnd(), TCM_INSERTITEMW, static_cast<WPARAM>(i++),
                   reinterpret_cast<LPARAM>(&item));
    }
    FitTabs();
    ApplyState();
  }
  void ApplyLook() override {
    TWindowPeer::ApplyLook();
    FitTabs();
  }
  void ApplyState() override {
    SendMessageW(Hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(t_.TabIndex()), 0);
  }

 private:
  TTabControl& t_;
};

}  // namespace

std::unique_ptr<TControlPeer> MakeTabControlPeer(TTabControl& c) {
  return std::make_unique<TTabControlPeer>(c);
}

}  // namespace win32
