#include "controls/control.h"

#include <algorithm>
#include <cmath>

#include "controls/dispatcher.h"
#include "controls/form.h"
#include "platform/errors.h"

namespace {
TBackend* gBackend = nullptr;

// A stored or picked value that is not a number shows as zero rather than
// as undefined behaviour in the date and time conversions.
double Finite(double v) { return std::isfinite(v) ? v : 0.0; }
}  // namespace

void SetBackend(TBackend* backend) { gBackend = backend; }
TBackend& Backend() {
  if (!gBackend) throw EAppError(L"no window backend is set");
  return *gBackend;
}

// ---- TControl

TControl::TControl(TControl* parent, int left, int top, int width, int height)
    : parent_(parent), left_(left), top_(top), width_(width), height_(height) {
  if (parent_) {
    parent_->children_.push_back(this);
    font_ = parent_->font_;
  }
}

TControl::~TControl() {
  peer_.reset();
  if (parent_) {
    auto& c = parent_->children_;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
  }
}

namespace {
// Whether one control covers part of another. Neighbours laid a pixel into
// each other so that their frames make one line (the command buttons, the
// images on the caption strip) do not count: which of the two draws that
// line is not seen, and lifting the lower one would turn a column's
// reading order upside down.
bool Overlap(const TControl& a, const TControl& b) {
  constexpr int kSharedEdge = 1;
  const int width = std::min(a.Right(), b.Right()) - std::max(a.Left(), b.Left());
  const int height = std::min(a.Bottom(), b.Bottom()) - std::max(a.Top(), b.Top());
  return width > kSharedEdge && height > kSharedEdge;
}
}  // namespace

std::vector<TControl*> TControl::StackedChildren() const {
  std::vector<TControl*> stack;  // top first
  for (TControl* c : children_) {
    // The stack holds only earlier siblings here: the first one c overlaps
    // is the topmost it covers, and c goes just above it. Covering none, c
    // goes below them all.
    auto at = std::find_if(stack.begin(), stack.end(),
                           [c](const TControl* earlier) { return Overlap(*earlier, *c); });
    stack.insert(at, c);
  }
  return stack;
}

TControl* TControl::NextAbove() const {
  if (!parent_) return nullptr;
  const std::vector<TControl*> stack = parent_->StackedChildren();
  auto it = std::find(stack.begin(), stack.end(), this);
  if (it == stack.end()) return nullptr;
  while (it != stack.begin()) {
    --it;
    if ((*it)->peer_ && (*it)->peer_->Made()) return *it;
  }
  return nullptr;
}

TForm* TControl::OwningForm() {
  TControl* c = this;
  while (c->parent_) c = c->parent_;
  return As<TForm>(c);
}

void TControl::Changed(TChange change) {
  if (peer_) peer_->Apply(change);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed(TChange::Bounds);
}

void TControl::SetCaption(const std::wstring& text) {
  if (text == caption_) return;
  caption_ = text;
  Changed(TChange::Text);
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(TChange::Visible);
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(TChange::Enabled);
}

bool TControl::Usable() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  Changed(TChange::Look);
}

void TControl::SetColor(TColor color) {
  color_ = color;
  Changed(TChange::Look);
}

void TControl::SetFocus() {
  if (Showing() && Usable()) peer_->Focus();
}

bool TControl::Focused() const { return peer_ && peer_->Focused(); }

void TControl::Perform(const TUserAction& action) {
  // A user cannot reach what is hidden or disabled.
  if (!Showing() || !Usable()) return;
  peer_->Perform(action);
}

void TControl::Click() { Perform({TActionKind::Click}); }
void TControl::DblClick() { Perform({TActionKind::DblClick}); }
void TControl::MouseDown(TMouseButton button) {
  TUserAction a{TActionKind::MouseDown};
  a.Button = button;
  Perform(a);
}
void TControl::MouseEnter() { Perform({TActionKind::MouseEnter}); }
void TControl::MouseLeave() { Perform({TActionKind::MouseLeave}); }
void TControl::PressKey(std::uint16_t key) {
  TUserAction a{TActionKind::PressKey};
  a.Index = key;
  Perform(a);
}

void TControl::Raise(const std::function<void()>& handler) {
  if (handler) DispatchEvent(handler);
}

void TControl::UserClick() { Raise(OnClick); }
void TControl::UserDblClick() { Raise(OnDblClick); }
void TControl::UserMouseDown(TMouseButton button) {
  if (OnMouseDown) DispatchEvent([&] { OnMouseDown(button); });
}
void TControl::UserMouseEnter() { Raise(OnMouseEnter); }
void TControl::UserMouseLeave() { Raise(OnMouseLeave); }
void TControl::UserKeyDown(std::uint16_t key) {
  if (OnKeyDown) DispatchEvent([&] { OnKeyDown(key); });
}

// ---- panels and buttons

TPanel::TPanel(TControl* parent, int left, int top, int width, int height, TBevel bevel)
    : TControl(parent, left, top, width, height), bevel_(bevel) {
  AdoptPeer(Backend().CreatePeer(*this));
}

TButton::TButton(TControl* parent, int left, int top, int width, int height,
                 const std::wstring& caption)
    : TControl(parent, left, top, width, height) {
  StoreCaption(caption);
  AdoptPeer(Backend().CreatePeer(*this));
}

void TButton::SetGlyph(TGlyph glyph) {
  glyph_ = glyph;
  Changed(TChange::Look);
}

TCheckBox::TCheckBox(TControl* parent, int left, int top, int width, int height,
                     const std::wstring& caption, bool allowGrayed)
    : TControl(parent, left, top, width, height), allowGrayed_(allowGrayed) {
  StoreCaption(caption);
  AdoptPeer(Backend().CreatePeer(*this));
}

void TCheckBox::SetState(TCheckState state) {
  if (state == TCheckState::Grayed && !allowGrayed_) state = TCheckState::Checked;
  if (state == state_) return;
  state_ = state;
  Changed(TChange::State);
}

void TCheckBox::Check(bool checked) {
  // Grayed is neither: "not checked" must still click it to unchecked.
  const TCheckState want = checked ? TCheckState::Checked : TCheckState::Unchecked;
  for (int i = 0; i < 2 && state_ != want; ++i) Click();
}

void TCheckBox::UserClick() {
  state_ = state_ == TCheckState::Checked ? TCheckState::Unchecked : TCheckState::Checked;
  Changed(TChange::State);
  Raise(OnClick);
}

TRadioButton::TRadioButton(TControl* parent, int left, int top, int width, int height,
                           const std::wstring& caption)
    : TControl(parent, left, top, width, height) {
  StoreCaption(caption);
  AdoptPeer(Backend().CreatePeer(*this));
}

void TRadioButton::SetChecked(bool checked) {
  if (checked && Parent()) {
    for (TControl* sibling : Parent()->Children()) {
      auto* radio = As<TRadioButton>(sibling);
      if (radio && radio != this && radio->checked_) {
        radio->checked_ = false;
        radio->Changed(TChange::State);
      }
    }
  }
  if (checked == checked_) return;
  checked_ = checked;
  Changed(TChange::State);
}

void TRadioButton::UserClick() {
  SetChecked(true);
  Raise(OnClick);
}

// ---- text fields

TEdit::TEdit(TControl* parent, int left, int top, int width, int height, bool ellipsisButton)
    : TControl(parent, left, top, width, height), hasButton_(ellipsisButton) {
  SetColor(clWindow);
  AdoptPeer(Backend().CreatePeer(*this));
}

void TEdit::TypeText(const std::wstring& text) {
  TUserAction a{TActionKind::TypeText};
  a.Text = text;
  Perform(a);
}

void TEdit::ButtonClick() {
  if (hasButton_) Perform({TActionKind::ButtonClick});  // no button, nothing to press
}

void TEdit::UserTextChanged(const std::wstring& text) {
  StoreCaption(text);
  Raise(OnChange);
}

void TEdit::UserButtonClick() { Raise(OnButtonClick); }

TMemo::TMemo(TControl* parent, int left, int top, int width, int height, bool readOnly)
    : TControl(parent, left, top, width, height), readOnly_(readOnly) {
  SetColor(clWindow);
  AdoptPeer(Backend().CreatePeer(*this));
}

void TMemo::TypeText(const std::wstring& text) {
  if (readOnly_) return;
  TUserAction a{TActionKind::TypeText};
  a.Text = text;
  Perform(a);
}

void TMemo::UserTextChanged(const std::wstring& text) {
  StoreCaption(text);
  Raise(OnChange);
}

// ---- lists

TListBox::TListBox(TControl* parent, int left, int top, int width, int height, int itemHeight)
    : TControl(parent, left, top, width, height), itemHeight_(itemHeight) {
  SetColor(clWindow);
  AdoptPeer(Backend().CreatePeer(*this));
}

void TListBox::SetItems(std::vector<std::wstring> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  Changed(TChange::Items);
}

void TListBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed(TChange::State);
}

void TListBox::SelectRow(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  TUserAction a{TActionKind::SelectRow};
  a.Index = index;
  Perform(a);
}

void TListBox::UserSelected(int index) {
  itemIndex_ = index;
  Raise(OnClick);
}

void TListBox::RightClickRow(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  TUserAction a{TActionKind::ContextMenu};
  a.Index = index;
  Perform(a);
}

void TListBox::UserContextMenu(int row, TPoint at) {
  if (row >= 0 && row < static_cast<int>(items_.size())) itemIndex_ = row;
  if (OnContextMenu) DispatchEvent([&] { OnContextMenu(at); });
}

TComboBox::TComboBox(TControl* parent, int left, int top, int width, int height)
    : TControl(parent, left, top, width, height) {
  SetColor(clWindow);
  AdoptPeer(Backend().CreatePeer(*this));
}

int TComboBox::IndexOf(const std::wstring& text) const {
  const auto it = std::find(items_.begin(), items_.end(), text);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TComboBox::SetItems(std::vector<std::wstring> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  Changed(TChange::Items);
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  itemIndex_ = index;
  if (index >= 0) StoreCaption(items_[static_cast<std::size_t>(index)]);
  Changed(TChange::State);
}

void TComboBox::SetText(const std::wstring& text) {
  itemIndex_ = IndexOf(text);
  if (text == Caption()) return;
  StoreCaption(text);
  Changed(TChange::Text);
}

void TComboBox::TypeText(const std::wstring& text) {
  TUserAction a{TActionKind::TypeText};
  a.Text = text;
  Perform(a);
}

void TComboBox::PickItem(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  TUserAction a{TActionKind::PickItem};
  a.Index = index;
  Perform(a);
}

void TComboBox::UserTextChanged(const std::wstring& text) {
  // Typed text is not a pick from the list, even when it matches an entry.
  StoreCaption(text);
  itemIndex_ = -1;
  Raise(OnChange);
}

void TComboBox::UserPicked(int index) {
  itemIndex_ = index;
  StoreCaption(items_[static_cast<std::size_t>(index)]);
  Raise(OnChange);
}

TTabControl::TTabControl(TControl* parent, int left, int top, int width, int height, int tabHeight)
    : TControl(parent, left, top, width, height), tabHeight_(tabHeight) {
  AdoptPeer(Backend().CreatePeer(*this));
}

void TTabControl::SetTabs(std::vector<std::wstring> tabs) {
  tabs_ = std::move(tabs);
  if (tabIndex_ >= static_cast<int>(tabs_.size())) tabIndex_ = tabs_.empty() ? -1 : 0;
  if (tabIndex_ < 0 && !tabs_.empty()) tabIndex_ = 0;
  Changed(TChange::Items);
}

void TTabControl::SetTabIndex(int index) {
  if (index < 0 || index >= static_cast<int>(tabs_.size()) || index == tabIndex_) return;
  tabIndex_ = index;
  Changed(TChange::State);
}

void TTabControl::SelectTab(int index) {
  if (index < 0 || index >= static_cast<int>(tabs_.size())) return;
  TUserAction a{TActionKind::SelectTab};
  a.Index = index;
  Perform(a);
}

void TTabControl::UserSelectedTab(int index) {
  // A click on the tab that is already selected changes nothing.
  if (index == tabIndex_) return;
  tabIndex_ = index;
  Raise(OnTabClick);
}

// ---- date and time

namespace {
double Normalize(TDateTimePicker::TKind kind, double v) {
  v = Finite(v);
  if (kind == TDateTimePicker::TKind::Date) return std::floor(v);
  // A time of day: the magnitude of the fraction, to whole milliseconds.
  double frac = std::fabs(v - std::trunc(v));
  frac = std::round(frac * 86400000.0) / 86400000.0;
  return frac >= 1.0 ? 0.0 : frac;
}
}  // namespace

TDateTimePicker::TDateTimePicker(TControl* parent, int left, int top, int width, int height,
                                 TKind kind, double value)
    : TControl(parent, left, top, width, height), kind_(kind), value_(Normalize(kind, value)) {
  SetColor(clWindow);
  AdoptPeer(Backend().CreatePeer(*this));
}

void TDateTimePicker::SetValue(double value) {
  value = Normalize(kind_, value);
  if (value == value_) return;
  value_ = value;
  Changed(TChange::State);
}

void TDateTimePicker::PickValue(double value) {
  TUserAction a{TActionKind::PickValue};
  a.Value = Normalize(kind_, value);
  Perform(a);
}

void TDateTimePicker::UserPicked(double value) {
  value_ = Normalize(kind_, value);
  Raise(OnChange);
}

// ---- drawn controls

TLabel::TLabel(TControl* parent, int left, int top, int width, int height,
               const std::wstring& caption, unsigned style)
    : TControl(parent, left, top, width, height), style_(style) {
  StoreCaption(caption);
  AdoptPeer(Backend().CreatePeer(*this));
}

void TLabel::SetShadowColor(TColor c) {
  shadow_ = c;
  Changed(TChange::Look);
}
void TLabel::SetShadowDepth(int depth) {
  shadowDepth_ = depth;
  Changed(TChange::Look);
}
void TLabel::SetCentered(bool c) {
  centered_ = c;
  Changed(TChange::Look);
}
void TLabel::SetBorder(bool b) {
  border_ = b;
  Changed(TChange::Look);
}
void TLabel::SetTransparent(bool t) {
  transparent_ = t;
  Changed(TChange::Look);
}
void TLabel::SetHoverColor(TColor c) {
  hover_ = c;
  Changed(TChange::Look);
}
void TLabel::SetCursor(TCursor c) {
  cursor_ = c;
  Changed(TChange::Look);
}

void TLabel::UserMouseEnter() {
  if (hovered_) return;
  hovered_ = true;
  Changed(TChange::Look);
  TControl::UserMouseEnter();
}

void TLabel::UserMouseLeave() {
  if (!hovered_) return;
  hovered_ = false;
  Changed(TChange::Look);
  TControl::UserMouseLeave();
}

TTextImage::TTextImage(TControl* parent, int left, int top, int width, int height,
                       const std::wstring& caption)
    : TControl(parent, left, top, width, height) {
  StoreCaption(caption);
  AdoptPeer(Backend().CreatePeer(*this));
}

TGradientStrip::TGradientStrip(TControl* parent, int left, int top, int width, int height,
                               TColor edge, TColor centre)
    : TControl(parent, left, top, width, height), edge_(edge), centre_(centre) {
  AdoptPeer(Backend().CreatePeer(*this));
}
