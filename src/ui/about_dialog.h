// The about dialog: name and version, slogan, the developer's contacts as
// links opened through the shell, thanks, and "Я согласен !".
#pragma once

#include "controls/controls.h"

class TShell;

// Where the links lead.
inline constexpr wchar_t kIcqTarget[] = L"https://www.example.org/messenger/search?uin=100200300";
inline constexpr wchar_t kMailTarget[] = L"mailto:tivorra@example.org?subject=Tivorra 1.0";
inline constexpr wchar_t kHomepageTarget[] = L"https://www.example.org/";
inline constexpr wchar_t kForumTarget[] = L"https://forum.example.org/";

class TAboutDialog : public TForm {
 public:
  TAboutDialog(TForm& owner, TShell& shell);

  void LinkClick(const wchar_t* target);
  // The mouse over a link: white text on a grey shadow; out: black on white.
  void LinkMouseMove(TLabel& link);
  void LinkMouseLeave(TLabel& link);
  void OKClick();

  TLabel CAP{this, 64, 0, 191, 32, L"Tivorra v.1.0", TLabel::Embossed | TLabel::Raised};
  TLabel Slogan{this,
                16,
                32,
                127,
                51,
                L"Tivorra - будильник,\rкоторый разбудит Вас,\rкогда угодно!",
                TLabel::Embossed};
  TLabel programming{
      this, 168, 40, 144, 37, L"Разработчик программы - \rкоманда Tivorra", TLabel::Embossed};
  TLabel icq{this, 168, 80, 86, 23, L"ICQ: 100200300", TLabel::Embossed};
  TLabel mail{this, 168, 105, 133, 23, L"tivorra@example.org", TLabel::Embossed};
  TLabel homepage{this, 168, 130, 128, 23, L"www.example.org", TLabel::Embossed};
  TLabel Thanks{this,
                16,
                88,
                128,
                65,
                L"За помощь в создании\rпрограммы благодарен\rфоруму сайта\rи его обитателям!",
                TLabel::Embossed};
  // Declared after Thanks, so it lies above the end of its third line; one
  // line high: taller, it hid the fourth.
  TLabel forum{this, 96, 112, 51, 12, L"Example", TLabel::Embossed};
  TLabel FreeWare{this, 64, 176, 188, 23, L"Программа абсолютно бесплатная", TLabel::Embossed};
  TButton OK{this, 128, 200, 75, 25, L"Я согласен !"};

 private:
  TShell& shell_;
};
