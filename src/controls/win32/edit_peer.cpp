// Single-line edits (with an optional ellipsis button inside) and memos:
// the EDIT class. What the user types reads back as the model keeps texts,
// lines apart with a lone carriage return.
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
  explicit TEditPeer(TEdit& e) : TEditPeerBase(e, ES_AUTOHSCROLL, e.Text()), e_(e) {
    if (!e.HasButton()) return;
    button_ = CreateWindowExW(0, L"BUTTON", L"...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0,
                              0, 0, Hwnd(), nullptr, Instance(), nullptr);
    Subclass();
    Rescale();
  }

  void Perform(const TUserAction& a) override {
    if (a.Kind == TActionKind::ButtonClick && button_) {
      SendMessageW(button_, BM_CLICK, 0, 0);
      return;
    }
    TEditPeerBase::Perform(a);
  }

  void Rescale() override {
    TEditPeerBase::Rescale();
    if (!button_) return;
    // The button fills the right end; the text stops before it.
    RECT r;
    GetClientRect(Hwnd(), &r);
    const int w = r.bottom;
    MoveWindow(button_, r.right - w, 0, w, r.bottom, TRUE);
    SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(e_.Font(), Dpi())), TRUE);
    SendMessageW(Hwnd(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, w + 2));
  }

  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg == WM_COMMAND && reinterpret_cast<HWND>(lp) == button_) {
      if (HIWORD(wp) == BN_CLICKED) e_.UserButtonClick();
      result = 0;
      return true;
    }
    if (msg == WM_SIZE) {
      result = CallOriginal(msg, wp, lp);
      Rescale();
      return true;
    }
    return false;
  }

 protected:
  void Changed(const std::wstring& text) override { e_.UserTextChanged(text); }
  void ApplyLook() override {
    TEditPeerBase::ApplyLook();
    if (button_) EnableWindow(button_, e_.Usable());
  }

 private:
  TEdit& e_;
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

std::unique_ptr<TControlPeer> MakeEditPeer(TEdit& c) { return std::make_unique<TEditPeer>(c); }
std::unique_ptr<TControlPeer> MakeMemoPeer(TMemo& c) { return std::make_unique<TMemoPeer>(c); }

}  // namespace win32
