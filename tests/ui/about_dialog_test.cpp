#include <gtest/gtest.h>

#include "fakes/ui_driver.h"
#include "ui/program_forms.h"

namespace {

class AboutDialog : public ProgramTest {};

constexpr TColor kGrey = 0x808080;

TEST_F(AboutDialog, LinksChangeColourUnderTheMouseAndOpenTheirTargets) {
  Start();
  const struct {
    TLabel TForm4::*link;
    const wchar_t* target;
    TColor startColor;
  } links[] = {
      {&TForm4::icq, L"https://www.example.org/messenger/search?uin=100200300", clBlack},
      {&TForm4::mail, L"mailto:tivorra@example.org?subject=Tivorra 1.0", clBlack},
      {&TForm4::homepage, L"https://www.example.org/", clBlack},
      {&TForm4::forum, L"https://forum.example.org/", clWindowText},
  };
  for (const auto& l : links) {
    TLabel& link = form4().*(l.link);
    SCOPED_TRACE(&l - links);
    shell.opened.clear();
    EXPECT_EQ(link.Cursor(), TCursor::Cross);
    EXPECT_EQ(link.Font().Color, l.startColor);
    EXPECT_EQ(link.ShadowColor(), clWhite);
    ScriptModal(form4(), [&](TForm&) {
      link.MouseEnter();
      EXPECT_EQ(link.Font().Color, clWhite);
      EXPECT_EQ(link.ShadowColor(), kGrey);
      link.MouseLeave();
      EXPECT_EQ(link.Font().Color, clBlack);
      EXPECT_EQ(link.ShadowColor(), clWhite);
      link.Click();
      form4().OK.Click();
      return 0;
    });
    form1().InfoBut.Click();
    EXPECT_FALSE(form4().Visible());
    EXPECT_EQ(shell.opened, std::vector<std::wstring>{l.target});
  }
  // Colours changed by hovering stay between showings.
  EXPECT_EQ(form4().forum.Font().Color, clBlack);
}

TEST_F(AboutDialog, IsOwnedCentredMoneyGreenAndClosesWithoutTheStartUpSequence) {
  Start();
  EXPECT_EQ(form4().Owner(), &form1());
  EXPECT_EQ(form4().Position(), TPosition::OwnerCenter);
  EXPECT_EQ(form4().Color(), clMoneyGreen);
  EXPECT_EQ(form4().CAP.Caption(), L"Tivorra v.1.0");
  EXPECT_NE(form4().programming.Caption().find(L"команда Tivorra"), std::wstring::npos);
  const int writes = runValue.writeCount;
  for (bool closeBox : {false, true}) {
    ScriptModal(form4(), [closeBox](TForm& f) {
      if (closeBox) {
        f.Close();
      } else {
        static_cast<TForm4&>(f).OK.Click();
      }
      return 0;
    });
    form1().InfoBut.Click();
    Pump();
    EXPECT_FALSE(form4().Visible());
  }
  EXPECT_EQ(runValue.writeCount, writes) << "the start-up sequence ran again";
}

}  // namespace
