// One table per control kind, run on both halves: every setter raises
// nothing, every user action raises exactly the listed events in order and
// leaves the listed state, and a hidden or disabled control (or one inside
// a hidden or disabled container) is out of the user's reach.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/control_table.h"

namespace {

using namespace control_table;

TKind<TButton> ButtonKind() {
  using K = TButton;
  return {[](TControl& p) { return std::make_unique<K>(&p, 8, 8, 75, 25, L"Кнопка"); },
          {
              {"SetCaption", false, {}, [](K& k) { k.SetCaption(L"Другая"); }, {}, {}},
              {"SetGlyph", false, {}, [](K& k) { k.SetGlyph(K::TGlyph::New); }, {}, {}},
              {"SetFocus", false, {}, Focus<K>(), {}, {}},
              {"Click", true, {}, [](K& k) { k.Click(); }, {"Click"}, {}},
              {"DblClick", true, {}, [](K& k) { k.DblClick(); }, {"Click", "Click"}, {}},
              {"MouseDown: a button reports only its click",
               true,
               {},
               [](K& k) { k.MouseDown(TMouseButton::Left); },
               {},
               {}},
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
  TKind<K> kind{
      [allowGrayed](TControl& p) {
        return std::make_unique<K>(&p, 8, 8, 120, 17, L"Звук", allowGrayed);
      },
      {
          {"SetCaption", false, {}, [](K& k) { k.SetCaption(L"Громко"); }, {}, {}},
          {"SetChecked", false, {}, [](K& k) { k.SetChecked(true); }, {}, L"Checked"},
          {"SetChecked(false)", false, set(C), [](K& k) { k.SetChecked(false); }, {}, L"Unchecked"},
          {"click: unchecked to checked", true, {}, click, {"Click"}, L"Checked"},
          {"click: checked to unchecked", true, set(C), click, {"Click"}, L"Unchecked"},
          {"DblClick: two clicks",
           true,
           {},
           [](K& k) { k.DblClick(); },
           {"Click", "Click"},
           L"Unchecked"},
          {"Check(true)", true, {}, [](K& k) { k.Check(true); }, {"Click"}, L"Checked"},
          {"Check(true) when checked", true, set(C), [](K& k) { k.Check(true); }, {}, L"Checked"},
          {"Check(false)", true, set(C), [](K& k) { k.Check(false); }, {"Click"}, L"Unchecked"},
          {"Space", true, Focus<K>(), Key<K>(kSpace), {"Click"}, L"Checked"},
          {"Enter", true, Focus<K>(), Key<K>(kVkReturn), {}, {}},
      }};
  if (allowGrayed) {
    kind.Rows.insert(kind.Rows.end(),
                     {
                         {"SetState(Grayed)", false, {}, set(G), {}, L"Grayed"},
                         {"click: grayed to checked", true, set(G), click, {"Click"}, L"Checked"},
                         {"Check(true) from grayed",
                          true,
                          set(G),
                          [](K& k) { k.Check(true); },
                          {"Click"},
                          L"Checked"},
                         {"Check(false) from grayed",
                          true,
                          set(G),
                          [](K& k) { k.Check(false); },
                          {"Click", "Click"},
                          L"Unchecked"},
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
              {"SetChecked(false)",
               false,
               check(&K::b),
               [](K& g) { g.b.SetChecked(false); },
               {},
               L"000+1"},
              {"Click", true, {}, [](K& g) { g.c.Click(); }, {"c Click"}, L"001+1"},
              {"Click unchecks the siblings",
               true,
               check(&K::a),
               [](K& g) { g.b.Click(); },
               {"b Click"},
               L"010+1"},
              {"Click on the checked one",
               true,
               check(&K::b),
               [](K& g) { g.b.Click(); },
               {"b Click"},
               L"010+1"},
              {"DblClick",
               true,
               check(&K::a),
               [](K& g) { g.c.DblClick(); },
               {"c Click", "c DblClick"},
               L"001+1"},
              {"Space",
               true,
               [](K& g) { g.a.SetFocus(); },
               [](K& g) { g.a.PressKey(kSpace); },
               {"a Click"},
               L"100+1"},
          }};
}

TKind<TEdit> EditKind(bool button) {
  using K = TEdit;
  TKind<K> kind{[button](TControl& p) { return std::make_unique<K>(&p, 8, 8, 120, 21, button); },
                {
                    {"SetText", false, {}, SetText<K>(L"Привет"), {}, L"Привет"},
                    {"TypeText", true, {}, Type<K>(L"12:30"), {"Change"}, L"12:30"},
                    {"TypeText empties", true, SetText<K>(L"abc"), Type<K>(L""), {"Change"}, L""},
                    {"Enter", true, Focus<K>(), Key<K>(kVkReturn), {}, {}},
                    {"ButtonClick",
                     true,
                     {},
                     [](K& k) { k.ButtonClick(); },
                     button ? TEvents{"ButtonClick"} : TEvents{},
                     {}},
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
              {"TypeText with CR LF",
               true,
               {},
               Type<K>(L"Первая\r\nВторая\r\n"),
               typed({"Change"}),
               reads(L"Первая\rВторая\r")},
              {"TypeText with CR", true, {}, Type<K>(L"a\rb"), typed({"Change"}), reads(L"a\rb")},
          }};
}

TKind<TListBox> ListBoxKind() {
  using K = TListBox;
  auto row = [](int i) { return F<K>([i](K& k) { k.SetItemIndex(i); }); };
  auto focusRow = [](int i) { return F<K>([i](K& k) { k.SetItemIndex(i), k.SetFocus(); }); };
  return {
      [](TControl& p) {
        auto k = std::make_unique<K>(&p, 8, 8, 150, 60);
        k->SetItems({L"Один", L"Два", L"Три"});
        return k;
      },
      {
          {"SetItemIndex", false, {}, row(1), {}, L"3:1"},
          {"SetItemIndex(-1)", false, row(1), row(-1), {}, L"3:-1"},
          {"SetItemIndex out of range", false, row(1), row(3), {}, L"3:-1"},
          {"SetItems clears the selection",
           false,
           row(1),
           [](K& k) {
             k.SetItems({L"x", L"y"});
           },
           {},
           L"2:-1"},
          {"Clear", false, row(2), [](K& k) { k.Clear(); }, {}, L"0:-1"},
          {"SelectRow", true, {}, [](K& k) { k.SelectRow(2); }, {"Click"}, L"3:2"},
          {"SelectRow out of range", true, row(1), [](K& k) { k.SelectRow(3); }, {}, L"3:1"},
          {"DblClick on the selected row",
           true,
           row(1),
           [](K& k) { k.DblClick(); },
           {"Click", "DblClick"},
           L"3:1"},
          {"DblClick with no row", true, {}, [](K& k) { k.DblClick(); }, {}, L"3:-1"},
          {"RightClickRow: the row, with no click, then its menu",
           true,
           row(0),
           [](K& k) { k.RightClickRow(2); },
           {"ContextMenu"},
           L"3:2"},
          {"RightClickRow out of range", true, row(1), [](K& k) { k.RightClickRow(3); }, {}, L"3:1"},
          {"the menu key", true, focusRow(1), Key<K>(kVkApps), {"KeyDown 93", "ContextMenu"}, L"3:1"},
          {"Down from none", true, Focus<K>(), Key<K>(kVkDown), {"KeyDown 40", "Click"}, L"3:0"},
          {"Down at the end", true, focusRow(2), Key<K>(kVkDown), {"KeyDown 40"}, L"3:2"},
          {"Up", true, focusRow(1), Key<K>(kVkUp), {"KeyDown 38", "Click"}, L"3:0"},
          {"Enter", true, focusRow(1), Key<K>(kVkReturn), {"KeyDown 13"}, L"3:1"},
          {"Delete", true, focusRow(1), Key<K>(kVkDelete), {"KeyDown 46"}, L"3:1"},
          {"Down in an empty list",
           true,
           [](K& k) { k.Clear(), k.SetFocus(); },
           Key<K>(kVkDown),
           {"KeyDown 40"},
           L"0:-1"},
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
              {"SetShadow",
               false,
               {},
               [](K& k) { k.SetShadowDepth(3), k.SetShadowColor(clGreen); },
               {},
               {}},
              {"SetCentered, SetBorder, SetTransparent",
               false,
               {},
               [](K& k) { k.SetCentered(true), k.SetBorder(true), k.SetTransparent(true); },
               {},
               {}},
              {"SetCursor", false, {}, [](K& k) { k.SetCursor(TCursor::Cross); }, {}, {}},
              {"SetHoverColor while hovered",
               false,
               enter,
               [](K& k) { k.SetHoverColor(clBlue); },
               {},
               L"hovered " + Hex(clBlue)},
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
              {"MouseEnter", true, {}, enter, {"MouseEnter"}, hovered},
              {"MouseEnter again", true, enter, enter, {}, hovered},
              {"MouseLeave", true, enter, [](K& k) { k.MouseLeave(); }, {"MouseLeave"}, plain},
              {"MouseLeave without entering", true, {}, [](K& k) { k.MouseLeave(); }, {}, plain},
          }};
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
TEST(ControlKinds, Label) { RunTable(LabelKind(), 0); }

TEST(ControlKinds, TextImageNeverTakesTheFocus) {
  TKind<TTextImage> kind{
      [](TControl& p) { return std::make_unique<TTextImage>(&p, 8, 8, 16, 16, L"?"); },
      MouseRows<TTextImage>()};
  kind.Rows.push_back({"SetCaption", false, {}, [](TTextImage& k) { k.SetCaption(L"!"); }, {}, {}});
  RunTable(kind, 0);
}
TEST(ControlKinds, GradientStrip) {
  RunTable(TKind<TGradientStrip>{[](TControl& p) {
                                   return std::make_unique<TGradientStrip>(&p, 0, 0, 200, 10,
                                                                           clNavy, clSkyBlue);
                                 },
                                 MouseRows<TGradientStrip>()},
           0);
}
TEST(ControlKinds, Panel) {
  RunTable(TKind<TPanel>{[](TControl& p) {
                           return std::make_unique<TPanel>(&p, 8, 8, 100, 50, TBevel::Sunken);
                         },
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
