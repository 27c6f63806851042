// The editable drop-down box: COMBOBOX with CBS_DROPDOWN. Typing and
// picking an entry both end in the model's change event.
#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"

namespace win32 {
namespace {

// Rows of the dropped-down list, beyond the edit field.
constexpr int kDropRows = 10;

class TComboBoxPeer : public TWindowPeer {
 public:
  explicit TComboBoxPeer(TComboBox& c)
      : TWindowPeer(c, L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0,
                    c.Text()),
        c_(c) {
    Rescale();
    ApplyItems();
  }

  void Apply(TChange change) override {
    TWindowPeer::Apply(change);
    if (change == TChange::Bounds) FitHeight();
  }

  void Rescale() override {
    TWindowPeer::Rescale();
    FitHeight();
  }

  void FitHeight() {
    // The window's height is the field and its dropped-down list together.
    const UINT dpi = Dpi();
    SetWindowPos(Hwnd(), nullptr, 0, 0, Scale(c_.Width(), dpi),
                 Scale(c_.Height() + kDropRows * 16, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  bool OnCommand(WORD code, LRESULT&) override {
    if (Applying()) return true;
    if (code == CBN_EDITCHANGE) c_.UserTextChanged(WindowText(Hwnd()));
    if (code == CBN_SELCHANGE) {
      const int index = static_cast<int>(SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0));
      if (index >= 0) c_.UserPicked(index);
    }
    return true;
  }

  void Perform(const TUserAction& a) override {
    switch (a.Kind) {
      case TActionKind::TypeText: {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(Hwnd(), &info);
        SetFocus(info.hwndItem);
        SendMessageW(info.hwndItem, EM_SETSEL, 0, -1);
        SendMessageW(info.hwndItem, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(a.Text.c_str()));
        break;
      }
      case TActionKind::PickItem:
        // The entry chosen in the list, and the notice Windows sends for it.
        SetFocus(Hwnd());
        SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(a.Index), 0);
        SendMessageW(GetParent(Hwnd()), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Hwnd()));
        break;
      default:
        TWindowPeer::Perform(a);
        break;
    }
  }

 protected:
  void ApplyText() override {
    // No entry selected empties the field too: select first, then write.
    SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(c_.ItemIndex()), 0);
    SetWindowTextW(Hwnd(), c_.Text().c_str());
  }
  void ApplyItems() override {
    SendMessageW(Hwnd(), CB_RESETCONTENT, 0, 0);  // empties the field as well
    for (const std::wstring& item : c_.Items()) {
      SendMessageW(Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    ApplyState();
  }
  void ApplyState() override {
    if (c_.ItemIndex() >= 0) {
      SendMessageW(Hwnd(), CB_SETCURSEL, static_cast<WPARAM>(c_.ItemIndex()), 0);
    } else {
      ApplyText();
    }
  }

 private:
  TComboBox& c_;
};

}  // namespace

std::unique_ptr<TControlPeer> MakeComboBoxPeer(TComboBox& c) {
  return std::make_unique<TComboBoxPeer>(c);
}

}  // namespace win32
