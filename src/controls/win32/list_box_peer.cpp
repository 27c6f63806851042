// The list box: LISTBOX with notifications. Every click on a row raises one
// click, also on the row that is already selected (Windows reports no
// selection change then); a keyboard move of the selection raises one too.
// Enter and Delete reach the list's key-down event.
#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"

namespace win32 {
namespace {

class TListBoxPeer : public TWindowPeer {
 public:
  explicit TListBoxPeer(TListBox& l)
      : TWindowPeer(l, L"LISTBOX",
                    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_BORDER, 0,
                    L""),
        l_(l) {
    Subclass();
    Rescale();
    ApplyItems();
  }

  void Rescale() override {
    TWindowPeer::Rescale();
    SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, Scale(l_.ItemHeight(), Dpi()));
  }

  bool OnCommand(WORD code, LRESULT&) override {
    if (Applying()) return true;
    // Wine reports an arrow key at the end of the list as a change too.
    if (code == LBN_SELCHANGE && !mouse_ && CurrentRow() != l_.ItemIndex()) Selected();
    if (code == LBN_DBLCLK) l_.UserDblClick();
    return true;
  }

  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    switch (msg) {
      case WM_GETDLGCODE: {
        result = CallOriginal(msg, wp, lp);
        const auto* m = reinterpret_cast<const MSG*>(lp);
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) result |= DLGC_WANTMESSAGE;
        return true;
      }
      case WM_KEYDOWN:
        l_.UserKeyDown(static_cast<std::uint16_t>(wp));
        return false;  // the list's own keys (arrows) go on
      case WM_LBUTTONDOWN:
        mouse_ = true;
        return false;
      case WM_LBUTTONUP: {
        result = CallOriginal(msg, wp, lp);
        if (!mouse_) return true;
        mouse_ = false;
        const LRESULT hit = SendMessageW(Hwnd(), LB_ITEMFROMPOINT, 0, lp);
        if (HIWORD(hit) == 0) Selected();
        return true;
      }
      default:
        return false;
    }
  }

  void Perform(const TUserAction& a) override {
    const int row = a.Kind == TActionKind::SelectRow ? a.Index : l_.ItemIndex();
    if ((a.Kind == TActionKind::SelectRow || a.Kind == TActionKind::DblClick) && row >= 0) {
      // A click on the row itself, scrolled into view first.
      SendMessageW(Hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
      RECT r;
      SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
      ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, a.Kind == TActionKind::DblClick);
      return;
    }
    if (a.Kind == TActionKind::DblClick) return;
    TWindowPeer::Perform(a);
  }

 protected:
  void ApplyItems() override {
    SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
    SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : l_.Items()) {
      SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Hwnd(), nullptr, TRUE);
    ApplyState();
  }
  void ApplyState() override {
    SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(l_.ItemIndex()), 0);
  }

 private:
  int CurrentRow() const { return static_cast<int>(SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0)); }
  void Selected() {
    const int index = CurrentRow();
    if (index >= 0) l_.UserSelected(index);
  }

  TListBox& l_;
  bool mouse_ = false;
};

}  // namespace

std::unique_ptr<TControlPeer> MakeListBoxPeer(TListBox& c) {
  return std::make_unique<TListBoxPeer>(c);
}

}  // namespace win32
