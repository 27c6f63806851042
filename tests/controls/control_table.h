// The harness of the control kinds' tables: a form that holds the control
// under test some panels deep, the events and state a user sees of each
// kind, and the runner that checks every row on a fresh form.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "fakes/ui_driver.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>
#endif

namespace control_table {

using TEvents = std::vector<std::string>;

// A form whose controls sit `depth` panels deep.
class THost : public TForm {
 public:
  explicit THost(int depth) : TForm(L"Проба", 40, 40, 400, 300, TBorderStyle::Single) {
    TControl* p = this;
    for (int i = 0; i < depth; ++i) {
      panels_.push_back(std::make_unique<TPanel>(p, 4, 4, p->Width() - 8, p->Height() - 8));
      p = panels_.back().get();
    }
  }
  ~THost() override {
    Hide();
    while (!panels_.empty()) panels_.pop_back();  // inner first
  }
  TControl& Inner() { return panels_.empty() ? static_cast<TControl&>(*this) : *panels_.back(); }
  TControl& Outer() { return panels_.empty() ? static_cast<TControl&>(*this) : *panels_.front(); }

 private:
  std::vector<std::unique_ptr<TPanel>> panels_;
};

// Radio buttons a, b, c of one group, and d alone in a panel beside them.
struct TRadioGroup {
  explicit TRadioGroup(TControl& p)
      : a(&p, 8, 8, 90, 17, L"Один"),
        b(&p, 8, 28, 90, 17, L"Два"),
        c(&p, 8, 48, 90, 17, L"Три"),
        box(&p, 120, 8, 120, 30),
        d(&box, 4, 4, 110, 17, L"Сам по себе") {
    d.SetChecked(true);
  }
  TRadioButton a, b, c;
  TPanel box;
  TRadioButton d;
};

// ---- what a user sees of each kind: its events and its state

inline void HookCommon(TControl& c, TEvents& e, const std::string& who = {}) {
  auto say = [&e, who](const std::string& what) { e.push_back(who + what); };
  c.OnClick = [say] { say("Click"); };
  c.OnDblClick = [say] { say("DblClick"); };
  c.OnMouseDown = [say](TMouseButton b) {
    say(b == TMouseButton::Left    ? "MouseDown Left"
        : b == TMouseButton::Right ? "MouseDown Right"
                                   : "MouseDown Middle");
  };
  c.OnMouseEnter = [say] { say("MouseEnter"); };
  c.OnMouseLeave = [say] { say("MouseLeave"); };
  c.OnKeyDown = [say](std::uint16_t k) { say("KeyDown " + std::to_string(k)); };
}
template <class K>
inline void Hook(K& c, TEvents& e) {
  HookCommon(c, e);
  if constexpr (requires { c.OnChange; }) c.OnChange = [&e] { e.push_back("Change"); };
  if constexpr (requires { c.OnButtonClick; })
    c.OnButtonClick = [&e] { e.push_back("ButtonClick"); };
  if constexpr (requires { c.OnTabClick; }) c.OnTabClick = [&e] { e.push_back("TabClick"); };
  if constexpr (requires { c.OnContextMenu; })
    c.OnContextMenu = [&e](TPoint) { e.push_back("ContextMenu"); };
}
inline void Hook(TRadioGroup& g, TEvents& e) {
  HookCommon(g.a, e, "a ");
  HookCommon(g.b, e, "b ");
  HookCommon(g.c, e, "c ");
  HookCommon(g.d, e, "d ");
}

template <class K>
inline std::vector<TControl*> Parts(K& c) {
  return {&c};
}
inline std::vector<TControl*> Parts(TRadioGroup& g) { return {&g.a, &g.b, &g.c}; }

inline std::wstring Hex(TColor c) {
  wchar_t buf[16];
  std::swprintf(buf, 16, L"%06x", static_cast<unsigned>(c));
  return buf;
}
inline std::wstring Rows(int count, int index) {
  return std::to_wstring(count) + L":" + std::to_wstring(index);
}
inline const wchar_t* StateName(TCheckState s) {
  return s == TCheckState::Checked  ? L"Checked"
         : s == TCheckState::Grayed ? L"Grayed"
                                    : L"Unchecked";
}

inline std::wstring StateOf(const TButton&) { return {}; }
inline std::wstring StateOf(const TPanel&) { return {}; }
inline std::wstring StateOf(const TGradientStrip&) { return {}; }
inline std::wstring StateOf(const TTextImage& c) { return c.Focused() ? L"focused" : L""; }
inline std::wstring StateOf(const TCheckBox& c) { return StateName(c.State()); }
inline std::wstring StateOf(const TRadioGroup& g) {
  std::wstring s;
  for (const TRadioButton* r : {&g.a, &g.b, &g.c}) s += r->Checked() ? L'1' : L'0';
  return s + L"+" + (g.d.Checked() ? L'1' : L'0');
}
inline std::wstring StateOf(const TEdit& c) { return c.Text(); }
inline std::wstring StateOf(const TMemo& c) { return c.Text(); }
inline std::wstring StateOf(const TListBox& c) {
  return Rows(static_cast<int>(c.Items().size()), c.ItemIndex());
}
inline std::wstring StateOf(const TComboBox& c) {
  return std::to_wstring(c.ItemIndex()) + L":" + c.Text();
}
inline std::wstring StateOf(const TTabControl& c) {
  return Rows(static_cast<int>(c.Tabs().size()), c.TabIndex());
}
inline std::wstring StateOf(const TDateTimePicker& c) { return std::to_wstring(c.Value()); }
inline std::wstring StateOf(const TLabel& c) {
  return (c.Hovered() ? L"hovered " : L"plain ") + Hex(c.TextColor());
}

#ifdef _WIN32
// The same state read from the real window, where the window holds it.
inline HWND H(const TControl& c) { return static_cast<HWND>(c.Peer().Handle()); }
inline std::wstring ClassOf(HWND h) {
  wchar_t buf[64] = {};
  GetClassNameW(h, buf, 64);
  return buf;
}
inline std::wstring TextOf(HWND h) {
  // The edit of an edit with a button may be a child of the peer's window.
  if (_wcsicmp(ClassOf(h).c_str(), L"Edit") != 0 &&
      _wcsicmp(ClassOf(h).c_str(), WC_COMBOBOXW) != 0) {
    if (HWND edit = FindWindowExW(h, nullptr, L"Edit", nullptr)) h = edit;
  }
  std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
  return s;
}
inline std::wstring CheckName(HWND h) {
  const LRESULT s = SendMessageW(h, BM_GETCHECK, 0, 0);
  return s == BST_CHECKED ? L"Checked" : s == BST_INDETERMINATE ? L"Grayed" : L"Unchecked";
}
inline long DaysFromCivil(int y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe);
}

template <class K>
inline std::wstring WindowStateOf(const K& c) {
  return StateOf(c);  // drawn by the program: nothing of it lives in the window
}
inline std::wstring WindowStateOf(const TCheckBox& c) { return CheckName(H(c)); }
inline std::wstring WindowStateOf(const TRadioGroup& g) {
  std::wstring s;
  for (const TRadioButton* r : {&g.a, &g.b, &g.c})
    s += CheckName(H(*r)) == L"Checked" ? L'1' : L'0';
  return s + L"+" + (CheckName(H(g.d)) == L"Checked" ? L'1' : L'0');
}
inline std::wstring WindowStateOf(const TEdit& c) { return TextOf(H(c)); }
inline std::wstring WindowStateOf(const TMemo& c) {
  std::wstring s = TextOf(H(c)), out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!(s[i] == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n'))
      out += s[i] == L'\n' ? L'\r' : s[i];
  }
  return out;
}
inline std::wstring WindowStateOf(const TListBox& c) {
  return Rows(static_cast<int>(SendMessageW(H(c), LB_GETCOUNT, 0, 0)),
              static_cast<int>(SendMessageW(H(c), LB_GETCURSEL, 0, 0)));
}
inline std::wstring WindowStateOf(const TComboBox& c) {
  return std::to_wstring(SendMessageW(H(c), CB_GETCURSEL, 0, 0)) + L":" + TextOf(H(c));
}
inline std::wstring WindowStateOf(const TTabControl& c) {
  return Rows(static_cast<int>(SendMessageW(H(c), TCM_GETITEMCOUNT, 0, 0)),
              static_cast<int>(SendMessageW(H(c), TCM_GETCURSEL, 0, 0)));
}
inline std::wstring WindowStateOf(const TDateTimePicker& c) {
  SYSTEMTIME t{};
  SendMessageW(H(c), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
  if (c.Kind() == TDateTimePicker::TKind::Time) {
    return std::to_wstring((t.wHour * 3600 + t.wMinute * 60 + t.wSecond) / 86400.0);
  }
  return std::to_wstring(
      static_cast<double>(DaysFromCivil(t.wYear, t.wMonth, t.wDay) - DaysFromCivil(1899, 12, 30)));
}
#endif

// ---- the tables

template <class K>
struct TRow {
  const char* Name;
  bool User;                        // a user's action, which needs a reachable control
  std::function<void(K&)> Arrange;  // brings the control to the row's start; may be empty
  std::function<void(K&)> Act;
  TEvents Events;
  std::optional<std::wstring> State;  // none: as it was before Act
};

template <class K>
struct TKind {
  std::function<std::unique_ptr<K>(TControl& parent)> Make;
  std::vector<TRow<K>> Rows;
};

// Setters that every kind has; none changes what a user sees of the state.
template <class K>
std::vector<TRow<K>> CommonSetters() {
  auto each = [](std::function<void(TControl&)> f) {
    return [f](K& k) {
      for (TControl* c : Parts(k)) f(*c);
    };
  };
  return {
      {"SetBounds",
       false,
       {},
       each([](TControl& c) { c.SetBounds(20, 30, c.Width() + 5, c.Height()); }),
       {},
       {}},
      {"SetFont",
       false,
       {},
       each([](TControl& c) {
         TFont f = c.Font();
         f.Bold = !f.Bold;
         c.SetFont(f);
       }),
       {},
       {}},
      {"SetColor", false, {}, each([](TControl& c) { c.SetColor(clSkyBlue); }), {}, {}},
      {"SetEnabled",
       false,
       {},
       each([](TControl& c) { c.SetEnabled(false), c.SetEnabled(true); }),
       {},
       {}},
      {"SetVisible", false, {}, each([](TControl& c) { c.Hide(), c.Show(); }), {}, {}},
  };
}

enum class TBlock { None, Hidden, Disabled, OuterHidden, OuterDisabled };

template <class K>
inline void RunTable(const TKind<K>& kind, int depth) {
  auto rows = CommonSetters<K>();
  rows.insert(rows.end(), kind.Rows.begin(), kind.Rows.end());
  for (const auto& row : rows) {
    for (TBlock block : {TBlock::None, TBlock::Hidden, TBlock::Disabled, TBlock::OuterHidden,
                         TBlock::OuterDisabled}) {
      if (block != TBlock::None && !row.User) break;
      SCOPED_TRACE(testing::Message()
                   << row.Name << ", depth " << depth << ", block " << static_cast<int>(block));
      THost host(depth);
      auto k = kind.Make(host.Inner());
      host.ShowNormal();
      TEvents events;
      Hook(*k, events);
      if (row.Arrange) row.Arrange(*k);
      Pump();
      events.clear();
      const std::wstring before = StateOf(*k);
      for (TControl* c : Parts(*k)) {
        if (block == TBlock::Hidden) c->Hide();
        if (block == TBlock::Disabled) c->SetEnabled(false);
      }
      if (block == TBlock::OuterHidden) host.Outer().Hide();
      if (block == TBlock::OuterDisabled) host.Outer().SetEnabled(false);
      row.Act(*k);
      Pump();
      if (block != TBlock::None) {
        EXPECT_EQ(events, TEvents{}) << "out of the user's reach";
        EXPECT_EQ(StateOf(*k), before);
        continue;
      }
      const std::wstring expected = row.State.value_or(before);
      EXPECT_EQ(events, row.Events);
      EXPECT_EQ(StateOf(*k), expected);
#ifdef _WIN32
      EXPECT_EQ(WindowStateOf(*k), expected) << "the window shows what the model holds";
#endif
    }
  }
}

// Shorthands for the rows.
template <class K>
using F = std::function<void(K&)>;
template <class K>
F<K> Focus() {
  return [](K& k) { k.SetFocus(); };
}
template <class K>
F<K> Key(std::uint16_t key) {
  return [key](K& k) { k.PressKey(key); };
}
constexpr std::uint16_t kSpace = L' ';

template <class K>
F<K> Type(std::wstring text) {
  return [text](K& k) { k.TypeText(text); };
}
template <class K>
F<K> SetText(std::wstring text) {
  return [text](K& k) { k.SetText(text); };
}

// Kinds that act only on the mouse: a press, then the click.
template <class K>
std::vector<TRow<K>> MouseRows() {
  return {
      {"Click", true, {}, [](K& k) { k.Click(); }, {"MouseDown Left", "Click"}, {}},
      {"DblClick",
       true,
       {},
       [](K& k) { k.DblClick(); },
       {"MouseDown Left", "Click", "DblClick"},
       {}},
      {"MouseDown",
       true,
       {},
       [](K& k) { k.MouseDown(TMouseButton::Right); },
       {"MouseDown Right"},
       {}},
  };
}
}  // namespace control_table
