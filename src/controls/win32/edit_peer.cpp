// Single-line edits (with an optional ellipsis button inside) and memos:
// the EDIT class. What the user types reads back as the model keeps texts,
// lines apart with a lone carriage return.
#include "controls/win32/dark_theme.h"
#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"

namespace win32 {
namespace {

class TEditPeerBase : public TWindowPeer {
 public:
  TEditPeerBase(TControl& c, DWORD style, const std::wstring& text)
      : TWindowPeer(c, L"EDIT", style | WS_TABSTOP, WS_EX_CLIENTEDGE, text) {}

  bool OnCommand(WORD code, LRESULT&) override {
    if (code == EN_CHANGE && !Applying()) Changed(FromWindowLines(WindowText(Hwnd())));
    return true;
  }

  void Perform(const TUserAction& a) override {
    if (a.Kind != TActionKind::TypeText) {
      TWindowPeer::Perform(a);
      return;
    }
    // As a user would: select everything and type over it.
    SetFocus(Hwnd());
    const std::wstring text = ToWindowLines(a.Text);
    SendMessageW(Hwnd(), EM_SETSEL, 0, -1);
    SendMessageW(Hwnd(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  }

 protected:
  virtual void Changed(const std::wstring& text) = 0;
};

class TEditPeer : public TEditPeerBase {
 public:
  explicit TEditPeer(TEdit& e) : TEditPeerBase(e, ES_AUTOHSCROLL, e.Text()), e_(e) {}

 protected:
  void Changed(const std::wstring& text) override { e_.UserTextChanged(text); }

 private:
  TEdit& e_;
};

// A field with an ellipsis button at its right end: a container of ours
// holding the EDIT and the BUTTON side by side (an edit paints over
// children of its own).
class TButtonEditPeer : public TWindowPeer {
 public:
  explicit TButtonEditPeer(TEdit& e)
      : TWindowPeer(e, kDrawnClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, L""), e_(e) {
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", e.Text().c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0, Hwnd(),
                            nullptr, Instance(), nullptr);
    // A tab stop of its own: Tab from the field reaches it, Space presses it.
    button_ =
        CreateWindowExW(0, L"BUTTON", L"...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                        0, 0, 0, Hwnd(), nullptr, Instance(), nullptr);
    if (DarkMode()) {
      ApplyControlTheme(edit_, true);
      ApplyControlTheme(button_, true);
    }
    Rescale();
  }

  void Perform(const TUserAction& a) override {
    switch (a.Kind) {
      case TActionKind::ButtonClick:
        SendMessageW(button_, BM_CLICK, 0, 0);
        break;
      case TActionKind::TypeText:
        SetFocus(edit_);
        SendMessageW(edit_, EM_SETSEL, 0, -1);
        SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(a.Text.c_str()));
        break;
      default:
        TWindowPeer::Perform(a);
        break;
    }
  }
  void Focus() override { SetFocus(edit_); }

  void Rescale() override {
    TWindowPeer::Rescale();
    Layout();
  }

  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    switch (msg) {
      case WM_COMMAND:
        if (!Applying() && reinterpret_cast<HWND>(lp) == edit_ && HIWORD(wp) == EN_CHANGE) {
          e_.UserTextChanged(WindowText(edit_));
        }
        if (reinterpret_cast<HWND>(lp) == button_ && HIWORD(wp) == BN_CLICKED) {
          e_.UserButtonClick();
        }
        result = 0;
        return true;
      case WM_SIZE:
        Layout();
        return true;
      case WM_ERASEBKGND: {
        RECT r;
        GetClientRect(Hwnd(), &r);
        FillSolid(reinterpret_cast<HDC>(wp), r, GroundColor(e_.Parent()->Color()));
        result = 1;
        return true;
      }
      default:
        return false;
    }
  }

 protected:
  void ApplyText() override { SetWindowTextW(edit_, e_.Text().c_str()); }
  void ApplyLook() override {
    const auto font = reinterpret_cast<WPARAM>(FontFor(e_.Font(), Dpi()));
    SendMessageW(edit_, WM_SETFONT, font, TRUE);
    SendMessageW(button_, WM_SETFONT, font, TRUE);
    EnableWindow(edit_, e_.Enabled());
    EnableWindow(button_, e_.Enabled());
  }

 private:
  // The button is as wide as the field is high.
  void Layout() {
    RECT r;
    GetClientRect(Hwnd(), &r);
    const int w = r.bottom;
    MoveWindow(edit_, 0, 0, r.right - w, r.bottom, TRUE);
    MoveWindow(button_, r.right - w, 0, w, r.bottom, TRUE);
  }

  TEdit& e_;
  HWND edit_ = nullptr;
  HWND button_ = nullptr;
};

class TMemoPeer : public TEditPeerBase {
 public:
  explicit TMemoPeer(TMemo& m)
      : TEditPeerBase(m,
                      m.ReadOnly() ? ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL
                                   : ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL |
                                         ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL,
                      ToWindowLines(m.Text())),
        m_(m) {
    Subclass();
  }

  // Tab keeps moving the focus, as in the rest of the form; Enter starts a
  // new line in an editable memo.
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg != WM_GETDLGCODE) return false;
    result = CallOriginal(msg, wp, lp) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    result |= DLGC_WANTCHARS | DLGC_WANTARROWS;
    const auto* m = reinterpret_cast<const MSG*>(lp);
    if (!m_.ReadOnly() && m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN) {
      result |= DLGC_WANTMESSAGE;
    }
    return true;
  }

 protected:
  void ApplyText() override { SetWindowTextW(Hwnd(), ToWindowLines(m_.Text()).c_str()); }
  void Changed(const std::wstring& text) override { m_.UserTextChanged(text); }

 private:
  TMemo& m_;
};

}  // namespace

std::unique_ptr<TControlPeer> MakeEditPeer(TEdit& c) {
  if (c.HasButton()) return std::make_unique<TButtonEditPeer>(c);
  return std::make_unique<TEditPeer>(c);
}
std::unique_ptr<TControlPeer> MakeMemoPeer(TMemo& c) { return std::make_unique<TMemoPeer>(c); }

}  // namespace win32
