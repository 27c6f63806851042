// Forms as a user meets them: modal dialogs, keyboard focus and Tab order,
// the popup menu and the tray icon; on both halves.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "fakes/ui_driver.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "fakes/recording_backend.h"
#endif

namespace {

class TPlain : public TForm {
 public:
  explicit TPlain(const std::wstring& caption)
      : TForm(caption, 60, 60, 200, 120, TBorderStyle::Single) {}
  ~TPlain() override { Hide(); }
  TButton Ok{this, 8, 8, 75, 25, L"OK"};
};

TEST(Forms, AModalDialogDisablesOnlyTheUsableFormsAndGivesBackExactlyThose) {
  const struct {
    const char* name;
    bool visible, enabled, enabledDuring;
  } cases[] = {
      {"shown and enabled", true, true, false},
      {"shown and disabled", true, false, false},
      {"hidden and enabled", false, true, true},
      {"hidden and disabled", false, false, false},
  };
  std::vector<std::unique_ptr<TPlain>> forms;
  for (const auto& c : cases) {
    forms.push_back(std::make_unique<TPlain>(L"Форма"));
    if (c.visible) forms.back()->ShowNormal();
    forms.back()->SetEnabled(c.enabled);
  }
  TPlain dialog(L"Настройки"), later(L"Подъём");
  int laterClicks = 0;
  later.Ok.OnClick = [&] { ++laterClicks; };
  std::vector<bool> during;
  ScriptModal(dialog, [&](TForm&) {
    for (const auto& f : forms) {
      during.push_back(f->Enabled());
#ifdef _WIN32
      EXPECT_EQ(IsWindowEnabled(static_cast<HWND>(f->Peer().Handle())) != 0, f->Enabled());
#endif
    }
    // A modeless form shown while the dialog is open stays usable.
    later.ShowNormal();
    Pump();
    later.Ok.Click();
    return 7;
  });
  EXPECT_EQ(dialog.ShowModal(), 7);
  ASSERT_EQ(during.size(), forms.size());
  for (std::size_t i = 0; i < forms.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(during[i], cases[i].enabledDuring);
    EXPECT_EQ(forms[i]->Enabled(), cases[i].enabled) << "as it was before the dialog";
#ifdef _WIN32
    EXPECT_EQ(IsWindowEnabled(static_cast<HWND>(forms[i]->Peer().Handle())) != 0, cases[i].enabled);
#endif
  }
  EXPECT_EQ(laterClicks, 1);
  EXPECT_TRUE(later.Enabled());
}

// The Tab order: each container's controls in the order of their creation,
// at the container's own place; labels and panels take no focus.
class TOrderForm : public TForm {
 public:
  TOrderForm() : TForm(L"Порядок", 80, 80, 300, 200, TBorderStyle::Single) {}
  ~TOrderForm() override { Hide(); }
  TLabel Note{this, 8, 4, 100, 16, L"Имя:"};
  TEdit Name{this, 8, 20, 120, 21};
  TPanel Box{this, 8, 48, 200, 80};
  TCheckBox Sound{&Box, 4, 4, 120, 17, L"Звук"};
  TPanel Inner{&Box, 4, 24, 190, 50};
  TComboBox Volume{&Inner, 4, 4, 80, 21};
  TButton Ok{this, 8, 140, 75, 25, L"OK"};
  TListBox List{this, 220, 8, 70, 120};
  // Made last, tabbed inside Box. (Not a radio button: the dialog manager
  // enters a radio group at its checked button, and skips one left unchecked.)
  TCheckBox Late{&Box, 130, 4, 60, 17, L"Позже"};
};

TEST(Forms, TabOrderIsTheOrderOfCreationInsideEachContainer) {
  TOrderForm f;
  f.ShowNormal();
  const std::vector<TControl*> expected = {&f.Name, &f.Sound, &f.Volume, &f.Late, &f.Ok, &f.List};
  EXPECT_EQ(f.TabOrder(), expected);
  // Tab walks the same order, as the dialog manager hands it on.
  for (std::size_t i = 0; i + 1 < expected.size(); ++i) {
    expected[i]->SetFocus();
    expected[i]->PressKey(kVkTab);
    EXPECT_TRUE(expected[i + 1]->Focused()) << "after control " << i;
  }
}

// A radio group with a box between its buttons, as the editor's kinds have
// the date beside the first one.
class TKindsForm : public TForm {
 public:
  TKindsForm() : TForm(L"Виды", 80, 80, 300, 200, TBorderStyle::Single) {}
  ~TKindsForm() override { Hide(); }
  TEdit Name{this, 8, 8, 120, 21};
  TPanel Kinds{this, 8, 36, 280, 100};
  TRadioButton A{&Kinds, 4, 4, 90, 17, L"Дата"};
  TCheckBox Mid{&Kinds, 120, 4, 90, 17, L"Между"};
  TRadioButton B{&Kinds, 4, 24, 90, 17, L"Ежедневно"};
  TRadioButton C{&Kinds, 4, 44, 90, 17, L"Еженедельно"};
  TButton Ok{this, 8, 150, 75, 25, L"OK"};
};

// The control a letter names: Name, A, B, C, Mid, Ok.
TControl& Named(TKindsForm& f, char which) {
  switch (which) {
    case 'A': return f.A;
    case 'B': return f.B;
    case 'C': return f.C;
    case 'M': return f.Mid;
    case 'O': return f.Ok;
    default: return f.Name;
  }
}

TEST(Forms, TabEntersARadioGroupAtItsCheckedButtonOrItsFirst) {
  const struct {
    const char* name;
    std::function<void(TKindsForm&)> arrange;
    const char* stops;  // where each Tab from Name goes, in turn
  } cases[] = {
      {"none checked", [](TKindsForm&) {}, "AMON"},
      {"the second checked", [](TKindsForm& f) { f.B.SetChecked(true); }, "BMON"},
      {"the checked one disabled",
       [](TKindsForm& f) { f.B.SetChecked(true), f.B.SetEnabled(false); },
       "AMO"},
      // The group stands where its first reachable button stands.
      {"the first hidden", [](TKindsForm& f) { f.A.Hide(); }, "MBON"},
      {"all disabled",
       [](TKindsForm& f) { f.A.SetEnabled(false), f.B.SetEnabled(false), f.C.SetEnabled(false); },
       "MON"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TKindsForm f;
    c.arrange(f);
    f.ShowNormal();
    Pump();
    f.Name.SetFocus();
    TControl* at = &f.Name;
    for (const char* stop = c.stops; *stop; ++stop) {
      at->PressKey(kVkTab);
      at = &Named(f, *stop);
      EXPECT_TRUE(at->Focused()) << "Tab to " << *stop;
    }
    // Shift+Tab walks the same stops back.
    EXPECT_EQ(f.NextTabStop(&Named(f, c.stops[0]), true), &f.Name);
    EXPECT_EQ(f.NextTabStop(&f.Name, true), &f.Ok);
  }
}

TEST(Forms, ArrowKeysMoveThroughARadioGroupAndCheckAsTheyGo) {
  const struct {
    const char* name;
    std::function<void(TKindsForm&)> arrange;
    std::vector<std::uint16_t> keys;
    const char* visited;  // focused and checked after each key, in turn
  } cases[] = {
      {"down, round the end", [](TKindsForm&) {}, {kVkDown, kVkRight, kVkDown}, "BCA"},
      {"up, round the start", [](TKindsForm&) {}, {kVkUp, kVkLeft}, "CB"},
      {"over a disabled one", [](TKindsForm& f) { f.B.SetEnabled(false); }, {kVkDown}, "C"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TKindsForm f;
    c.arrange(f);
    std::string clicks;
    f.A.OnClick = [&] { clicks += 'A'; };
    f.B.OnClick = [&] { clicks += 'B'; };
    f.C.OnClick = [&] { clicks += 'C'; };
    f.ShowNormal();
    Pump();
    f.A.SetFocus();
    TControl* at = &f.A;
    for (std::size_t i = 0; i < c.keys.size(); ++i) {
      at->PressKey(c.keys[i]);
      auto& now = static_cast<TRadioButton&>(Named(f, c.visited[i]));
      EXPECT_TRUE(now.Focused()) << "key " << i;
      EXPECT_TRUE(now.Checked()) << "key " << i;
      at = &now;
    }
    EXPECT_EQ(clicks, c.visited) << "each button raised its click once";
    EXPECT_EQ(f.A.Checked() + f.B.Checked() + f.C.Checked(), 1);
  }
}

TEST(Forms, ActivationFocusesTheFirstReachableControlInTabOrder) {
  const struct {
    const char* name;
    std::function<void(TOrderForm&)> arrange;
    std::function<TControl&(TOrderForm&)> focused;
  } cases[] = {
      {"all reachable", [](TOrderForm&) {}, [](TOrderForm& f) -> TControl& { return f.Name; }},
      {"first disabled", [](TOrderForm& f) { f.Name.SetEnabled(false); },
       [](TOrderForm& f) -> TControl& { return f.Sound; }},
      {"first hidden", [](TOrderForm& f) { f.Name.Hide(); },
       [](TOrderForm& f) -> TControl& { return f.Sound; }},
      {"the next panel disabled", [](TOrderForm& f) { f.Name.Hide(), f.Box.SetEnabled(false); },
       [](TOrderForm& f) -> TControl& { return f.Ok; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TOrderForm f;
    c.arrange(f);
    f.ShowNormal();
    Pump();
    for (TControl* t : f.TabOrder()) EXPECT_EQ(t->Focused(), t == &c.focused(f));
  }
}

TEST(Forms, FocusComesBackToTheLastFocusedControl) {
  const struct {
    const char* name;
    std::function<void(TPlain&, TOrderForm&)> away, back;
  } ways[] = {
      {"brought forward", [](TPlain& o, TOrderForm&) { o.ShowNormal(); },
       [](TPlain&, TOrderForm& f) { f.BringToForeground(); }},
      {"the other form hides", [](TPlain& o, TOrderForm&) { o.ShowNormal(); },
       [](TPlain& o, TOrderForm&) { o.Hide(); }},
      {"a modal dialog closes",
       [](TPlain& o, TOrderForm& f) {
         ScriptModal(o, [&](TForm&) {
           EXPECT_TRUE(o.Ok.Focused());
           EXPECT_FALSE(f.List.Focused());
           return 1;
         });
         o.ShowModal();
       },
       [](TPlain&, TOrderForm&) {}},
  };
  for (const auto& w : ways) {
    SCOPED_TRACE(w.name);
    TOrderForm f;
    TPlain other(L"Другая");
    f.ShowNormal();
    f.List.SetFocus();
    Pump();
    ASSERT_TRUE(f.List.Focused());
    w.away(other, f);
    Pump();
    if (other.Visible()) {
      EXPECT_TRUE(other.Ok.Focused());
      EXPECT_FALSE(f.List.Focused());
    }
    w.back(other, f);
    Pump();
    EXPECT_TRUE(f.List.Focused());
    EXPECT_FALSE(f.Name.Focused());
  }
}

TEST(Forms, PopupMenuRaisesTheChosenItemOnly) {
  TPlain owner(L"Владелец");
  owner.ShowNormal();
  std::vector<std::string> raised;
  TPopupMenu menu;
  menu.Items = {{L"Открыть", [&] { raised.push_back("open"); }},
                {L"Настройки", [&] { raised.push_back("settings"); }},
                {L"Выход", [&] { raised.push_back("exit"); }}};
  const struct {
    int choice;
    std::vector<std::string> raised;
  } cases[] = {{0, {"open"}}, {2, {"exit"}}, {-1, {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.choice);
    raised.clear();
    ScriptMenuChoice(c.choice);
    EXPECT_EQ(menu.Popup(100, 120), c.choice);
    EXPECT_EQ(raised, c.raised);
#ifndef _WIN32
    const auto& shown = Recorder().MenusShown().back();
    EXPECT_EQ(shown.X, 100);
    EXPECT_EQ(shown.Y, 120);
    EXPECT_EQ(shown.Captions, (std::vector<std::wstring>{L"Открыть", L"Настройки", L"Выход"}));
#endif
  }
}

TEST(Forms, TrayIconReportsTheMouseOnlyWhileAdded) {
  std::vector<std::string> raised;
  auto say = [&](const char* what, TMouseButton b) {
    raised.push_back(std::string(what) + (b == TMouseButton::Left ? " Left" : " Right"));
  };
  const struct {
    const char* name;
    std::function<void(TTrayIcon&)> act;
    std::vector<std::string> raised;
    bool added;  // natively: what the notification area shows
    int adds;
  } steps[] = {
      {"press before it is added", [](TTrayIcon& t) { t.Press(TMouseButton::Left); }, {}, false, 0},
      {"hint before it is added", [](TTrayIcon& t) { t.SetHint(L"Будильник"); }, {}, false, 0},
      {"added", [](TTrayIcon& t) { t.SetVisible(true); }, {}, true, 1},
      {"left press", [](TTrayIcon& t) { t.Press(TMouseButton::Left); }, {"down Left"}, true, 1},
      {"right release",
       [](TTrayIcon& t) { t.Release(TMouseButton::Right); },
       {"up Right"},
       true,
       1},
      {"hint changed", [](TTrayIcon& t) { t.SetHint(L"Подъём в 7:00"); }, {}, true, 1},
#ifndef _WIN32
      {"the notification area comes back",
       [](TTrayIcon&) { Recorder().TaskbarCreated(); },
       {},
       true,
       2},
#endif
      {"removed", [](TTrayIcon& t) { t.SetVisible(false); }, {}, false, 2},
      {"press after removal", [](TTrayIcon& t) { t.Press(TMouseButton::Right); }, {}, false, 2},
#ifndef _WIN32
      {"comes back while removed", [](TTrayIcon&) { Recorder().TaskbarCreated(); }, {}, false, 2},
#endif
  };
  {
    TTrayIcon tray;
    tray.OnMouseDown = [&](TMouseButton b) { say("down", b); };
    tray.OnMouseUp = [&](TMouseButton b) { say("up", b); };
#ifndef _WIN32
    const int baseAdds = Recorder().Tray().Adds;
#endif
    for (const auto& s : steps) {
      SCOPED_TRACE(s.name);
      raised.clear();
      s.act(tray);
      Pump();
      EXPECT_EQ(raised, s.raised);
      EXPECT_EQ(tray.Visible(), s.added);
#ifndef _WIN32
      EXPECT_EQ(Recorder().Tray().Added, s.added);
      EXPECT_EQ(Recorder().Tray().Adds - baseAdds, s.adds);
      if (s.added) {
        EXPECT_EQ(Recorder().Tray().Hint, tray.Hint());
      }
#endif
    }
    tray.SetVisible(true);
  }
#ifndef _WIN32
  EXPECT_FALSE(Recorder().Tray().Added) << "removed with its owner";
#endif
}

}  // namespace

namespace {

TEST(Forms, TrayIconTellsWhereTheMouseIs) {
  TTrayIcon tray;
  tray.SetVisible(true);
  for (const TPoint p : {TPoint{10, 20}, TPoint{300, 5}}) {
#ifdef _WIN32
    // Under Wine the pointer moves through X and is reported back a moment
    // later; the icon is asked once the system has it there.
    SetCursorPos(p.X, p.Y);
    for (int i = 0; i < 100; ++i) {
      POINT now{};
      if (GetCursorPos(&now) && now.x == p.X && now.y == p.Y) break;
      Sleep(10);
    }
#else
    Recorder().mouse = p;
#endif
    EXPECT_EQ(tray.MousePos().X, p.X);
    EXPECT_EQ(tray.MousePos().Y, p.Y);
  }
}

}  // namespace
