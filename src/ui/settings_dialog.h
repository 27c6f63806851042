// The settings dialog: the four user settings as three-state boxes. A
// setting that is on shows grayed; OK stores what the boxes say, Cancel
// and the close box store nothing.
#pragma once

#include "controls/controls.h"

class TForm1;

class TForm2 : public TForm {
 public:
  explicit TForm2(TForm1& main);

  // Fills the boxes from the settings: on shows grayed, off unchecked.
  // Runs at every showing and every activation, so clicks that were not
  // confirmed are forgotten.
  void FormActivate();
  void OKClick();
  void CANCELClick();

  // In Tab order.
  TCheckBox Auto{this, 8, 8, 241, 21, L"Загрузка программы при старте Windows", true};
  TButton OK{this, 96, 112, 75, 25, L"Ок"};
  TButton CANCEL{this, 176, 112, 75, 25, L"Отменить"};
  TCheckBox onClickEdit{this, 8, 32, 241, 21, L"Редактировать запись кликом мышки", true};
  TCheckBox onCloseMinToTray{this, 8, 56, 265, 21, L"При закрытии программы сворачивать в трэй",
                             true};
  TCheckBox ShowMes{this, 7, 80, 314, 21, L"Показывать сообщения \"Запись изменена/добавлена\"",
                    true};

 private:
  TForm1& main_;
};
