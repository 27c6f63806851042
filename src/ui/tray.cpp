// The notification-area icon and its menu, the "_" and "X" images, and the
// two window states: shown with a taskbar entry, or in the tray alone.
#include "controls/dispatcher.h"
#include "store/auto_load.h"
#include "ui/about_dialog.h"
#include "ui/main_form.h"
#include "ui/settings_dialog.h"

void TForm1::BindTray() {
  RzTrayIcon1.SetHint(L"Tivorra");
  RzTrayIcon1.OnMouseDown = [this](TMouseButton b) { RzTrayIcon1MouseDown(b); };
  RzTrayIcon1.OnMouseUp = [this](TMouseButton b) { RzTrayIcon1MouseUp(b); };
  BuildTrayMenu();
  im1.OnClick = [this] { im1Click(); };
  im2.OnClick = [this] { im2Click(); };
}

void TForm1::BuildTrayMenu() {
  const TPopupMenu::TItem separator{L"", nullptr, true};
  abfPopupMenu1.Items = {
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
  if (!snoozes_.empty()) {
    abfPopupMenu1.Items.insert(abfPopupMenu1.Items.begin() + 2,
                               {separator, {L"Отменить отложенные", [this] { CancelSnoozesClick(); }}});
  }
}

// Added once the window is up: the notification area can take seconds to
// answer, and the window must not wait for it.
void TForm1::ShowTrayIcon() { RzTrayIcon1.SetVisible(true); }

void TForm1::im1Click() { MinimizeApp(); }

void TForm1::im2Click() {
  if (state_.Settings.MinToTrayOnClose) {
    MinimizeApp();
  } else {
    N1Click();
  }
}

void TForm1::AppMinimizedChanged(bool minimized) {
  if (minimized) {
    // The taskbar entry goes too: the program lives in the tray alone, and
    // nothing there needs the clock or the buttons refreshed.
    Hide();
    ClockSeenChanged(false);
    RzTrayIcon1MinimizeApp();
  } else {
    ClockSeenChanged(true);
  }
}

void TForm1::RzTrayIcon1MinimizeApp() {
  if (form2_.Visible()) form2_.CANCELClick();
}

void TForm1::RestoreApp() {
  if (services_.App.Minimized() || !Visible()) G1Click();
  services_.App.BringToFront();
}

void TForm1::RzTrayIcon1MouseDown(TMouseButton button) {
  if (button == TMouseButton::Left) RestoreApp();
}

void TForm1::RzTrayIcon1MouseUp(TMouseButton button) {
  if (button != TMouseButton::Right) return;
  // With the program in front, a click elsewhere closes the menu.
  BringToForeground();
  BuildTrayMenu();
  const TPoint at = RzTrayIcon1.MousePos();
  abfPopupMenu1.Popup(at.X, at.Y);
}

void TForm1::G1Click() {
  services_.App.Restore();
  ShowNormal();
}

void TForm1::N3Click() { MinimizeApp(); }

void TForm1::N2Click() {
  // Chosen again while the dialog is open: it comes forward rather than
  // opening inside itself.
  if (form2_.IsModal()) {
    form2_.BringToForeground();
    return;
  }
  form2_.ShowModal();
  services_.App.BringToFront();
  form2_.BringToForeground();
}

void TForm1::J1Click() {
  if (form4_.IsModal()) {
    form4_.BringToForeground();
    return;
  }
  form4_.ShowModal();
  services_.App.BringToFront();
  form4_.BringToForeground();
}

// Ends at once, without FormClose: every change was saved when it was made.
void TForm1::N1Click() { services_.App.Terminate(); }

void TForm1::AddAutoLoad() { ::AddAutoLoad(services_.RunValue, services_.ExePath); }
void TForm1::DelAutoLoad() { ::DelAutoLoad(services_.RunValue); }
