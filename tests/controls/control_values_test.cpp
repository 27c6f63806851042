// The tables of the kinds that hold entries or a value: combo box, tab
// control, date and time pickers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/control_table.h"

namespace {

using namespace control_table;

TKind<TComboBox> ComboKind() {
  using K = TComboBox;
  auto pick = [](int i) { return F<K>([i](K& k) { k.PickItem(i); }); };
  return {
      [](TControl& p) {
        auto k = std::make_unique<K>(&p, 8, 8, 100, 21);
        k->SetItems({L"5", L"10", L"15"});
        return k;
      },
      {
          {"SetItemIndex sets the text", false, {}, [](K& k) { k.SetItemIndex(1); }, {}, L"1:10"},
          {"SetText selects its entry", false, {}, SetText<K>(L"15"), {}, L"2:15"},
          {"SetText of no entry", false, SetText<K>(L"15"), SetText<K>(L"7"), {}, L"-1:7"},
          {"SetItems keeps the text",
           false,
           SetText<K>(L"10"),
           [](K& k) {
             k.SetItems({L"10", L"20"});
           },
           {},
           L"-1:10"},
          {"TypeText of an entry", true, {}, Type<K>(L"10"), {"Change"}, L"-1:10"},
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
              {"SetTabs keeps a valid index",
               false,
               tab(1),
               [](K& k) {
                 k.SetTabs({L"a", L"b"});
               },
               {},
               L"2:1"},
              {"SetTabs moves a lost index to 0",
               false,
               tab(2),
               [](K& k) {
                 k.SetTabs({L"a", L"b"});
               },
               {},
               L"2:0"},
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
              {"SetValue",
               false,
               {},
               [](K& k) { k.SetValue(45123.125); },
               {},
               std::to_wstring(date ? 45123.0 : 0.125)},
              {"PickValue",
               true,
               {},
               pick(45001.75),
               {"Change"},
               std::to_wstring(date ? 45001.0 : 0.75)},
          }};
}

TEST(ControlKinds, ComboBox) { RunTable(ComboKind(), 0); }
TEST(ControlKinds, TabControl) { RunTable(TabKind(), 0); }
TEST(ControlKinds, DatePicker) { RunTable(PickerKind(TDateTimePicker::TKind::Date), 0); }
TEST(ControlKinds, TimePicker) { RunTable(PickerKind(TDateTimePicker::TKind::Time), 0); }

}  // namespace
