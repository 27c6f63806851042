#include "ui/tray.h"

#include "controls/app_window.h"

TTray::TTray(TTrayIcon& RzTrayIcon1, TPopupMenu& abfPopupMenu1, TForm& window,
             TForm& settingsDialog, TForm& aboutDialog, TApplicationWindow& app)
    : icon_(RzTrayIcon1),
      menu_(abfPopupMenu1),
      window_(window),
      settingsDialog_(settingsDialog),
      aboutDialog_(aboutDialog),
      app_(app) {
  icon_.SetHint(L"Tivorra");
  icon_.OnMouseDown = [this](TMouseButton b) { RzTrayIcon1MouseDown(b); };
  icon_.OnMouseUp = [this](TMouseButton b) { RzTrayIcon1MouseUp(b); };
  BuildMenu();
}

void TTray::BuildMenu() {
  const TPopupMenu::TItem separator{L"", nullptr, true};
  menu_.Items = {
      {L"Показать", [this] { G1Click(); }},
      {L"Спрятать", [this] { N3Click(); }},
      separator,
      {L"Настройки", [this] { N2Click(); }},
      separator,
      {L"О программе", [this] { J1Click(); }},
      separator,
      {L"Закрыть", [this] { N1Click(); }},
  };
  // Offered only while there is something to cancel.
  if (HasSnoozes && HasSnoozes()) {
    menu_.Items.insert(menu_.Items.begin() + 2,
                       {separator, {L"Отменить отложенные", [this] { CancelSnoozes(); }}});
  }
}

void TTray::RzTrayIcon1MinimizeApp() {
  // Hidden into the tray with the settings open: they are cancelled.
  if (settingsDialog_.Visible()) settingsDialog_.Close();
}

void TTray::RestoreApp() {
  if (app_.Minimized() || !window_.Visible()) G1Click();
  app_.BringToFront();
}

void TTray::RzTrayIcon1MouseDown(TMouseButton button) {
  if (button == TMouseButton::Left) RestoreApp();
}

void TTray::RzTrayIcon1MouseUp(TMouseButton button) {
  if (button != TMouseButton::Right) return;
  // With the program in front, a click elsewhere closes the menu.
  window_.BringToForeground();
  BuildMenu();
  const TPoint at = icon_.MousePos();
  menu_.Popup(at.X, at.Y);
}

void TTray::G1Click() {
  app_.Restore();
  window_.ShowNormal();
}

void TTray::N3Click() { app_.Minimize(); }

void TTray::N2Click() { OpenDialog(settingsDialog_); }
void TTray::J1Click() { OpenDialog(aboutDialog_); }

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
void TTray::N1Click() { app_.Terminate(); }
