// The settings dialog and the about dialog. Their contents come later; the
// main window already shows them modally and closes the settings dialog
// when the program is activated or minimised.
#pragma once

#include "controls/controls.h"

class TForm2 : public TForm {
 public:
  TForm2() : TForm(L"Настройки", 0, 0, 339, 148, TBorderStyle::Dialog) {}
};

class TForm4 : public TForm {
 public:
  TForm4() : TForm(L"О программе", 0, 0, 326, 240, TBorderStyle::Dialog) {
    SetColor(clMoneyGreen);
  }
};
