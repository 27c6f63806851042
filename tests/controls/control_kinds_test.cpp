// One table per control kind, run on both halves: every setter raises
// nothing, every user action raises exactly the listed events in order and
// leaves the listed state, and a hidden or disabled control (or one inside
// a hidden or disabled container) is out of the user's reach.
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
#include <commctrl.h>
#endif

namespace {

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
      : a(&p, 8, 8, 90, 17, L"Один"), b(&p, 8, 28, 90, 17, L"Два"), c(&p, 8, 48, 90, 17, L"Три"),
        box(&p, 120, 8, 120, 30), d(&box, 4, 4, 110, 17, L"Сам по себе") {
    d.SetChecked(true);
  }
  TRadioButton a, b, c;
  TPanel box;
  TRadioButton d;
};

// ---- what a user sees of each kind: its events and its state

void HookCommon(TControl& c, TEvents& e, const std::string& who = {}) {
  auto say = [&e, who](const std::string& what) { e.push_back(who + what); };
  c.OnClick = [say] { say("Click"); };
  c.OnDblClick = [say] { say("DblClick"); };
  c.OnMouseDown = [say](TMouseButton b) {
    say(b == TMouseButton::Left ? "MouseDown Left" : b == TMouseButton::Right ? "MouseDown Right"
                                                                             : "MouseDown Middle");
  };
  c.OnMouseEnter = [say] { say("MouseEnter"); };
  c.OnMouseLeave = [say] { say("MouseLeave"); };
  c.OnKeyDown = [say](std::uint16_t k) { say("KeyDown " + std::to_string(k)); };
}
template <class K>
void Hook(K& c, TEvents& e) {
  HookCommon(c, e);
  if constexpr (requires { c.OnChange; }) c.OnChange = [&e] { e.push_back("Change"); };
  if constexpr (requires { c.OnButtonClick; }) c.OnButtonClick = [&e] { e.push_back("ButtonClick"); };
  if constexpr (requires { c.OnTabClick; }) c.OnTabClick = [&e] { e.push_back("TabClick"); };
}
void Hook(TRadioGroup& g, TEvents& e) {
  HookCommon(g.a, e, "a ");
  HookCommon(g.b, e, "b ");
  HookCommon(g.c, e, "c ");
  HookCommon(g.d, e, "d ");
}

template <class K>
std::vector<TControl*> Parts(K& c) {
  return {&c};
}
std::vector<TControl*> Parts(TRadioGroup& g) { return {&g.a, &g.b, &g.c}; }

std::wstring Hex(TColor c) {
  wchar_t buf[16];
  std::swprintf(buf, 16, L"%06x", static_cast<unsigned>(c));
  return buf;
}
std::wstring Rows(int count, int index) {
  return std::to_wstring(count) + L":" + std::to_wstring(index);
}
const wchar_t* StateName(TCheckState s) {
  return s == TCheckState::Checked ? L"Checked" : s == TCheckState::Grayed ? L"Grayed" : L"Unchecked";
}

std::wstring StateOf(const TButton&) { return {}; }
std::wstring StateOf(const TPanel&) { return {}; }
std::wstring StateOf(const TGradientStrip&) { return {}; }
std::wstring StateOf(const TTextImage& c) { return c.Focused() ? L"focused" : L""; }
std::wstring StateOf(const TCheckBox& c) { return StateName(c.State()); }
std::wstring StateOf(const TRadioGroup& g) {
  std::wstring s;
  for (const TRadioButton* r : {&g.a, &g.b, &g.c}) s += r->Checked() ? L'1' : L'0';
  return s + L"+" + (g.d.Checked() ? L'1' : L'0');
}
std::wstring StateOf(const TEdit& c) { return c.Text(); }
std::wstring StateOf(const TMemo& c) { return c.Text(); }
std::wstring StateOf(const TListBox& c) {
  return Rows(static_cast<int>(c.Items().size()), c.ItemIndex());
}
std::wstring StateOf(const TComboBox& c) { return std::to_wstring(c.ItemIndex()) + L":" + c.Text(); }
std::wstring StateOf(const TTabControl& c) {
  return Rows(static_cast<int>(c.Tabs().size()), c.TabIndex());
}
std::wstring StateOf(const TDateTimePicker& c) { return std::to_wstring(c.Value()); }
std::wstring StateOf(const TLabel& c) {
  return (c.Hovered() ? L"hovered " : L"plain ") + Hex(c.TextColor());
}

#ifdef _WIN32
// The same state read from the real window, where the window holds it.
HWND H(const TControl& c) { return static_cast<HWND>(c.Peer().Handle()); }
std::wstring ClassOf(HWND h) {
  wchar_t buf[64] = {};
  GetClassNameW(h, buf, 64);
  return buf;
}
std::wstring TextOf(HWND h) {
  // The edit of an edit with a button may be a child of the peer's window.
  if (_wcsicmp(ClassOf(h).c_str(), L"Edit") != 0 && _wcsicmp(ClassOf(h).c_str(), WC_COMBOBOXW) != 0) {
    if (HWND edit = FindWindowExW(h, nullptr, L"Edit", nullptr)) h = edit;
  }
  std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
  return s;
}
std::wstring CheckName(HWND h) {
  const LRESULT s = SendMessageW(h, BM_GETCHECK, 0, 0);
  return s == BST_CHECKED ? L"Checked" : s == BST_INDETERMINATE ? L"Grayed" : L"Unchecked";
}
long DaysFromCivil(int y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe);
}

template <class K>
std::wstring WindowStateOf(const K& c) {
  return StateOf(c);  // drawn by the program: nothing of it lives in the window
}
std::wstring WindowStateOf(const TCheckBox& c) { return CheckName(H(c)); }
std::wstring WindowStateOf(const TRadioGroup& g) {
  std::wstring s;
  for (const TRadioButton* r : {&g.a, &g.b, &g.c}) s += CheckName(H(*r)) == L"Checked" ? L'1' : L'0';
  return s + L"+" + (CheckName(H(g.d)) == L"Checked" ? L'1' : L'0');
}
std::wstring WindowStateOf(const TEdit& c) { return TextOf(H(c)); }
std::wstring WindowStateOf(const TMemo& c) {
  std::wstring s = TextOf(H(c)), out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!(s[i] == L'\r' && i + 1 < s.size() && s[i + 1] == L'\n')) out += s[i] == L'\n' ? L'\r' : s[i];
  }
  return out;
}
std::wstring WindowStateOf(const TListBox& c) {
  return Rows(static_cast<int>(SendMessageW(H(c), LB_GETCOUNT, 0, 0)),
              static_cast<int>(SendMessageW(H(c), LB_GETCURSEL, 0, 0)));
}
std::wstring WindowStateOf(const TComboBox& c) {
  return std::to_wstring(SendMessageW(H(c), CB_GETCURSEL, 0, 0)) + L":" + TextOf(H(c));
}
std::wstring WindowStateOf(const TTabControl& c) {
  return Rows(static_cast<int>(SendMessageW(H(c), TCM_GETITEMCOUNT, 0, 0)),
              static_cast<int>(SendMessageW(H(c), TCM_GETCURSEL, 0, 0)));
}
std::wstring WindowStateOf(const TDateTimePicker& c) {
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
      {"SetBounds", false, {}, each([](TControl& c) { c.SetBounds(20, 30, c.Width() + 5, c.Height()); }), {}, {}},
      {"SetFont", false, {}, each([](TControl& c) {
                     TFont f = c.Font();
                     f.Bold = !f.Bold;
                     c.SetFont(f);
                   }), {}, {}},
      {"SetColor", false, {}, each([](TControl& c) { c.SetColor(clSkyBlue); }), {}, {}},
      {"SetEnabled", false, {}, each([](TControl& c) { c.SetEnabled(false), c.SetEnabled(true); }), {}, {}},
      {"SetVisible", false, {}, each([](TControl& c) { c.Hide(), c.Show(); }), {}, {}},
  };
}

enum class TBlock { None, Hidden, Disabled, OuterHidden, OuterDisabled };

template <class K>
void RunTable(const TKind<K>& kind, int depth) {
  auto rows = CommonSetters<K>();
  rows.insert(rows.end(), kind.Rows.begin(), kind.Rows.end());
  for (const auto& row : rows) {
    for (TBlock block : {TBlock::None, TBlock::Hidden, TBlock::Disabled, TBlock::OuterHidden,
                         TBlock::OuterDisabled}) {
      if (block != TBlock::None && !row.User) break;
      SCOPED_TRACE(testing::Message() << row.Name << ", depth " << depth << ", block "
                                      << static_cast<int>(block));
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

TKind<TButton> ButtonKind() {
  using K = TButton;
  return {[](TControl& p) { return std::make_unique<K>(&p, 8, 8, 75, 25, L"Кнопка"); },
          {
              {"SetCaption", false, {}, [](K& k) { k.SetCaption(L"Другая"); }, {}, {}},
              {"SetGlyph", false, {}, [](K& k) { k.SetGlyph(K::TGlyph::New); }, {}, {}},
              {"SetFocus", false, {}, Focus<K>(), {}, {}},
              {"Click", true, {}, [](K& k) { k.Click(); }, {"Click"}, {}},
              {"DblClick", true, {}, [](K& k) { k.DblClick(); }, {"Click", "Click"}, {}},
              {"MouseDown: a button reports only its click", true, {},
               [](K& k) { k.MouseDown(TMouseButton::Left); }, {}, {}},
              {"Enter", true, Focus<K>(), Key<K>(kVkReturn), {"Click"}, {}},
              {"Space", true, Focus<K>(), Key<K>(kSpace), {"Click"}, {}},
              {"Delete", true, Focus<K>(), Key<K>(kVkDelete), {}, {}},
          }};
}

TKind<TCheckBox> CheckBoxKind(bool allowGrayed) {
  using K = TCheckBox;
  auto set = [](TCheckState s) { return F<K>([s](K& k) { k.SetState(s); }); };
  auto click = [](K& k) { k.Click(); };
  const auto U = TCheckState::Unchecked, C = TCheckState::Checked, G = TCheckState::Grayed;
  TKind<K> kind{[allowGrayed](TControl& p) {
                  return std::make_unique<K>(&p, 8, 8, 120, 17, L"Звук", allowGrayed);
                },
                {
                    {"SetCaption", false, {}, [](K& k) { k.SetCaption(L"Громко"); }, {}, {}},
                    {"SetChecked", false, {}, [](K& k) { k.SetChecked(true); }, {}, L"Checked"},
                    {"SetChecked(false)", false, set(C), [](K& k) { k.SetChecked(false); }, {}, L"Unchecked"},
                    {"click: unchecked to checked", true, {}, click, {"Click"}, L"Checked"},
                    {"click: checked to unchecked", true, set(C), click, {"Click"}, L"Unchecked"},
                    {"DblClick: two clicks", true, {}, [](K& k) { k.DblClick(); }, {"Click", "Click"}, L"Unchecked"},
                    {"Check(true)", true, {}, [](K& k) { k.Check(true); }, {"Click"}, L"Checked"},
                    {"Check(true) when checked", true, set(C), [](K& k) { k.Check(true); }, {}, L"Checked"},
                    {"Check(false)", true, set(C), [](K& k) { k.Check(false); }, {"Click"}, L"Unchecked"},
                    {"Space", true, Focus<K>(), Key<K>(kSpace), {"Click"}, L"Checked"},
                    {"Enter", true, Focus<K>(), Key<K>(kVkReturn), {}, {}},
                }};
  if (allowGrayed) {
    kind.Rows.insert(kind.Rows.end(), {
        {"SetState(Grayed)", false, {}, set(G), {}, L"Grayed"},
        {"click: grayed to checked", true, set(G), click, {"Click"}, L"Checked"},
        {"Check(true) from grayed", true, set(G), [](K& k) { k.Check(true); }, {"Click"}, L"Checked"},
        {"Check(false) from grayed", true, set(G), [](K& k) { k.Check(false); }, {"Click", "Click"}, L"Unchecked"},
    });
  } else {
    kind.Rows.push_back({"SetState(Grayed) on two states", false, set(U), set(G), {}, L"Checked"});
  }
  return kind;
}

TKind<TRadioGroup> RadioKind() {
  using K = TRadioGroup;
  auto check = [](TRadioButton K::*r) { return F<K>([r](K& g) { (g.*r).SetChecked(true); }); };
  return {[](TControl& p) { return std::make_unique<K>(p); },
          {
              {"SetChecked", false, {}, check(&K::b), {}, L"010+1"},
              {"SetChecked unchecks the siblings", false, check(&K::a), check(&K::c), {}, L"001+1"},
              {"SetChecked(false)", false, check(&K::b), [](K& g) { g.b.SetChecked(false); }, {}, L"000+1"},
              {"Click", true, {}, [](K& g) { g.c.Click(); }, {"c Click"}, L"001+1"},
              {"Click unchecks the siblings", true, check(&K::a), [](K& g) { g.b.Click(); }, {"b Click"}, L"010+1"},
              {"Click on the checked one", true, check(&K::b), [](K& g) { g.b.Click(); }, {"b Click"}, L"010+1"},
              {"DblClick", true, check(&K::a), [](K& g) { g.c.DblClick(); }, {"c Click", "c DblClick"}, L"001+1"},
              {"Space", true, [](K& g) { g.a.SetFocus(); }, [](K& g) { g.a.PressKey(kSpace); }, {"a Click"}, L"100+1"},
          }};
}

template <class K>
F<K> Type(std::wstring text) {
  return [text](K& k) { k.TypeText(text); };
}
template <class K>
F<K> SetText(std::wstring text) {
  return [text](K& k) { k.SetText(text); };
}

TKind<TEdit> EditKind(bool button) {
  using K = TEdit;
  TKind<K> kind{[button](TControl& p) { return std::make_unique<K>(&p, 8, 8, 120, 21, button); },
                {
                    {"SetText", false, {}, SetText<K>(L"Привет"), {}, L"Привет"},
                    {"TypeText", true, {}, Type<K>(L"12:30"), {"Change"}, L"12:30"},
                    {"TypeText empties", true, SetText<K>(L"abc"), Type<K>(L""), {"Change"}, L""},
                    {"Enter", true, Focus<K>(), Key<K>(kVkReturn), {}, {}},
                    {"ButtonClick", true, {}, [](K& k) { k.ButtonClick(); },
                     button ? TEvents{"ButtonClick"} : TEvents{}, {}},
                }};
  return kind;
}

TKind<TMemo> MemoKind(bool readOnly) {
  using K = TMemo;
  auto typed = [readOnly](TEvents e) { return readOnly ? TEvents{} : e; };
  auto reads = [readOnly](std::wstring s) {
    return readOnly ? std::nullopt : std::optional<std::wstring>(s);
  };
  return {[readOnly](TControl& p) { return std::make_unique<K>(&p, 8, 8, 200, 80, readOnly); },
          {
              {"SetText", false, {}, SetText<K>(L"Первая\rВторая"), {}, L"Первая\rВторая"},
              {"Clear", false, SetText<K>(L"x"), [](K& k) { k.Clear(); }, {}, L""},
              {"Repaint", false, {}, [](K& k) { k.Repaint(); }, {}, {}},
              {"TypeText with CR LF", true, {}, Type<K>(L"Первая\r\nВторая\r\n"), typed({"Change"}),
               reads(L"Первая\rВторая\r")},
              {"TypeText with CR", true, {}, Type<K>(L"a\rb"), typed({"Change"}), reads(L"a\rb")},
          }};
}

TKind<TListBox> ListBoxKind() {
  using K = TListBox;
  auto row = [](int i) { return F<K>([i](K& k) { k.SetItemIndex(i); }); };
  auto focusRow = [](int i) { return F<K>([i](K& k) { k.SetItemIndex(i), k.SetFocus(); }); };
  return {[](TControl& p) {
            auto k = std::make_unique<K>(&p, 8, 8, 150, 60);
            k->SetItems({L"Один", L"Два", L"Три"});
            return k;
          },
          {
              {"SetItemIndex", false, {}, row(1), {}, L"3:1"},
              {"SetItemIndex(-1)", false, row(1), row(-1), {}, L"3:-1"},
              {"SetItemIndex out of range", false, row(1), row(3), {}, L"3:-1"},
              {"SetItems clears the selection", false, row(1), [](K& k) { k.SetItems({L"x", L"y"}); }, {}, L"2:-1"},
              {"Clear", false, row(2), [](K& k) { k.Clear(); }, {}, L"0:-1"},
              {"SelectRow", true, {}, [](K& k) { k.SelectRow(2); }, {"Click"}, L"3:2"},
              {"SelectRow out of range", true, row(1), [](K& k) { k.SelectRow(3); }, {}, L"3:1"},
              {"DblClick on the selected row", true, row(1), [](K& k) { k.DblClick(); }, {"Click", "DblClick"}, L"3:1"},
              {"DblClick with no row", true, {}, [](K& k) { k.DblClick(); }, {}, L"3:-1"},
              {"Down from none", true, Focus<K>(), Key<K>(kVkDown), {"KeyDown 40", "Click"}, L"3:0"},
              {"Down at the end", true, focusRow(2), Key<K>(kVkDown), {"KeyDown 40"}, L"3:2"},
              {"Up", true, focusRow(1), Key<K>(kVkUp), {"KeyDown 38", "Click"}, L"3:0"},
              {"Enter", true, focusRow(1), Key<K>(kVkReturn), {"KeyDown 13"}, L"3:1"},
              {"Delete", true, focusRow(1), Key<K>(kVkDelete), {"KeyDown 46"}, L"3:1"},
              {"Down in an empty list", true, [](K& k) { k.Clear(), k.SetFocus(); }, Key<K>(kVkDown),
               {"KeyDown 40"}, L"0:-1"},
          }};
}

TKind<TComboBox> ComboKind() {
  using K = TComboBox;
  auto pick = [](int i) { return F<K>([i](K& k) { k.PickItem(i); }); };
  return {[](TControl& p) {
            auto k = std::make_unique<K>(&p, 8, 8, 100, 21);
            k->SetItems({L"5", L"10", L"15"});
            return k;
          },
          {
              {"SetItemIndex sets the text", false, {}, [](K& k) { k.SetItemIndex(1); }, {}, L"1:10"},
              {"SetText selects its entry", false, {}, SetText<K>(L"15"), {}, L"2:15"},
              {"SetText of no entry", false, SetText<K>(L"15"), SetText<K>(L"7"), {}, L"-1:7"},
              {"SetItems keeps the text", false, SetText<K>(L"10"),
               [](K& k) { k.SetItems({L"10", L"20"}); }, {}, L"-1:10"},
              {"TypeText of an entry", true, {}, Type<K>(L"10"), {"Change"}, L"1:10"},
              {"TypeText of no entry", true, SetText<K>(L"5"), Type<K>(L"7"), {"Change"}, L"-1:7"},
              {"PickItem", true, SetText<K>(L"7"), pick(2), {"Change"}, L"2:15"},
              {"PickItem out of range", true, {}, pick(3), {}, {}},
          }};
}

TKind<TTabControl> TabKind() {
  using K = TTabControl;
  auto tab = [](int i) { return F<K>([i](K& k) { k.SetTabIndex(i); }); };
  auto select = [](int i) { return F<K>([i](K& k) { k.SelectTab(i); }); };
  return {[](TControl& p) {
            auto k = std::make_unique<K>(&p, 8, 8, 200, 60, 30);
            k->SetTabs({L"Будильники", L"Музыка\rФайлы", L"Прочее"});
            return k;
          },
          {
              {"SetTabIndex", false, {}, tab(2), {}, L"3:2"},
              {"SetTabIndex out of range", false, tab(1), tab(3), {}, L"3:1"},
              {"SetTabs keeps a valid index", false, tab(1), [](K& k) { k.SetTabs({L"a", L"b"}); }, {}, L"2:1"},
              {"SetTabs moves a lost index to 0", false, tab(2), [](K& k) { k.SetTabs({L"a", L"b"}); }, {}, L"2:0"},
              {"SelectTab", true, {}, select(1), {"TabClick"}, L"3:1"},
              {"SelectTab of the selected tab", true, tab(2), select(2), {}, L"3:2"},
              {"SelectTab out of range", true, {}, select(3), {}, {}},
          }};
}

TKind<TDateTimePicker> PickerKind(TDateTimePicker::TKind which) {
  using K = TDateTimePicker;
  const bool date = which == K::TKind::Date;
  auto pick = [](double v) { return F<K>([v](K& k) { k.PickValue(v); }); };
  return {[which, date](TControl& p) {
            return std::make_unique<K>(&p, 8, 8, 100, 21, which, date ? 45000.0 : 0.5);
          },
          {
              {"SetValue", false, {}, [](K& k) { k.SetValue(45123.125); }, {},
               std::to_wstring(date ? 45123.0 : 0.125)},
              {"PickValue", true, {}, pick(45001.75), {"Change"}, std::to_wstring(date ? 45001.0 : 0.75)},
          }};
}

TKind<TLabel> LabelKind() {
  using K = TLabel;
  const std::wstring plain = L"plain " + Hex(clNavy), hovered = L"hovered " + Hex(clRed);
  auto enter = [](K& k) { k.MouseEnter(); };
  return {[](TControl& p) {
            auto k = std::make_unique<K>(&p, 8, 8, 100, 20, L"Текст", K::Embossed | K::Raised);
            TFont f = k->Font();
            f.Color = clNavy;
            k->SetFont(f);
            k->SetHoverColor(clRed);
            k->SetCursor(TCursor::Hand);
            return k;
          },
          {
              {"SetCaption", false, {}, [](K& k) { k.SetCaption(L"Другой"); }, {}, {}},
              {"SetShadow", false, {}, [](K& k) { k.SetShadowDepth(3), k.SetShadowColor(clGreen); }, {}, {}},
              {"SetCentered, SetBorder, SetTransparent", false, {},
               [](K& k) { k.SetCentered(true), k.SetBorder(true), k.SetTransparent(true); }, {}, {}},
              {"SetCursor", false, {}, [](K& k) { k.SetCursor(TCursor::Cross); }, {}, {}},
              {"SetHoverColor while hovered", false, enter, [](K& k) { k.SetHoverColor(clBlue); }, {},
               L"hovered " + Hex(clBlue)},
              {"Click", true, {}, [](K& k) { k.Click(); }, {"MouseDown Left", "Click"}, {}},
              {"DblClick", true, {}, [](K& k) { k.DblClick(); }, {"MouseDown Left", "Click", "DblClick"}, {}},
              {"MouseDown", true, {}, [](K& k) { k.MouseDown(TMouseButton::Right); }, {"MouseDown Right"}, {}},
              {"MouseEnter", true, {}, enter, {"MouseEnter"}, hovered},
              {"MouseEnter again", true, enter, enter, {}, hovered},
              {"MouseLeave", true, enter, [](K& k) { k.MouseLeave(); }, {"MouseLeave"}, plain},
              {"MouseLeave without entering", true, {}, [](K& k) { k.MouseLeave(); }, {}, plain},
          }};
}

// Kinds that act only on the mouse: a press, then the click.
template <class K>
std::vector<TRow<K>> MouseRows() {
  return {
      {"Click", true, {}, [](K& k) { k.Click(); }, {"MouseDown Left", "Click"}, {}},
      {"DblClick", true, {}, [](K& k) { k.DblClick(); }, {"MouseDown Left", "Click", "DblClick"}, {}},
      {"MouseDown", true, {}, [](K& k) { k.MouseDown(TMouseButton::Right); }, {"MouseDown Right"}, {}},
  };
}

TEST(ControlKinds, Button) { RunTable(ButtonKind(), 0); }
TEST(ControlKinds, CheckBoxOfTwoStates) { RunTable(CheckBoxKind(false), 0); }
TEST(ControlKinds, CheckBoxOfThreeStates) { RunTable(CheckBoxKind(true), 0); }
TEST(ControlKinds, RadioGroup) { RunTable(RadioKind(), 0); }
TEST(ControlKinds, Edit) { RunTable(EditKind(false), 0); }
TEST(ControlKinds, EditWithButton) { RunTable(EditKind(true), 0); }
TEST(ControlKinds, MemoEditable) { RunTable(MemoKind(false), 0); }
TEST(ControlKinds, MemoReadOnly) { RunTable(MemoKind(true), 0); }
TEST(ControlKinds, ListBox) { RunTable(ListBoxKind(), 0); }
TEST(ControlKinds, ComboBox) { RunTable(ComboKind(), 0); }
TEST(ControlKinds, TabControl) { RunTable(TabKind(), 0); }
TEST(ControlKinds, DatePicker) { RunTable(PickerKind(TDateTimePicker::TKind::Date), 0); }
TEST(ControlKinds, TimePicker) { RunTable(PickerKind(TDateTimePicker::TKind::Time), 0); }
TEST(ControlKinds, Label) { RunTable(LabelKind(), 0); }

TEST(ControlKinds, TextImageNeverTakesTheFocus) {
  TKind<TTextImage> kind{[](TControl& p) { return std::make_unique<TTextImage>(&p, 8, 8, 16, 16, L"?"); },
                         MouseRows<TTextImage>()};
  kind.Rows.push_back({"SetCaption", false, {}, [](TTextImage& k) { k.SetCaption(L"!"); }, {}, {}});
  RunTable(kind, 0);
}
TEST(ControlKinds, GradientStrip) {
  RunTable(TKind<TGradientStrip>{[](TControl& p) {
                              return std::make_unique<TGradientStrip>(&p, 0, 0, 200, 10, clNavy, clSkyBlue);
                            },
                            MouseRows<TGradientStrip>()},
      0);
}
TEST(ControlKinds, Panel) {
  RunTable(TKind<TPanel>{[](TControl& p) { return std::make_unique<TPanel>(&p, 8, 8, 100, 50, TBevel::Sunken); },
                    MouseRows<TPanel>()},
      0);
}

// Containers hand everything on: the same tables one and two panels deep.
TEST(ControlKinds, InsidePanelsAsOnTheForm) {
  for (int depth : {1, 2}) {
    RunTable(ButtonKind(), depth);
    RunTable(CheckBoxKind(true), depth);
    RunTable(ListBoxKind(), depth);
  }
}

}  // namespace
