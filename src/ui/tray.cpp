#include "ui/tray.h"

#include "controls/app_window.h"

TTray::TTray(TTrayIcon& RzTrayIcon1, TPopupMenu& abfPopupMenu1, TForm& window,
             TForm& settingsDialog, TForm& daysOffDialog, TForm& aboutDialog,
             TApplicationWindow& app)
    : icon_(RzTrayIcon1),
      menu_(abfPopupMenu1),
      window_(window),
      settingsDialog_(settingsDialog),
      daysOffDialog_(daysOffDialog),
      aboutDialog_(aboutDialog),
      app_(app) {
  icon_.SetHint(L"Tivorra");
  icon_.OnMouseDown = [this](TMouseButton b) { IconMouseDown(b); };
  icon_.OnMouseUp = [this](TMouseButton b) { IconMouseUp(b); };
  BuildMenu();
}

void TTray::BuildMenu() {
  const TPopupMenu::TItem separator{L"", nullptr, true};
  menu_.Items = {
      {L"Показать", [this] { ShowProgramClick(); }},
      {L"Спрятать", [this] { HideProgramClick(); }},
      separator,
      {L"Настройки", [this] { SettingsClick(); }},
      {L"Выходные и рабочие дни", [this] { DaysOffClick(); }},
      separator,
      {L"О программе", [this] { AboutClick(); }},
      separator,
      {L"Закрыть", [this] { QuitClick(); }},
  };
  // Offered only while there is something to cancel.
  if (HasSnoozes && HasSnoozes()) {
    menu_.Items.insert(menu_.Items.begin() + 2,
                       {separator, {L"Отменить отложенные", [this] { CancelSnoozes(); }}});
  }
}

void TTray::ProgramMinimized() {
  // Hidden into the tray with the settings open: they are cancelled. The
  // days off, saved as they were made, close first: they may be open over
  // the settings.
  if (daysOffDialog_.Visible()) daysOffDialog_.Close();
  if (settingsDialog_.Visible()) settingsDialog_.Close();
}

void TTray::RestoreApp() {
  if (app_.Minimized() || !window_.Visible()) ShowProgramClick();
  app_.BringToFront();
}

void TTray::IconMouseDown(TMouseButton button) {
  if (button == TMouseButton::Left) RestoreApp();
}

void TTray::IconMouseUp(TMouseButton button) {
  if (button != TMouseButton::Right) return;
  // With the program in front, a click elsewhere closes the menu.
  window_.BringToForeground();
  BuildMenu();
  const TPoint at = icon_.MousePos();
  menu_.Popup(at.X, at.Y);
}

void TTray::ShowProgramClick() {
  app_.Restore();
  window_.ShowNormal();
}

void TTray::HideProgramClick() { app_.Minimize(); }

void TTray::SettingsClick() { OpenDialog(settingsDialog_); }
void TTray::DaysOffClick() { OpenDialog(daysOffDialog_); }
void TTray::AboutClick() { OpenDialog(aboutDialog_); }

void TTray::OpenDialog(TForm& dialog) {
  // Chosen again while the dialog is open: it comes forward rather than
  // opening inside itself.
  if (dialog.IsModal()) {
    dialog.BringToForeground();
    return;
  }
  dialog.ShowModal();
  app_.BringToFront();
  dialog.BringToForeground();
}

// Ends at once, without the window's close: every change was saved when it
// was made.
void TTray::QuitClick() { app_.Terminate(); }
