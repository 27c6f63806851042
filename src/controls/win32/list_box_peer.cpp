// The list box: LISTBOX with notifications. Every click on a row raises one
// click, also on the row that is already selected (Windows reports no
// selection change then); a keyboard move of the selection raises one too.
// Enter and Delete reach the list's key-down event. A right click selects
// the row under the mouse, then asks for its menu there; the menu key and
// Shift+F10 ask for the selected row's menu at that row.
#include <windowsx.h>

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
        // The menu key and Shift+F10 open the row menu on the press, as
        // Windows' own lists do; Wine's default procedure turns neither
        // into WM_CONTEXTMENU, and with the keys kept from it here neither
        // does Windows', so the menu opens once on both.
        if (wp == VK_APPS) {
          ContextMenu(-1);
          return true;
        }
        return false;  // the list's own keys (arrows) go on
      case WM_KEYUP:
        return wp == VK_APPS;
      case WM_SYSKEYDOWN:
        if (wp == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
          ContextMenu(-1);
          return true;
        }
        return false;
      case WM_SYSKEYUP:
        // Without its press, F10's release must not start menu mode.
        return wp == VK_F10 && GetKeyState(VK_SHIFT) < 0;
      case WM_LBUTTONDOWN:
        mouse_ = true;
        return false;
      case WM_RBUTTONDOWN: {
        // A list selects on the right button as on the left, and takes the
        // focus, so the keyboard goes on from the row the menu was for.
        SetFocus(Hwnd());
        const int row = RowAt(lp);
        if (row >= 0 && row != CurrentRow()) {
          SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
        }
        result = 0;
        return true;
      }
      case WM_CONTEXTMENU:
        ContextMenu(lp);
        result = 0;
        return true;
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
    if (a.Kind == TActionKind::ContextMenu) {
      // The right button pressed and let go on the row; the window's own
      // procedure turns the release into WM_CONTEXTMENU, as for a user.
      SendMessageW(Hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(a.Index), 0);
      RECT r;
      SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(a.Index),
                   reinterpret_cast<LPARAM>(&r));
      const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      SendMessageW(Hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, at);
      SendMessageW(Hwnd(), WM_RBUTTONUP, 0, at);
      return;
    }
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
  // The row at a point of the list's client area, or -1 off the rows.
  int RowAt(LPARAM clientPoint) const {
    const LRESULT hit = SendMessageW(Hwnd(), LB_ITEMFROMPOINT, 0, clientPoint);
    return HIWORD(hit) == 0 ? static_cast<int>(LOWORD(hit)) : -1;
  }
  void ContextMenu(LPARAM lp) {
    if (lp == -1) {
      // From the keyboard: at the selected row, a little in from its left,
      // or at the list's corner when no row is selected or it is out of view.
      RECT client;
      GetClientRect(Hwnd(), &client);
      POINT at{client.left, client.top};
      RECT r;
      const int row = CurrentRow();
      if (row >= 0 &&
          SendMessageW(Hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&r)) != LB_ERR &&
          r.top >= client.top && r.bottom <= client.bottom) {
        at = {r.left + (r.bottom - r.top), (r.top + r.bottom) / 2};
      }
      ClientToScreen(Hwnd(), &at);
      l_.UserContextMenu(-1, {at.x, at.y});
      return;
    }
    // From the mouse: only on a row, which becomes the selection.
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    POINT client = at;
    ScreenToClient(Hwnd(), &client);
    const int row = RowAt(MAKELPARAM(client.x, client.y));
    if (row < 0) return;
    if (row != CurrentRow()) SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    l_.UserContextMenu(row, {at.x, at.y});
  }
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
