#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/fake_services.h"
#include "controls/controls.h"
#include "controls/dispatcher.h"
#include "controls/message_boxes.h"
#include "fakes/fake_wake_timer.h"
#include "fakes/ui_driver.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

class TwoButtons : public TForm {
 public:
  TwoButtons() : TForm(L"Проба", 100, 100, 200, 120, TBorderStyle::Single) {}
  TButton A{this, 8, 8, 75, 25, L"A"};
  TButton B{this, 8, 40, 75, 25, L"B"};
  TMemo Memo{this, 90, 8, 100, 100};
};

class Controls : public testing::Test {
 protected:
  void SetUp() override { SetErrorReport(&boxes); }
  void TearDown() override { SetErrorReport(nullptr); }
  TFakeMessageBoxes boxes;
};

TEST_F(Controls, ClickRaisesOnlyWhatAUserCouldClick) {
  struct Case {
    const char* name;
    bool formVisible, visible, enabled;
    int clicks;
  };
  const Case cases[] = {
      {"shown and enabled", true, true, true, 1},
      {"disabled", true, true, false, 0},
      {"hidden", true, false, true, 0},
      {"on a hidden form", false, true, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TwoButtons f;
    int a = 0, b = 0;
    f.A.OnClick = [&] { ++a; };
    f.B.OnClick = [&] { ++b; };
    f.SetVisible(c.formVisible);
    f.A.SetVisible(c.visible);
    f.A.SetEnabled(c.enabled);
    f.A.Click();
    EXPECT_EQ(a, c.clicks);
    EXPECT_EQ(b, 0);
    f.Hide();
  }
}

TEST_F(Controls, AnEscapedErrorBecomesTheErrorReportAndTheProgramGoesOn) {
  TwoButtons f;
  f.Show();
  f.A.OnClick = [] { throw std::runtime_error("boom"); };
  int b = 0;
  f.B.OnClick = [&] { ++b; };
  f.A.Click();
  f.B.Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].kind, TFakeMessageBoxes::Kind::Error);
  EXPECT_EQ(boxes.shown[0].text, L"boom");
  EXPECT_EQ(b, 1);
  f.Hide();
}

// The wake timer sits below the dispatcher; setting the error report
// reaches its events all the same, through the boundary's hook.
TEST_F(Controls, AnErrorEscapingAWakeTimerHandlerIsReportedAsWell) {
  TFakeWakeTimer timer;
  int wakes = 0;
  timer.OnDue = [] { throw std::runtime_error("due"); };
  timer.OnWake = [&] { ++wakes; };
  timer.Fire();
  timer.FireWake();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].kind, TFakeMessageBoxes::Kind::Error);
  EXPECT_EQ(boxes.shown[0].text, L"due");
  EXPECT_EQ(wakes, 1);
}

TEST_F(Controls, MemoKeepsItsTextExactly) {
  TwoButtons f;
  f.ShowNormal();  // its windows are made when it first shows
  const std::wstring text = L"Первая\rВторая\rТретья";
  f.Memo.SetText(text);
  EXPECT_EQ(f.Memo.Text(), text);
#ifdef _WIN32
  // The edit control shows each line on its own row.
  HWND edit = static_cast<HWND>(f.Memo.Peer().Handle());
  EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 3);
  wchar_t buf[64] = {};
  GetWindowTextW(edit, buf, 64);
  EXPECT_EQ(std::wstring(buf), L"Первая\r\nВторая\r\nТретья");
#endif
  f.Memo.Clear();
  EXPECT_EQ(f.Memo.Text(), L"");
  f.Hide();
}

TEST_F(Controls, OnActivateOnlyWhenTheFocusComesBackFromAModelessForm) {
  TForm main(L"main", 0, 0, 100, 100, TBorderStyle::None);
  TForm modeless(L"modeless", 0, 0, 100, 100, TBorderStyle::Single);
  TForm dialog(L"dialog", 0, 0, 100, 100, TBorderStyle::Dialog);
  int activations = 0;
  main.OnActivate = [&] { ++activations; };
  modeless.ShowNormal();
  modeless.Hide();
  ScriptModal(dialog, [](TForm&) { return 1; });
  dialog.ShowModal();

  const struct {
    const char* name;
    TForm* previous;
    int expected;
  } steps[] = {
      {"start-up", nullptr, 1},
      {"from another program or a message box", nullptr, 1},
      {"back from the wake-up window", &modeless, 2},
      {"back from a modal dialog", &dialog, 2},
      {"from itself", &main, 2},
  };
  for (const auto& s : steps) {
    main.Activated(s.previous);
    EXPECT_EQ(activations, s.expected) << s.name;
  }
}

TEST_F(Controls, TimersTickOnlyWhileEnabled) {
  TTimer t(1000, true);
  int ticks = 0;
  t.OnTimer = [&] { ++ticks; };
  t.Tick();
  t.SetEnabled(false);
  t.Tick();
  t.SetEnabled(true);
  t.SetInterval(40);
  t.Tick();
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(t.Interval(), 40);
}

TEST_F(Controls, FormShowRaisesOnShowOnceAndCloseHides) {
  TwoButtons f;
  int shows = 0, closes = 0;
  f.OnShow = [&] { ++shows; };
  f.OnClose = [&] { ++closes; };
  f.ShowNormal();
  f.Close();
  f.ShowNormal();
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(f.Visible());
#ifdef _WIN32
  // The close box sends WM_CLOSE: the same road.
  SendMessageW(static_cast<HWND>(f.Peer().Handle()), WM_CLOSE, 0, 0);
  EXPECT_EQ(closes, 2);
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(f.Peer().Handle())));
#else
  f.Close();
#endif
  EXPECT_FALSE(f.Visible());
}

}  // namespace
