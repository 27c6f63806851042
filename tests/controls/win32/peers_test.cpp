// What only the real windows can show: how the Win32 peers look and sit.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/controls.h"
#include "controls/dispatcher.h"
#include "fakes/fake_services.h"

namespace {

HWND H(const TControl& c) { return static_cast<HWND>(c.Peer().Handle()); }

TEST(Win32Peers, TheEllipsisButtonSitsInsideTheRightEndOfItsField) {
  TForm form(L"Поле", 100, 100, 300, 100, TBorderStyle::Single);
  TPanel panel(&form, 0, 0, 300, 100);
  TEdit edit(&panel, 8, 8, 200, 21, true);
  int clicks = 0;
  edit.OnButtonClick = [&] { ++clicks; };
  form.ShowNormal();
  // The button and the text field lie side by side: an edit control paints
  // over windows inside it.
  HWND button = FindWindowExW(H(edit), nullptr, L"Button", nullptr);
  HWND text = FindWindowExW(H(edit), nullptr, L"Edit", nullptr);
  ASSERT_NE(button, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(IsWindowVisible(button));
  RECT whole, b, t, both;
  GetWindowRect(H(edit), &whole);
  GetWindowRect(button, &b);
  GetWindowRect(text, &t);
  EXPECT_FALSE(IntersectRect(&both, &b, &t));
  EXPECT_EQ(b.right, whole.right);
  EXPECT_EQ(t.left, whole.left);
  EXPECT_GT(b.right - b.left, 0);
  edit.TypeText(L"C:\\a.txt");
  EXPECT_EQ(edit.Text(), L"C:\\a.txt");
  edit.ButtonClick();
  EXPECT_EQ(clicks, 1);
  form.Hide();
}

}  // namespace

#include "controls/win32/tray_peer.h"
#include "controls/win32/win32_backend.h"
#include "fakes/ui_driver.h"

namespace {

class TWakeUp : public TForm {
 public:
  TWakeUp() : TForm(L"Будильник", 300, 200, 225, 232, TBorderStyle::Single) {
    OK.OnClick = [this] { Close(); };
  }
  TButton OK{this, 72, 200, 75, 25, L"OK"};
};

TEST(Win32Peers, AWindowShownDuringAModalDialogStaysUsable) {
  TForm main(L"Главное", 50, 50, 150, 200, TBorderStyle::None);
  TForm hidden(L"Скрытое", 50, 50, 100, 100, TBorderStyle::Single);
  TForm dialog(L"Настройки", 80, 80, 200, 100, TBorderStyle::Dialog);
  TWakeUp wake;
  main.ShowNormal();
  bool mainDisabledDuring = false, wakeUsable = false, wakeClosed = false;
  ScriptModal(dialog, [&](TForm&) {
    mainDisabledDuring = !IsWindowEnabled(H(main)) && !main.Enabled();
    wake.ShowNormal();  // an alarm rings while the dialog is open
    wakeUsable = IsWindowEnabled(H(wake)) != FALSE && wake.Enabled();
    wake.OK.Click();
    wakeClosed = !wake.Visible() && !IsWindowVisible(H(wake));
    return 1;
  });
  EXPECT_EQ(dialog.ShowModal(), 1);
  EXPECT_TRUE(mainDisabledDuring);
  EXPECT_TRUE(wakeUsable);
  EXPECT_TRUE(wakeClosed) << "its OK works";
  EXPECT_TRUE(IsWindowEnabled(H(main)));
  EXPECT_TRUE(IsWindowEnabled(H(hidden))) << "a hidden window is left as it was";
  main.Hide();
}

class TTwoButtons : public TForm {
 public:
  TTwoButtons(int left) : TForm(L"Фокус", left, 100, 200, 100, TBorderStyle::Single) {}
  TPanel Panel{this, 0, 0, 200, 100};
  TButton A{&Panel, 8, 8, 75, 25, L"A"};
  TButton B{&Panel, 8, 40, 75, 25, L"B"};
};

TEST(Win32Peers, AnActivatedFormGivesTheFocusToAControl) {
  TTwoButtons one(100), two(400);
  one.ShowNormal();
  Pump();
  EXPECT_EQ(GetFocus(), H(one.A)) << "the first control in the Tab order";
  one.B.SetFocus();
  two.ShowNormal();
  Pump();
  EXPECT_EQ(GetFocus(), H(two.A));
  one.BringToForeground();
  Pump();
  EXPECT_EQ(GetFocus(), H(one.B)) << "back where it was";
  // Tab moves on through the dialog manager; Enter on a focused button
  // presses it.
  int clicks = 0;
  one.A.OnClick = [&] { ++clicks; };
  one.B.PressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), H(one.A));
  one.A.PressKey(VK_RETURN);
  EXPECT_EQ(clicks, 1);
  one.Hide();
  two.Hide();
}

TEST(Win32Peers, TheTrayIconIsAddedAgainAndRemovedWithItsOwner) {
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  {
    TTrayIcon icon;
    icon.SetHint(L"Tivorra");
    icon.SetVisible(true);
    const win32::TTrayRecord* tray = win32::TrayRecord();
    ASSERT_NE(tray, nullptr);
    EXPECT_TRUE(tray->Added);
    EXPECT_EQ(std::wstring(tray->Data.szTip), L"Tivorra");
    EXPECT_EQ(tray->Data.hWnd, tray->Window);
    EXPECT_NE(tray->Data.hIcon, nullptr);
    EXPECT_EQ(tray->Data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    std::vector<std::string> events;
    icon.OnMouseDown = [&](TMouseButton) { events.push_back("down"); };
    icon.OnMouseUp = [&](TMouseButton b) {
      events.push_back(b == TMouseButton::Right ? "right up" : "up");
    };
    icon.Press(TMouseButton::Left);
    icon.Release(TMouseButton::Right);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "right up"}));

    // Explorer started again: the notification area is empty until the
    // program adds its icon once more.
    NOTIFYICONDATAW gone = tray->Data;
    Shell_NotifyIconW(NIM_DELETE, &gone);
    SendMessageW(tray->Window, taskbarCreated, 0, 0);
    EXPECT_TRUE(tray->Added);
    NOTIFYICONDATAW again = tray->Data;
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &again)) << "the icon is there again";
  }
  EXPECT_EQ(win32::TrayRecord(), nullptr);
}

}  // namespace

#include <commctrl.h>

#include "controls/win32/win32_common.h"

#include <functional>

namespace {

// Controls in a panel that is hidden at first: none has a window until the
// panel shows.
class TLateForm : public TForm {
 public:
  TLateForm() : TForm(L"Позже", 60, 60, 400, 300, TBorderStyle::Single) { Box.Hide(); }
  ~TLateForm() override { Hide(); }
  TPanel Box{this, 0, 0, 400, 300};
  TButton Button{&Box, 8, 8, 75, 25, L"Кнопка"};
  TCheckBox Check{&Box, 8, 40, 120, 21, L"Флажок", true};
  TRadioButton Radio{&Box, 8, 64, 120, 21, L"Выбор"};
  TEdit Edit{&Box, 8, 88, 120, 21};
  TMemo Memo{&Box, 8, 112, 120, 60, false};
  TListBox List{&Box, 140, 8, 100, 60};
  TComboBox Combo{&Box, 140, 80, 100, 21};
  TTabControl Tabs{&Box, 250, 8, 140, 80, 24};
  TDateTimePicker Date{&Box, 250, 100, 120, 21, TDateTimePicker::TKind::Date, 40000};
  TLabel Label{&Box, 250, 130, 120, 40, L"Метка"};
};

std::wstring TextOf(const TControl& c) {
  wchar_t buf[128] = {};
  SendMessageW(H(c), WM_GETTEXT, 128, reinterpret_cast<LPARAM>(buf));
  return buf;
}
LRESULT Send(const TControl& c, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  return SendMessageW(H(c), msg, wp, lp);
}

TEST(Win32Peers, APropertySetBeforeTheWindowIsMadeIsOnTheWindowAfterwards) {
  TLateForm f;
  const struct {
    const char* name;
    std::function<void(TLateForm&)> set;
    std::function<bool(TLateForm&)> shows;
  } cases[] = {
      {"caption and enabled",
       [](TLateForm& f) { f.Button.SetCaption(L"Другая"), f.Button.SetEnabled(false); },
       [](TLateForm& f) { return TextOf(f.Button) == L"Другая" && !IsWindowEnabled(H(f.Button)); }},
      {"grayed", [](TLateForm& f) { f.Check.SetState(TCheckState::Grayed); },
       [](TLateForm& f) { return Send(f.Check, BM_GETCHECK) == BST_INDETERMINATE; }},
      {"checked", [](TLateForm& f) { f.Radio.SetChecked(true); },
       [](TLateForm& f) { return Send(f.Radio, BM_GETCHECK) == BST_CHECKED; }},
      {"text", [](TLateForm& f) { f.Edit.SetText(L"поле"); },
       [](TLateForm& f) { return TextOf(f.Edit) == L"поле"; }},
      {"lines", [](TLateForm& f) { f.Memo.SetText(L"раз\rдва"); },
       [](TLateForm& f) { return Send(f.Memo, EM_GETLINECOUNT) == 2; }},
      {"rows and the selection",
       [](TLateForm& f) { f.List.SetItems({L"а", L"б", L"в"}), f.List.SetItemIndex(2); },
       [](TLateForm& f) { return Send(f.List, LB_GETCOUNT) == 3 && Send(f.List, LB_GETCURSEL) == 2; }},
      {"entries and the picked one",
       [](TLateForm& f) { f.Combo.SetItems({L"x", L"y"}), f.Combo.SetItemIndex(1); },
       [](TLateForm& f) { return Send(f.Combo, CB_GETCOUNT) == 2 && Send(f.Combo, CB_GETCURSEL) == 1; }},
      {"tabs and the selected one",
       [](TLateForm& f) { f.Tabs.SetTabs({L"1", L"2", L"3"}), f.Tabs.SetTabIndex(1); },
       [](TLateForm& f) {
         return Send(f.Tabs, TCM_GETITEMCOUNT) == 3 && Send(f.Tabs, TCM_GETCURSEL) == 1;
       }},
      {"date", [](TLateForm& f) { f.Date.SetValue(46364); },  // 8 December 2026
       [](TLateForm& f) {
         SYSTEMTIME st{};
         return Send(f.Date, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID &&
                st.wYear == 2026 && st.wMonth == 12 && st.wDay == 8;
       }},
      {"name and place",
       [](TLateForm& f) { f.Label.SetCaption(L"Имя"), f.Label.SetBounds(260, 140, 50, 20); },
       [](TLateForm& f) {
         RECT r;
         GetClientRect(H(f.Label), &r);
         return TextOf(f.Label) == L"Имя" && r.right == MulDiv(50, win32::DpiOf(H(f.Label)), 96);
       }},
  };
  f.ShowNormal();
  for (const auto& c : cases) c.set(f);
  for (TControl* c : f.Box.Children()) EXPECT_EQ(H(*c), nullptr) << "made while hidden";
  f.Box.Show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(H(*f.Box.Children()[&c - cases]), nullptr);
    EXPECT_TRUE(c.shows(f));
  }
  // Made late and apart from each other, they stack as declared, the
  // first on top.
  const auto& declared = f.Box.Children();
  EXPECT_EQ(StackOf(f.Box), std::vector<const TControl*>(declared.begin(), declared.end()));
}

TEST(Win32Peers, AHiddenFormMakesItsControlsWindowsWhenItPrepares) {
  TLateForm f;
  f.Box.Show();
  EXPECT_EQ(H(f.Button), nullptr);
  f.PrepareWindows();
  EXPECT_NE(H(f.Button), nullptr);
  EXPECT_FALSE(IsWindowVisible(H(f.Button))) << "made, not shown";
  f.Box.Hide();
  TLateForm g;
  g.PrepareWindows();
  EXPECT_EQ(H(g.Button), nullptr) << "inside a hidden panel: still waits";
}

}  // namespace

namespace {

TEST(Win32Peers, AFormHasNoWindowUntilItShowsAndThenCarriesWhatWasSet) {
  TForm f(L"Окно", 60, 60, 200, 100, TBorderStyle::Dialog);
  TButton ok(&f, 8, 8, 75, 25, L"OK");
  f.SetCaption(L"Другое");
  f.SetClientSize(260, 120);
  f.SetEnabled(false);
  EXPECT_FALSE(f.Peer().Made()) << "a form nobody showed makes no window";
  EXPECT_FALSE(ok.Peer().Made());
  f.Show();
  ASSERT_TRUE(f.Peer().Made());
  const HWND w = H(f);
  wchar_t text[32] = {};
  GetWindowTextW(w, text, 32);
  RECT r;
  GetClientRect(w, &r);
  EXPECT_STREQ(text, L"Другое");
  EXPECT_EQ(r.right, MulDiv(260, win32::DpiOf(w), 96));
  EXPECT_EQ(r.bottom, MulDiv(120, win32::DpiOf(w), 96));
  EXPECT_FALSE(IsWindowEnabled(w));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(ok.Peer().Made());
  f.Hide();

  TForm prepared(L"Будильник", 60, 60, 200, 100, TBorderStyle::Single);
  TButton stop(&prepared, 8, 8, 75, 25, L"Стоп");
  prepared.PrepareWindows();
  EXPECT_TRUE(prepared.Peer().Made()) << "prepared: made, so that showing it waits for nothing";
  EXPECT_TRUE(stop.Peer().Made());
  EXPECT_FALSE(IsWindowVisible(H(prepared)));
}

}  // namespace
