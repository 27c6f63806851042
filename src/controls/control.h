// The control model. A control holds its own state (place, text, look,
// enabled, visible, checked, items, selection, value) and a peer that owns
// its window in the window system; tests install a recording backend whose
// peers have no window. Setting a property from code stores it and applies
// it to the peer; it raises no event. A user's action (Click, SelectRow,
// TypeText, ...) asks the peer to perform it as a user would; the peer
// reports what happened through the control's User... methods, which store
// the new value and raise the events through DispatchEvent. Both halves take
// that one road, so the same tests prove both.
//
// Places and sizes are design pixels (96 dpi); the peers scale them to the
// screen.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/backend.h"

// What a control is, for the code that treats some kinds apart (radio
// groups, drawn controls over a strip). The program is built without
// run-time type information, which costs a sixteenth of it.
enum class TControlKind {
  Form, Panel, Button, CheckBox, RadioButton, Edit, Memo, ListBox, ComboBox, TabControl,
  DateTimePicker, Label, TextImage, GradientStrip,
};

class TControl {
 public:
  TControl(TControl* parent, int left, int top, int width, int height);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  virtual TControlKind ControlKind() const = 0;
  TControl* Parent() const { return parent_; }
  // In the order of the form's description.
  const std::vector<TControl*>& Children() const { return children_; }
  // The children as their windows stack, top first. That is the order of
  // the description, the first on top as in a Windows dialog, because
  // screen readers and UI Automation walk sibling windows from the top and
  // should meet them as they are laid out. The one exception: a child that
  // overlaps ones declared before it lies just above the topmost of those,
  // so that what is drawn over something stays over it and takes the
  // clicks there. Neighbours that share only an edge line (laid one pixel
  // into each other) do not overlap in this sense.
  std::vector<TControl*> StackedChildren() const;
  TControlPeer& Peer() const { return *peer_; }
  bool HasPeer() const { return peer_ != nullptr; }
  // The nearest sibling above this one in that stacking whose window is
  // made: the one this control's window lies just below. Null when none
  // (the window goes on top), or on a form.
  TControl* NextAbove() const;
  TForm* OwningForm();

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Right() const { return left_ + width_; }
  int Bottom() const { return top_ + height_; }
  void SetBounds(int left, int top, int width, int height);
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& text);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible itself and inside visible parents.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Enabled itself and inside enabled parents: what a user can reach.
  bool Usable() const;

  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // Takes part in the Tab order (buttons, boxes, fields, lists).
  virtual bool TabStop() const { return false; }
  // Focus from code, as a click on the control gives it.
  void SetFocus();
  bool Focused() const;

  // A user's actions. Each goes through the peer; a control that is hidden
  // or disabled cannot be reached and nothing happens.
  void Click();
  void DblClick();
  void MouseDown(TMouseButton button);
  void MouseEnter();
  void MouseLeave();
  void PressKey(std::uint16_t key);

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(TMouseButton)> OnMouseDown;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;
  std::function<void(std::uint16_t)> OnKeyDown;

  // Peers only: the window system reports a user's action.
  virtual void UserClick();
  void UserDblClick();
  void UserMouseDown(TMouseButton button);
  virtual void UserMouseEnter();
  virtual void UserMouseLeave();
  void UserKeyDown(std::uint16_t key);

 protected:
  // Each concrete control adopts its peer last in its constructor:
  // AdoptPeer(Backend().CreatePeer(*this)).
  void AdoptPeer(std::unique_ptr<TControlPeer> peer) { peer_ = std::move(peer); }
  void Changed(TChange change);
  void Perform(const TUserAction& action);
  // Store a value the window already shows, without applying it again.
  void StoreCaption(const std::wstring& text) { caption_ = text; }
  void StoreVisible(bool visible) { visible_ = visible; }
  static void Raise(const std::function<void()>& handler);

 private:
  TControl* parent_;
  std::vector<TControl*> children_;
  std::unique_ptr<TControlPeer> peer_;
  int left_, top_, width_, height_;
  std::wstring caption_;
  bool visible_ = true;
  bool enabled_ = true;
  TFont font_;
  TColor color_ = clBtnFace;
};

enum class TBevel { None, Sunken };

class TPanel : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::Panel;
  TControlKind ControlKind() const override { return kKind; }
  TPanel(TControl* parent, int left, int top, int width, int height, TBevel bevel = TBevel::None);
  TBevel Bevel() const { return bevel_; }

 private:
  TBevel bevel_;
};

class TButton : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::Button;
  TControlKind ControlKind() const override { return kKind; }
  TButton(TControl* parent, int left, int top, int width, int height, const std::wstring& caption);
  // A small picture before the caption: the name of one of the built-in glyphs.
  enum class TGlyph { None, New, Edit, Delete, Options, Info };
  TGlyph Glyph() const { return glyph_; }
  void SetGlyph(TGlyph glyph);
  bool TabStop() const override { return true; }

 private:
  TGlyph glyph_ = TGlyph::None;
};

enum class TCheckState { Unchecked, Checked, Grayed };

// A check box whose model decides the cycle: a click turns unchecked into
// checked, checked into unchecked and grayed into checked. Grayed is only
// ever set from code.
class TCheckBox : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::CheckBox;
  TControlKind ControlKind() const override { return kKind; }
  TCheckBox(TControl* parent, int left, int top, int width, int height,
            const std::wstring& caption, bool allowGrayed = false);
  bool AllowGrayed() const { return allowGrayed_; }
  TCheckState State() const { return state_; }
  bool Checked() const { return state_ == TCheckState::Checked; }
  void SetState(TCheckState state);
  void SetChecked(bool checked) { SetState(checked ? TCheckState::Checked : TCheckState::Unchecked); }
  // Clicks as a user would until the box shows the state; at most two clicks.
  void Check(bool checked);
  bool TabStop() const override { return true; }
  void UserClick() override;

 private:
  bool allowGrayed_;
  TCheckState state_ = TCheckState::Unchecked;
};

// Radio buttons with the same parent form one group: checking one, from
// code or by a click, unchecks the others.
class TRadioButton : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::RadioButton;
  TControlKind ControlKind() const override { return kKind; }
  TRadioButton(TControl* parent, int left, int top, int width, int height,
               const std::wstring& caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  bool TabStop() const override { return true; }
  void UserClick() override;

 private:
  bool checked_ = false;
};

// A single-line text field. With an ellipsis button it raises
// OnButtonClick when that button is pressed.
class TEdit : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::Edit;
  TControlKind ControlKind() const override { return kKind; }
  TEdit(TControl* parent, int left, int top, int width, int height, bool ellipsisButton = false);
  const std::wstring& Text() const { return Caption(); }
  void SetText(const std::wstring& text) { SetCaption(text); }
  bool HasButton() const { return hasButton_; }
  bool TabStop() const override { return true; }

  // A user's typing: the field ends up holding exactly this text.
  void TypeText(const std::wstring& text);
  void ButtonClick();
  std::function<void()> OnChange;
  std::function<void()> OnButtonClick;

  // Peers only.
  void UserTextChanged(const std::wstring& text);
  void UserButtonClick();

 private:
  bool hasButton_;
};

// A multi-line text box with both scroll bars. Its text keeps lines apart
// with a lone carriage return, as stored texts do; the window shows each as
// a line break, and what a user types reads back the same way.
class TMemo : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::Memo;
  TControlKind ControlKind() const override { return kKind; }
  TMemo(TControl* parent, int left, int top, int width, int height, bool readOnly = true);
  const std::wstring& Text() const { return Caption(); }
  void SetText(const std::wstring& text) { SetCaption(text); }
  void Clear() { SetCaption(std::wstring()); }
  bool ReadOnly() const { return readOnly_; }
  bool TabStop() const override { return true; }
  // Draws at once rather than at the next idle moment.
  void Repaint() { Changed(TChange::Repaint); }

  void TypeText(const std::wstring& text);
  std::function<void()> OnChange;
  void UserTextChanged(const std::wstring& text);

 private:
  bool readOnly_;
};

// A list of text rows with at most one selected; ItemIndex is -1 for none
// and every refill clears it. A click on a row selects it and raises
// OnClick; keys reach OnKeyDown with their virtual-key code, Enter and
// Delete included.
class TListBox : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::ListBox;
  TControlKind ControlKind() const override { return kKind; }
  TListBox(TControl* parent, int left, int top, int width, int height, int itemHeight = 13);
  const std::vector<std::wstring>& Items() const { return items_; }
  void SetItems(std::vector<std::wstring> items);
  void Clear() { SetItems({}); }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  int ItemHeight() const { return itemHeight_; }
  bool TabStop() const override { return true; }

  void SelectRow(int index);
  void UserSelected(int index);

  // A user's right click on a row, which selects the row first, as Windows
  // lists do. The menu key and Shift+F10 (PressKey) ask for the selected
  // row's menu.
  void RightClickRow(int index);
  // The row's menu is asked for; `at` is where it opens, in the screen's
  // own pixels: at the mouse for a click, at the selected row for a key.
  std::function<void(TPoint at)> OnContextMenu;
  // Peers only: `row` (-1: the selection stays) becomes the selection, with
  // no click, then OnContextMenu.
  void UserContextMenu(int row, TPoint at);

 private:
  std::vector<std::wstring> items_;
  int itemIndex_ = -1;
  int itemHeight_;
};

// An editable drop-down box: its text can be typed or picked from the
// entries; OnChange follows both.
class TComboBox : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::ComboBox;
  TControlKind ControlKind() const override { return kKind; }
  TComboBox(TControl* parent, int left, int top, int width, int height);
  const std::vector<std::wstring>& Items() const { return items_; }
  void SetItems(std::vector<std::wstring> items);  // the text stays; no entry selected
  void Clear() { SetItems({}); }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);  // also sets the text
  const std::wstring& Text() const { return Caption(); }
  void SetText(const std::wstring& text);  // selects the entry of that text, if any
  bool TabStop() const override { return true; }

  void TypeText(const std::wstring& text);
  void PickItem(int index);
  std::function<void()> OnChange;

  void UserTextChanged(const std::wstring& text);
  void UserPicked(int index);

 private:
  int IndexOf(const std::wstring& text) const;
  std::vector<std::wstring> items_;
  int itemIndex_ = -1;
};

// Tabs on several rows; a caption may hold a carriage return for a second
// line. The tab control draws only the tabs: what belongs to a tab lies
// beside it on the same parent.
class TTabControl : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::TabControl;
  TControlKind ControlKind() const override { return kKind; }
  TTabControl(TControl* parent, int left, int top, int width, int height, int tabHeight);
  const std::vector<std::wstring>& Tabs() const { return tabs_; }
  void SetTabs(std::vector<std::wstring> tabs);
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int index);
  int TabHeight() const { return tabHeight_; }
  bool TabStop() const override { return true; }

  void SelectTab(int index);
  std::function<void()> OnTabClick;
  void UserSelectedTab(int index);

 private:
  std::vector<std::wstring> tabs_;
  int tabIndex_ = 0;
  int tabHeight_;
};

// A date with a drop-down calendar, or a time of day, as a TDateTime value:
// a date picker keeps the whole days, a time picker the fraction.
class TDateTimePicker : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::DateTimePicker;
  TControlKind ControlKind() const override { return kKind; }
  enum class TKind { Date, Time };
  TDateTimePicker(TControl* parent, int left, int top, int width, int height, TKind kind,
                  double value);
  TKind Kind() const { return kind_; }
  double Value() const { return value_; }
  void SetValue(double value);
  bool TabStop() const override { return true; }

  void PickValue(double value);
  std::function<void()> OnChange;
  void UserPicked(double value);

 private:
  TKind kind_;
  double value_;
};

// A text drawn by the program: plain, with an embossed shadow, raised, or
// embossed and raised at once. A hover colour replaces the font colour
// while the mouse is over it.
class TLabel : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::Label;
  TControlKind ControlKind() const override { return kKind; }
  enum TStyle : unsigned { Plain = 0, Embossed = 1, Raised = 2 };
  TLabel(TControl* parent, int left, int top, int width, int height, const std::wstring& caption,
         unsigned style = Plain);
  unsigned Style() const { return style_; }
  TColor ShadowColor() const { return shadow_; }
  void SetShadowColor(TColor c);
  int ShadowDepth() const { return shadowDepth_; }
  void SetShadowDepth(int depth);
  bool Centered() const { return centered_; }
  void SetCentered(bool c);
  bool Border() const { return border_; }
  void SetBorder(bool b);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t);
  std::optional<TColor> HoverColor() const { return hover_; }
  void SetHoverColor(TColor c);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  bool Hovered() const { return hovered_; }
  // The colour the text is drawn in now.
  TColor TextColor() const { return hovered_ && hover_ ? *hover_ : Font().Color; }

  void UserMouseEnter() override;
  void UserMouseLeave() override;

 private:
  unsigned style_;
  TColor shadow_ = clMaroon;
  int shadowDepth_ = 2;
  bool centered_ = false;
  bool border_ = false;
  bool transparent_ = false;
  std::optional<TColor> hover_;
  TCursor cursor_ = TCursor::Default;
  bool hovered_ = false;
};

// A small image that shows a text and acts on a click; it never takes the
// keyboard focus.
class TTextImage : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::TextImage;
  TControlKind ControlKind() const override { return kKind; }
  TTextImage(TControl* parent, int left, int top, int width, int height,
             const std::wstring& caption);
};

// A horizontal gradient mirrored about the centre.
class TGradientStrip : public TControl {
 public:
  static constexpr TControlKind kKind = TControlKind::GradientStrip;
  TControlKind ControlKind() const override { return kKind; }
  TGradientStrip(TControl* parent, int left, int top, int width, int height, TColor edge,
                 TColor centre);
  TColor EdgeColor() const { return edge_; }
  TColor CentreColor() const { return centre_; }

 private:
  TColor edge_, centre_;
};

// The control as the kind it is, or null: As<TRadioButton>(control).
template <class T>
T* As(TControl* c) {
  return c && c->ControlKind() == T::kKind ? static_cast<T*>(c) : nullptr;
}
template <class T>
const T* As(const TControl* c) {
  return c && c->ControlKind() == T::kKind ? static_cast<const T*>(c) : nullptr;
}
