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
