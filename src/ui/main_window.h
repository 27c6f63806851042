// The main window: caption strip, clock, command buttons, the list toggle,
// the places of the list and the editor, and the two timers that drive the
// program.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "engine/clock_sample.h"
#include "engine/ring_session.h"
#include "platform/clock.h"
#include "store/alarm_file.h"
#include "store/alarm_store.h"
#include "store/settings.h"
#include "store/signal_settings.h"
#include "ui/alarm_editor.h"
#include "ui/alarm_list.h"
#include "ui/app_state.h"
#include "ui/days_off_dialog.h"
#include "ui/missed_window.h"
#include "ui/music_picker.h"
#include "ui/ring_presenter.h"
#include "ui/services.h"
#include "ui/settings_dialog.h"
#include "ui/tray.h"
#include "ui/wake_up_window.h"

class TAboutDialog;

inline constexpr wchar_t kPcWillNotWakeText[] =
    L"Windows не разрешает таймерам пробуждения будить компьютер: спящий ПК не проснётся к "
    L"будильнику. Включите их в параметрах электропитания (\"Разрешить таймеры пробуждения\").";

class TMainWindow : public TForm {
 public:
  TMainWindow(TAppState& state, TServices& services, TSettingsDialog& settingsDialog, TWakeUpWindow& wakeUp,
         TAboutDialog& aboutDialog, TForm& daysOffDialog);
  ~TMainWindow() override;

  // Once the window is up: the notification-area icon.
  void ShowTrayIcon() { tray_.Show(); }
  // Back from the taskbar or the tray, in front (a second start).
  void RestoreApp() { tray_.RestoreApp(); }
  // The message loop has ended.
  void ProgramEnds() { session_.ProgramEnds(); }
  // Every change of the store (add, change, delete, load) ends here: the
  // snoozes follow it and the wake timer is set for the next due alarm.
  void StoreChanged() { session_.StoreChanged(); }
  // Reads the clock and shows it.
  void RefreshClock();

  const TSnoozes& Snoozes() const { return session_.Snoozes(); }
  const TSignalSettings& Signal() const { return session_.Signal(); }
  TMissedWindow& MissedForm() { return missed_; }
  TRingSession& Session() { return session_; }
  const TMusicPicker& MusicPicker() const { return picker_; }
  // What the settings dialog reaches of the program.
  TSettingsLink& SettingsLink() { return settingsHost_; }
  // What the days off dialog reaches of the program.
  TDaysOffLink& DaysOffLink() { return daysOffHost_; }

  // The form description: every control with its place, text and look.
  TGradientStrip HEAD{this, 0, 0, 569, 25, clCaptionText, clGradientActiveCaption};
  TLabel cxLabel1{&HEAD, 0, 0, 99, 25, L"Tivorra v1.0", TLabel::Embossed};
  TTextImage im1{this, 512, 0, 25, 25, L"_"};
  TTextImage im2{this, 536, 0, 25, 25, L"X"};
  TLabel LabelTime{this, 8, 32, 113, 57, L"", TLabel::Raised};
  TButton NewBut{this, 8, 96, 113, 25, L"Новый"};
  TButton EditBut{this, 8, 120, 113, 25, L"Изменить"};
  TButton DelBut{this, 8, 144, 113, 25, L"Удалить"};
  TButton OptionBut{this, 8, 168, 113, 25, L"Настройки"};
  TButton InfoBut{this, 8, 192, 113, 25, L"О программе"};
  TButton ShowListBut{this, 128, 32, 17, 185, L">>"};
  // The alarm list: the tabs, and the list beside them at its place on
  // the tabs' page.
  TTabControl RzTabControl{this, 152, 32, 409, 185, 33};
  TListBox cxListBox{this, 152 + 8, 32 + 40, 393, 137, 13};
  // The editor and its music picker.
  TPanel RzPanel1{this, 8, 224, 553, 329, TBevel::Sunken};
  TDateTimePicker cxTimeEdit{&RzPanel1, 8, 4, 121, 21, TDateTimePicker::TKind::Time,
                             5.0 / 24};
  TRadioButton cxDate{&RzPanel1, 8, 32, 49, 17, L"Дата"};
  TDateTimePicker cxDateEdit{&RzPanel1, 176, 28, 105, 21, TDateTimePicker::TKind::Date,
                             38718};  // 1 January 2006
  TRadioButton cxDay{&RzPanel1, 8, 48, 81, 17, L"Ежедневно"};
  TRadioButton cxWeek{&RzPanel1, 8, 64, 97, 17, L"Еженедельно"};
  TPanel panelweek{&RzPanel1, 120, 56, 225, 33};
  // 32 wide at 32 apart: a wider box would cover its right neighbour's.
  TCheckBox pn{&panelweek, 0, 8, 32, 21, L"пн"};
  TCheckBox vt{&panelweek, 32, 8, 32, 21, L"вт"};
  TCheckBox sr{&panelweek, 64, 8, 32, 21, L"ср"};
  TCheckBox cht{&panelweek, 96, 8, 32, 21, L"чт"};
  TCheckBox pt{&panelweek, 128, 8, 32, 21, L"пт"};
  TCheckBox sb{&panelweek, 160, 8, 32, 21, L"сб"};
  TCheckBox vs{&panelweek, 192, 8, 32, 21, L"вс"};
  TRadioButton cxObrat{&RzPanel1, 8, 80, 113, 17, L"Обратный отсчет"};
  TRadioButton cxObratComp{&RzPanel1, 8, 96, 265, 17,
                           L"Обратный отсчет после включения компьютера"};
  TButton AddBut{&RzPanel1, 96, 128, 75, 25, L"Добавить"};
  TButton CloseBut{&RzPanel1, 176, 128, 75, 25, L"Закрыть"};
  TCheckBox cxCheckMSG{&RzPanel1, 8, 160, 177, 21, L"Вывести сообщение"};
  // One pixel shorter than designed: the file box below starts on its last
  // row and, declared later, lies above it and would hide its bottom edge.
  TMemo cxMemoMSG{&RzPanel1, 8, 184, 337, 88, false};
  TCheckBox cxCheckEXE{&RzPanel1, 8, 272, 193, 21, L"Запустить файл"};
  TEdit cxEditEXE{&RzPanel1, 8, 296, 337, 21, true};
  TCheckBox cxCheckMUS{&RzPanel1, 392, 16, 121, 21, L"Проиграть музыку"};
  TComboBox cxDirBox{&RzPanel1, 376, 40, 161, 21};
  TListBox cxMusList{&RzPanel1, 376, 64, 161, 97, 13};
  TTimer Time{1000, true};
  TTrayIcon RzTrayIcon1;
  TPopupMenu abfPopupMenu1;
  // The alarm list's row menu.
  TPopupMenu ListMenu;

 private:
  // Handlers of the window's own controls.
  void FormShow();
  void FormActivate();
  void FormClose();
  void StripMouseDown(TMouseButton button);
  void TitleMouseDown(TMouseButton button);
  void ShowListButClick();
  void OptionButClick();
  void InfoButClick();
  void MinimizeImageClick();
  void CloseImageClick();
  void ClockTick();

  // The layout: config.cfg read and written, and the window sized to what
  // it shows.
  void ReadConfig();
  void WriteConfig();
  void ApplyLayout();
  void FindProgramDir();
  void MinimizeApp();
  void AppMinimizedChanged(bool minimized);
  // The clock and the buttons can be seen (shown) or not (minimised, in
  // the tray). Unseen, the 1 s tick does not run, and only the wake timer
  // wakes the program; seen again, both run at once so nothing stale shows.
  void ClockSeenChanged(bool seen);
  void ReadClock();
  void ShowClock();
  void AddAutoLoad();
  void DelAutoLoad();

  // Whether the power plan keeps timers from waking the PC on the power it
  // runs on now; false when Windows cannot tell.
  bool PcWillNotWake();
  // Once per run, as an alarm is stored.
  void WarnIfPcWillNotWake();
  // At start, once alarm.rec is loaded: Tivorra.ini, then the session.
  void StartSession();
  // The settings dialog's new values: in effect at once, and written to
  // Tivorra.ini when they differ.
  void ApplySignal(const TSignalSettings& signal);
  // Tivorra.ini's days off at start; a line that says nothing understood is
  // told once.
  void ReadDaysOff();
  // One entry added or removed: written to Tivorra.ini (a failure told) and
  // in effect at once with `days`.
  void ApplyDaysOff(const TDaysOff& days, int writeError);
  std::wstring SoundDir() const { return state_.ProgramDir + L"Sound\\"; }

  TAppState& state_;
  TServices& services_;
  TSettingsDialog& settingsDialog_;
  TAboutDialog& aboutDialog_;
  TForm& daysOffDialog_;
  class TSettingsHost : public TSettingsLink {
   public:
    explicit TSettingsHost(TMainWindow& form) : form_(form) {}
    TSignalSettings Signal() const override { return form_.session_.Signal(); }
    bool PcWillNotWake() override { return form_.PcWillNotWake(); }
    void SetAutoLoad(bool on) override;
    void SettingsApplied(const TSignalSettings& signal) override;
    void OpenDaysOff() override;

   private:
    TMainWindow& form_;
  };
  TSettingsHost settingsHost_{*this};
  class TDaysOffHost : public TDaysOffLink {
   public:
    explicit TDaysOffHost(TMainWindow& form) : form_(form) {}
    const TDaysOff& DaysOff() const override { return form_.session_.DaysOff(); }
    void AddDayOff(const TDayOffRange& range) override;
    void RemoveDayOff(const TDayOffRange& range) override;
    void AddWorkDay(const TWorkDay& day) override;
    void RemoveWorkDay(const TWorkDay& day) override;

   private:
    TMainWindow& form_;
  };
  TDaysOffHost daysOffHost_{*this};

  // The parts, each with its own handlers and state.
  TAlarmList list_;
  TMusicPicker picker_;
  TAlarmEditor editor_;
  TTray tray_;

  // The ring session and what shows it.
  TMissedWindow missed_;
  TRingPresenter presenter_;
  TRingSession session_;
  bool wakeWarned_ = false;
  // config.cfg could not be written: the settings in memory are newer than
  // the file, so ReadConfig must not bring the old values back.
  bool settingsUnsaved_ = false;

  TClockReading lastReading_{};
};
