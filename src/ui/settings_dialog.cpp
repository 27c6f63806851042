#include "ui/settings_dialog.h"

#include <cstdint>

#include "ui/main_form.h"

namespace {
bool On(const TCheckBox& box) { return box.State() != TCheckState::Unchecked; }
void ShowSetting(TCheckBox& box, std::uint8_t setting) {
  box.SetState(setting ? TCheckState::Grayed : TCheckState::Unchecked);
}
}  // namespace

TForm2::TForm2(TForm1& main)
    : TForm(L"Настройки", 0, 0, 339, 148, TBorderStyle::Dialog), main_(main) {
  SetOwner(&main);
  SetPosition(TPosition::OwnerCenter);
  SetActivation(TActivation::Always);
  OnShow = [this] { FormActivate(); };
  OnActivate = [this] { FormActivate(); };
  OK.OnClick = [this] { OKClick(); };
  CANCEL.OnClick = [this] { CANCELClick(); };
}

void TForm2::FormActivate() {
  const TSettings& s = main_.Settings();
  ShowSetting(Auto, s.AutoLoad);
  ShowSetting(onClickEdit, s.EditOnClick);
  ShowSetting(onCloseMinToTray, s.MinToTrayOnClose);
  ShowSetting(ShowMes, s.ShowMessages);
}

void TForm2::OKClick() {
  TSettings& s = main_.Settings();
  // A Run value that cannot be written ends the click here (the error is
  // reported by the dispatcher): nothing is stored and the dialog stays.
  if (On(Auto)) {
    main_.AddAutoLoad();
    s.AutoLoad = 1;
  } else {
    main_.DelAutoLoad();
    s.AutoLoad = 0;
  }
  s.EditOnClick = On(onClickEdit) ? 1 : 0;
  s.MinToTrayOnClose = On(onCloseMinToTray) ? 1 : 0;
  s.ShowMessages = On(ShowMes) ? 1 : 0;
  main_.WriteConfig();
  main_.ReadConfig();
  Close();
}

void TForm2::CANCELClick() { Close(); }
