#include "fakes/recording_backend.h"

#include <algorithm>

namespace {

TRecordingBackend* gRecorder = nullptr;

// How a kind of control answers the mouse and the keyboard on Windows.
enum class TFlavor { Drawn, Panel, Button, Check, Radio, Edit, Memo, List, Combo, Tab, Picker };

class TRecordingPeer : public TControlPeer {
 public:
  TRecordingPeer(TRecordingBackend& b, TControl& c, TFlavor f) : b_(b), c_(c), f_(f) {
    b_.Stack(c_);
    if (c_.Showing()) b_.MakeWindows(c_);
  }
  ~TRecordingPeer() override {
    b_.Unstack(c_);
    if (b_.FocusedControl() == &c_) b_.SetFocused(nullptr);
    for (auto& [form, control] : b_.lastFocus) {
      if (control == &c_) control = nullptr;
    }
    b_.Forget(c_);
  }

  void Apply(TChange change) override {
    b_.Log(c_, change);
    if (change == TChange::Bounds && c_.Parent()) b_.Restack(*c_.Parent());
    if (change == TChange::Visible && c_.Showing()) b_.MakeWindows(c_);
    if ((change == TChange::Visible || change == TChange::Enabled) && b_.FocusedControl() == &c_ &&
        !(c_.Showing() && c_.Usable())) {
      b_.SetFocused(nullptr);
    }
  }

  void Perform(const TUserAction& a) override {
    // A click on a control that takes the focus gives it the focus first.
    const bool mouse = a.Kind == TActionKind::Click || a.Kind == TActionKind::DblClick ||
                       a.Kind == TActionKind::SelectRow || a.Kind == TActionKind::SelectTab;
    if (mouse && c_.TabStop()) Focus();
    switch (a.Kind) {
      case TActionKind::Click:
        if (f_ == TFlavor::Drawn || f_ == TFlavor::Panel) {
          c_.UserMouseDown(TMouseButton::Left);
          c_.UserClick();
        } else if (f_ == TFlavor::Button || f_ == TFlavor::Check || f_ == TFlavor::Radio) {
          c_.UserClick();
        }
        break;
      case TActionKind::DblClick:
        if (f_ == TFlavor::Drawn || f_ == TFlavor::Panel) {
          c_.UserMouseDown(TMouseButton::Left);
          c_.UserClick();
          c_.UserDblClick();
        } else if (f_ == TFlavor::Radio) {
          c_.UserClick();
          c_.UserDblClick();
        } else if (f_ == TFlavor::Button || f_ == TFlavor::Check) {
          c_.UserClick();
          c_.UserClick();
        } else if (f_ == TFlavor::List && static_cast<TListBox&>(c_).ItemIndex() >= 0) {
          auto& list = static_cast<TListBox&>(c_);
          list.UserSelected(list.ItemIndex());
          c_.UserDblClick();
        }
        break;
      case TActionKind::MouseDown:
        if (f_ == TFlavor::Drawn || f_ == TFlavor::Panel) c_.UserMouseDown(a.Button);
        break;
      case TActionKind::MouseEnter:
        c_.UserMouseEnter();
        break;
      case TActionKind::MouseLeave:
        c_.UserMouseLeave();
        break;
      case TActionKind::PressKey:
        PressKey(static_cast<std::uint16_t>(a.Index));
        break;
      case TActionKind::TypeText:
        Focus();
        if (f_ == TFlavor::Edit) static_cast<TEdit&>(c_).UserTextChanged(a.Text);
        if (f_ == TFlavor::Memo) static_cast<TMemo&>(c_).UserTextChanged(ReadBack(a.Text));
        if (f_ == TFlavor::Combo) static_cast<TComboBox&>(c_).UserTextChanged(a.Text);
        break;
      case TActionKind::SelectRow:
        static_cast<TListBox&>(c_).UserSelected(a.Index);
        break;
      case TActionKind::SelectTab:
        static_cast<TTabControl&>(c_).UserSelectedTab(a.Index);
        break;
      case TActionKind::PickItem:
        Focus();
        static_cast<TComboBox&>(c_).UserPicked(a.Index);
        break;
      case TActionKind::PickValue:
        Focus();
        static_cast<TDateTimePicker&>(c_).UserPicked(a.Value);
        break;
      case TActionKind::ButtonClick:
        static_cast<TEdit&>(c_).UserButtonClick();
        break;
      case TActionKind::ContextMenu: {
        // The mouse goes to the row's middle and its right button opens
        // the menu there, the row selected and the list focused.
        Focus();
        const TPoint at = RowPlace(a.Index, true);
        b_.mouse = at;
        static_cast<TListBox&>(c_).UserContextMenu(a.Index, at);
        break;
      }
    }
  }

  void Focus() override {
    if (c_.TabStop()) b_.SetFocused(&c_);
  }
  bool Focused() const override { return b_.FocusedControl() == &c_; }
  void* Handle() const override { return nullptr; }
  bool Made() const override { return b_.IsMade(c_); }

 private:
  // A multi-line edit keeps each line break as CR LF; the peer reads its
  // text back with the single CR the model keeps.
  static std::wstring ReadBack(const std::wstring& typed) {
    std::wstring out;
    for (std::size_t i = 0; i < typed.size(); ++i) {
      out += typed[i];
      if (typed[i] == L'\r' && i + 1 < typed.size() && typed[i + 1] == L'\n') ++i;
    }
    return out;
  }

  // A list row's place on the screen, as the Win32 half takes it for a menu:
  // the middle of the row for the mouse, a row's height in from its left
  // for the keyboard, the list's corner with no row. The form's client area
  // stands at its design place.
  TPoint RowPlace(int row, bool middle) const {
    TPoint at{0, 0};
    for (const TControl* c = &c_; c; c = c->Parent()) {
      at.X += c->Left();
      at.Y += c->Top();
    }
    const int h = static_cast<const TListBox&>(c_).ItemHeight();
    if (row < 0) return at;
    return {at.X + (middle ? c_.Width() / 2 : h), at.Y + row * h + h / 2};
  }

  // Keys go to the focused control, as the dialog manager hands them on.
  void PressKey(std::uint16_t key) {
    if (!Focused()) return;
    if (key == kVkTab) {
      // The form's own Tab handling moves on to the next reachable stop.
      if (TControl* next = c_.OwningForm()->NextTabStop(&c_, false)) b_.SetFocused(next);
      return;
    }
    if (key == kVkEscape) {
      // The dialog manager hands Escape to the form.
      c_.OwningForm()->UserEscape();
      return;
    }
    const bool arrow = key == kVkUp || key == kVkDown || key == kVkLeft || key == kVkRight;
    if (f_ == TFlavor::Radio && arrow) {
      // As an automatic radio button: the next of the group is focused and
      // clicked.
      TRadioButton* next = c_.OwningForm()->NextInGroup(static_cast<TRadioButton&>(c_),
                                                        key == kVkUp || key == kVkLeft);
      b_.SetFocused(next);
      next->UserClick();
      return;
    }
    switch (f_) {
      case TFlavor::Button:
        if (key == kVkReturn || key == L' ') c_.UserClick();
        break;
      case TFlavor::Check:
      case TFlavor::Radio:
        if (key == L' ') c_.UserClick();
        break;
      case TFlavor::List: {
        auto& list = static_cast<TListBox&>(c_);
        c_.UserKeyDown(key);
        if (key == kVkApps) {
          list.UserContextMenu(-1, RowPlace(list.ItemIndex(), false));
          break;
        }
        const int n = static_cast<int>(list.Items().size());
        const int i = list.ItemIndex();
        int next = i;
        if (key == kVkDown) next = i < 0 ? 0 : std::min(i + 1, n - 1);
        if (key == kVkUp) next = i < 0 ? 0 : std::max(i - 1, 0);
        if (n > 0 && next != i) list.UserSelected(next);
        break;
      }
      default:
        break;
    }
  }

  TRecordingBackend& b_;
  TControl& c_;
  TFlavor f_;
};

class TRecordingFormPeer : public TFormPeer {
 public:
  TRecordingFormPeer(TRecordingBackend& b, TForm& f) : b_(b), f_(f) {}
  ~TRecordingFormPeer() override { b_.FormGone(f_); }

  void Apply(TChange change) override {
    b_.Log(f_, change);
    if (change == TChange::Visible) {
      if (f_.Visible()) {
        b_.MakeWindows(f_);
        b_.Activate(f_);
      } else {
        EndModal();
        b_.FormHidden(f_);
      }
    }
  }
  void Perform(const TUserAction&) override {}
  void Focus() override { b_.Activate(f_); }
  bool Focused() const override { return b_.ActiveForm() == &f_; }
  void* Handle() const override { return nullptr; }
  bool Made() const override { return b_.IsMade(f_); }

  void ShowNormal() override {
    b_.MakeWindows(f_);
    b_.Activate(f_);
  }
  void Prepare() override { b_.MakeWindows(f_, true); }
  void BringToForeground() override { b_.Activate(f_); }
  void StartDrag() override { ++b_.drags[&f_]; }
  void Place() override {}

  int RunModal() override {
    // Only what a user could use is disabled, and exactly that comes back.
    for (TForm* other : forms()) {
      if (other != &f_ && other->Visible() && other->Enabled()) {
        other->SetEnabled(false);
        disabled_.push_back(other);
      }
    }
    b_.MakeWindows(f_);
    b_.Activate(f_);
    int result = 0;
    if (auto script = b_.TakeModalScript(f_)) result = script(f_);
    if (f_.Visible()) f_.Close();
    EndModal();
    return result ? result : f_.ModalResult;
  }

  static std::vector<TForm*>& forms() {
    static std::vector<TForm*> all;
    return all;
  }

 private:
  void EndModal() {
    for (TForm* f : disabled_) f->SetEnabled(true);
    disabled_.clear();
  }
  TRecordingBackend& b_;
  TForm& f_;
  std::vector<TForm*> disabled_;
};

class TRecordingTimerPeer : public TTimerPeer {
 public:
  void Restart() override {}
};

class TRecordingMenuPeer : public TMenuPeer {
 public:
  TRecordingMenuPeer(TRecordingBackend& b, TPopupMenu& m) : b_(b), m_(m) {}
  int Track(int x, int y) override {
    TRecordingBackend::TMenuShown shown{x, y, {}, {}};
    for (const auto& item : m_.Items) {
      shown.Captions.push_back(item.Caption);
      shown.Enabled.push_back(item.Enabled && !item.Separator);
    }
    b_.menusShown_.push_back(shown);
    const int choice = b_.TakeMenuChoice();
    // A greyed item cannot be chosen: the menu stays, then closes unchosen.
    if (choice >= 0 && choice < static_cast<int>(shown.Enabled.size()) &&
        !shown.Enabled[static_cast<std::size_t>(choice)]) {
      return -1;
    }
    return choice;
  }

 private:
  TRecordingBackend& b_;
  TPopupMenu& m_;
};

class TRecordingTrayPeer : public TTrayPeer {
 public:
  TRecordingTrayPeer(TRecordingBackend& b, TTrayIcon& t) : b_(b), t_(t) {
    b_.trayIcons.push_back(&t_);
  }
  ~TRecordingTrayPeer() override {
    auto& v = b_.trayIcons;
    v.erase(std::remove(v.begin(), v.end(), &t_), v.end());
  }
  void Apply() override {
    auto& tray = b_.tray_;
    if (t_.Visible() && !tray.Added) ++tray.Adds;
    tray.Added = t_.Visible();
    tray.Hint = t_.Hint();
  }
  void Perform(TMouseButton button, bool press) override {
    if (b_.tray_.Added) t_.UserMouse(button, press);
  }
  TPoint MousePos() const override { return b_.mouse; }

 private:
  TRecordingBackend& b_;
  TTrayIcon& t_;
};

template <typename C>
std::unique_ptr<TControlPeer> Make(TRecordingBackend& b, C& c, TFlavor f) {
  return std::make_unique<TRecordingPeer>(b, c, f);
}

}  // namespace

TRecordingBackend& Recorder() { return *gRecorder; }

TRecordingBackend::TRecordingBackend() { gRecorder = this; }
TRecordingBackend::~TRecordingBackend() {
  if (gRecorder == this) gRecorder = nullptr;
}

std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TPanel& c) {
  return Make(*this, c, TFlavor::Panel);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TButton& c) {
  return Make(*this, c, TFlavor::Button);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TCheckBox& c) {
  return Make(*this, c, TFlavor::Check);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TRadioButton& c) {
  return Make(*this, c, TFlavor::Radio);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TEdit& c) {
  return Make(*this, c, TFlavor::Edit);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TMemo& c) {
  return Make(*this, c, TFlavor::Memo);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TListBox& c) {
  return Make(*this, c, TFlavor::List);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TComboBox& c) {
  return Make(*this, c, TFlavor::Combo);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TTabControl& c) {
  return Make(*this, c, TFlavor::Tab);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TDateTimePicker& c) {
  return Make(*this, c, TFlavor::Picker);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TLabel& c) {
  return Make(*this, c, TFlavor::Drawn);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TTextImage& c) {
  return Make(*this, c, TFlavor::Drawn);
}
std::unique_ptr<TControlPeer> TRecordingBackend::CreatePeer(TGradientStrip& c) {
  return Make(*this, c, TFlavor::Drawn);
}
std::unique_ptr<TFormPeer> TRecordingBackend::CreateFormPeer(TForm& form) {
  TRecordingFormPeer::forms().push_back(&form);
  return std::make_unique<TRecordingFormPeer>(*this, form);
}
std::unique_ptr<TTimerPeer> TRecordingBackend::CreateTimerPeer(TTimer&) {
  return std::make_unique<TRecordingTimerPeer>();
}
std::unique_ptr<TMenuPeer> TRecordingBackend::CreateMenuPeer(TPopupMenu& menu) {
  return std::make_unique<TRecordingMenuPeer>(*this, menu);
}
std::unique_ptr<TTrayPeer> TRecordingBackend::CreateTrayPeer(TTrayIcon& icon) {
  return std::make_unique<TRecordingTrayPeer>(*this, icon);
}

const std::vector<TChange>& TRecordingBackend::Applied(const TControl& c) const {
  static const std::vector<TChange> none;
  const auto it = log_.find(&c);
  return it == log_.end() ? none : it->second;
}

int TRecordingBackend::Count(const TControl& c, TChange change) const {
  const auto& v = Applied(c);
  return static_cast<int>(std::count(v.begin(), v.end(), change));
}

int TRecordingBackend::DragCount(const TForm& form) const {
  const auto it = drags.find(&form);
  return it == drags.end() ? 0 : it->second;
}

void TRecordingBackend::Stack(const TControl& c) {
  if (!c.Parent()) return;
  // As the Win32 half places a new window: just below the nearest sibling
  // above it in the model's stacking that has one, or on top.
  auto& stack = stacks_[c.Parent()];
  const std::vector<TControl*> order = c.Parent()->StackedChildren();
  auto self = std::find(order.begin(), order.end(), &c);
  auto at = stack.begin();
  while (self != order.begin()) {
    --self;
    auto above = std::find(stack.begin(), stack.end(), *self);
    if (above != stack.end()) {
      at = above + 1;
      break;
    }
  }
  stack.insert(at, &c);
}

void TRecordingBackend::Restack(const TControl& parent) {
  const auto it = stacks_.find(&parent);
  if (it == stacks_.end()) return;
  std::vector<const TControl*> stack;
  for (const TControl* c : parent.StackedChildren()) {
    if (std::find(it->second.begin(), it->second.end(), c) != it->second.end()) stack.push_back(c);
  }
  it->second = std::move(stack);
}

void TRecordingBackend::Unstack(const TControl& c) {
  if (!c.Parent()) return;
  auto& stack = stacks_[c.Parent()];
  stack.erase(std::remove(stack.begin(), stack.end(), &c), stack.end());
  if (stack.empty()) stacks_.erase(c.Parent());
}

std::vector<const TControl*> TRecordingBackend::Stacking(const TControl& parent) const {
  const auto it = stacks_.find(&parent);
  return it == stacks_.end() ? std::vector<const TControl*>{} : it->second;
}

void TRecordingBackend::TaskbarCreated() {
  tray_.Added = false;
  for (TTrayIcon* t : trayIcons) t->Peer().Apply();
}

void TRecordingBackend::Activate(TForm& form) {
  if (!form.Visible() || active_ == &form) return;
  TForm* previous = active_;
  if (previous) {
    lastFocus[previous] = focused_;
    previous->Deactivated();
  }
  ActivateFrom(form, previous);
}

void TRecordingBackend::ActivateFrom(TForm& form, TForm* previous) {
  active_ = &form;
  activeOrder_.erase(std::remove(activeOrder_.begin(), activeOrder_.end(), &form),
                     activeOrder_.end());
  activeOrder_.push_back(&form);
  // The focus goes back where it was on this form, or to its first control
  // in the Tab order.
  TControl* focus = lastFocus[&form];
  if (!focus || !focus->Showing() || !focus->Usable()) focus = form.NextTabStop(nullptr, false);
  focused_ = focus;
  form.Activated(previous);
}

void TRecordingBackend::FormHidden(TForm& form) {
  activeOrder_.erase(std::remove(activeOrder_.begin(), activeOrder_.end(), &form),
                     activeOrder_.end());
  if (active_ != &form) return;
  lastFocus[&form] = focused_;
  active_ = nullptr;
  focused_ = nullptr;
  // Windows gives the activation back to the window that had it before.
  for (auto it = activeOrder_.rbegin(); it != activeOrder_.rend(); ++it) {
    if ((*it)->Visible() && (*it)->Enabled()) {
      ActivateFrom(**it, &form);
      return;
    }
  }
}

void TRecordingBackend::FormGone(TForm& form) {
  activeOrder_.erase(std::remove(activeOrder_.begin(), activeOrder_.end(), &form),
                     activeOrder_.end());
  auto& all = TRecordingFormPeer::forms();
  all.erase(std::remove(all.begin(), all.end(), &form), all.end());
  if (active_ == &form) active_ = nullptr;
  if (focused_ && focused_->OwningForm() == &form) focused_ = nullptr;
  lastFocus.erase(&form);
  modalScripts_.erase(&form);
  drags.erase(&form);
}

void TRecordingBackend::SetFocused(TControl* c) {
  focused_ = c;
  if (c) {
    if (TForm* f = c->OwningForm(); f && f != active_) Activate(*f);
    focused_ = c;
  }
}

std::function<int(TForm&)> TRecordingBackend::TakeModalScript(TForm& form) {
  auto it = modalScripts_.find(&form);
  if (it == modalScripts_.end()) return nullptr;
  auto script = std::move(it->second);
  modalScripts_.erase(it);
  return script;
}

int TRecordingBackend::TakeMenuChoice() {
  if (menuChoices_.empty()) return -1;
  const int choice = menuChoices_.front();
  menuChoices_.pop_front();
  return choice;
}

void TRecordingBackend::MakeWindows(const TControl& c, bool all) {
  made_.insert(&c);
  for (const TControl* child : c.Children()) {
    if (child->HasPeer() && (all ? child->Visible() : child->Showing())) MakeWindows(*child, all);
  }
}
