// The notification-area icon and its menu: bringing the program back,
// hiding it, the settings, days off and about dialogs, cancelling snoozes,
// and ending the program.
#pragma once

#include <functional>

#include "controls/controls.h"

class TApplicationWindow;

class TTray {
 public:
  // `window` is the main window; the dialogs open from the menu over it.
  TTray(TTrayIcon& RzTrayIcon1, TPopupMenu& abfPopupMenu1, TForm& window, TForm& settingsDialog,
        TForm& daysOffDialog, TForm& aboutDialog, TApplicationWindow& app);

  // Handlers.
  void IconMouseDown(TMouseButton button);
  void IconMouseUp(TMouseButton button);
  void ProgramMinimized();
  void ShowProgramClick();
  void HideProgramClick();
  void SettingsClick();
  void DaysOffClick();
  void AboutClick();
  void QuitClick();

  // Added once the window is up: the notification area can take seconds
  // to answer, and the window must not wait for it.
  void Show() { icon_.SetVisible(true); }
  // Back from the taskbar or the tray, in front: the icon's left button,
  // and a second start of the program.
  void RestoreApp();

  // Whether there are snoozes to cancel, and cancelling them.
  std::function<bool()> HasSnoozes;
  std::function<void()> CancelSnoozes;

 private:
  void BuildMenu();
  // The dialog comes forward when it is open already, else it opens.
  void OpenDialog(TForm& dialog);

  TTrayIcon& icon_;
  TPopupMenu& menu_;
  TForm& window_;
  TForm& settingsDialog_;
  TForm& daysOffDialog_;
  TForm& aboutDialog_;
  TApplicationWindow& app_;
};
