// Forms: the top-level windows, their showing, activation and Tab order.
#pragma once

#include <string>
#include <vector>

#include "controls/control.h"

enum class TBorderStyle { None, Single, Dialog };

// Where a form appears when it is shown.
enum class TPosition { Designed, OwnerCenter };

// When OnActivate is raised.
enum class TActivation {
  // The first time, and when the focus comes back from a non-modal form of
  // the program; not after a modal dialog, a message box or another program.
  FirstAndBackFromModeless,
  // Every time the form is shown or becomes the active window.
  Always,
};

class TForm : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::Form;
  TControlKind ControlKind() const override { return kKind; }
  TForm(const std::wstring& caption, int left, int top, int clientWidth, int clientHeight,
        TBorderStyle border);
  ~TForm() override;

  TBorderStyle BorderStyle() const { return border_; }
  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }
  void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }

  // An owned form has no taskbar button of its own and stays above its owner.
  TForm* Owner() const { return owner_; }
  void SetOwner(TForm* owner);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position);
  TActivation Activation() const { return activation_; }
  void SetActivation(TActivation a) { activation_ = a; }

  // Forms start hidden. Showing raises OnShow the first time.
  void SetVisible(bool visible) override;
  // Shows in the normal state, on top of the program's windows.
  void ShowNormal();
  void BringToForeground();
  bool IsForeground() const { return foreground_; }
  // A close request (close box, system menu, code): raises OnClose, then
  // hides the form.
  void Close();
  // Shown modally: returns when the form closes, with its ModalResult.
  int ShowModal();
  bool IsModal() const { return modal_; }
  int ModalResult = 0;
  void StartDrag();

  // The window system: this form became the active window; `previous` is
  // the program's form that was active before, or null for a message box,
  // another program or nothing.
  void Activated(TForm* previous);
  void Deactivated() { foreground_ = false; }
  void MinimizedChanged(bool minimized);
  // Makes the windows of the form's controls now, while it is still hidden,
  // so that showing it later waits for nothing (the wake-up window).
  void PrepareWindows() { formPeer_->Prepare(); }

  // The controls of the form in Tab order (the order of their creation),
  // those inside panels included.
  std::vector<TControl*> TabOrder();
  // Where Tab (or Shift+Tab, `backward`) takes the focus from `from` (null:
  // from nowhere, the first or the last): the next reachable control, a
  // radio group entered at its checked button or, when none is checked or
  // reachable, at its first reachable one. Null when nothing can take the
  // focus.
  TControl* NextTabStop(const TControl* from, bool backward);
  // Where an arrow key takes the focus and the check inside a radio group:
  // the next (or previous) reachable button of its group, round the end.
  TRadioButton* NextInGroup(const TRadioButton& from, bool backward);

  std::function<void()> OnShow;
  // Each time the hidden form is shown (after OnShow, the first time),
  // before its window is: a dialog fills itself anew for every opening.
  std::function<void()> OnShowing;
  std::function<void()> OnActivate;
  std::function<void()> OnClose;
  // The window was minimised (true) or restored (false).
  std::function<void(bool)> OnMinimizedChanged;
  // Escape was pressed in the form (a dialog closes on it). Unset, Escape
  // does nothing, as in a window without a cancel button.
  std::function<void()> OnEscape;
  // Peers only: Escape reached the form.
  void UserEscape();

 private:
  TBorderStyle border_;
  TForm* owner_ = nullptr;
  TPosition position_ = TPosition::Designed;
  TActivation activation_ = TActivation::FirstAndBackFromModeless;
  bool shownOnce_ = false;
  bool activatedOnce_ = false;
  bool foreground_ = false;
  bool modal_ = false;
  bool lastShownModal_ = false;
  bool minimized_ = false;
  TFormPeer* formPeer_ = nullptr;
};
