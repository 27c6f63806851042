// The notification-area icon and its menu: bringing the program back,
// hiding it, the settings, days off and about dialogs, cancelling snoozes,
// skipping the nearest alarm or taking a skip back, and ending the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "controls/controls.h"
#include "store/alarm_store.h"

class TApplicationWindow;
class TRingSession;

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
  // The session whose nearest alarm the menu offers to skip, and whose
  // earliest skip it offers to take back.
  void Attach(TRingSession& session, const TAlarmStore& store);

 private:
  void BuildMenu();
  // The skip items, from item `at` on.
  void AddSkipItems(std::size_t at);
  TPopupMenu::TItem SkipItem(const wchar_t* action, TAlarmKind kind, std::uint16_t index,
                             std::int64_t localSecond, const std::wstring& message, bool undo);
  // The dialog comes forward when it is open already, else it opens.
  void OpenDialog(TForm& dialog);

  TTrayIcon& icon_;
  TPopupMenu& menu_;
  TForm& window_;
  TForm& settingsDialog_;
  TForm& daysOffDialog_;
  TForm& aboutDialog_;
  TApplicationWindow& app_;
  TRingSession* session_ = nullptr;
  const TAlarmStore* store_ = nullptr;
};

// An alarm as the tray menu names it: "10.12 07:30" and the start of its
// message.
std::wstring TrayAlarmName(std::int64_t localSecond, const std::wstring& message);
