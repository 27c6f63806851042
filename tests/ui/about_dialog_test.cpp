#include <gtest/gtest.h>

#include "fakes/ui_driver.h"
#include "ui/program_windows.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

class AboutDialog : public ProgramTest {};

constexpr TColor kGrey = 0x808080;

TEST_F(AboutDialog, LinksChangeColourUnderTheMouseAndOpenTheirTargets) {
#ifdef _WIN32
  // The real pointer, wherever an earlier test left it, would hover a link
  // as the dialog opens under it: it waits in the screen's far corner.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
#endif
  Start();
  const struct {
    TLabel TAboutDialog::*link;
    const wchar_t* target;
    TColor startColor;
  } links[] = {
      {&TAboutDialog::icq, L"https://www.example.org/messenger/search?uin=100200300", clBlack},
      {&TAboutDialog::mail, L"mailto:tivorra@example.org?subject=Tivorra 1.0", clBlack},
      {&TAboutDialog::homepage, L"https://www.example.org/", clBlack},
      {&TAboutDialog::forum, L"https://forum.example.org/", clWindowText},
  };
  for (const auto& l : links) {
    TLabel& link = aboutDialog().*(l.link);
    SCOPED_TRACE(&l - links);
    shell.opened.clear();
    EXPECT_EQ(link.Cursor(), TCursor::Cross);
    EXPECT_EQ(link.Font().Color, l.startColor);
    EXPECT_EQ(link.ShadowColor(), clWhite);
    ScriptModal(aboutDialog(), [&](TForm&) {
      link.MouseEnter();
      EXPECT_EQ(link.Font().Color, clWhite);
      EXPECT_EQ(link.ShadowColor(), kGrey);
      link.MouseLeave();
      EXPECT_EQ(link.Font().Color, clBlack);
      EXPECT_EQ(link.ShadowColor(), clWhite);
      link.Click();
      aboutDialog().OK.Click();
      return 0;
    });
    mainWindow().InfoBut.Click();
    EXPECT_FALSE(aboutDialog().Visible());
    EXPECT_EQ(shell.opened, std::vector<std::wstring>{l.target});
  }
  // Colours changed by hovering stay between showings.
  EXPECT_EQ(aboutDialog().forum.Font().Color, clBlack);
}

TEST_F(AboutDialog, IsOwnedCentredMoneyGreenAndClosesWithoutTheStartUpSequence) {
  Start();
  EXPECT_EQ(aboutDialog().Owner(), &mainWindow());
  EXPECT_EQ(aboutDialog().Position(), TPosition::OwnerCenter);
  EXPECT_EQ(aboutDialog().Color(), clMoneyGreen);
  EXPECT_EQ(aboutDialog().CAP.Caption(), L"Tivorra v.1.0");
  EXPECT_NE(aboutDialog().programming.Caption().find(L"команда Tivorra"), std::wstring::npos);
  const int writes = runValue.writeCount;
  for (bool closeBox : {false, true}) {
    ScriptModal(aboutDialog(), [closeBox](TForm& f) {
      if (closeBox) {
        f.Close();
      } else {
        static_cast<TAboutDialog&>(f).OK.Click();
      }
      return 0;
    });
    mainWindow().InfoBut.Click();
    Pump();
    EXPECT_FALSE(aboutDialog().Visible());
  }
  EXPECT_EQ(runValue.writeCount, writes) << "the start-up sequence ran again";
}

}  // namespace
