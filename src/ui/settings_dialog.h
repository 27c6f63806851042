// The settings dialog: the four user settings as three-state boxes. A
// setting that is on shows grayed; OK stores what the boxes say, Cancel
// and the close box store nothing.
#pragma once

#include <optional>
#include <vector>

#include "controls/controls.h"
#include "store/settings.h"
#include "store/signal_settings.h"

class TMessageBoxes;

// What the settings dialog asks of the program.
class TSettingsLink {
 public:
  virtual ~TSettingsLink() = default;
  // The signal values in effect.
  virtual TSignalSettings Signal() const = 0;
  // Whether the power plan keeps timers from waking the PC.
  virtual bool PcWillNotWake() = 0;
  // Adds or removes the start with Windows; a failure throws, which keeps
  // the dialog open with nothing stored.
  virtual void SetAutoLoad(bool on) = 0;
  // OK stored the settings: they are saved and take effect, with the new
  // signal values.
  virtual void SettingsApplied(const TSignalSettings& signal) = 0;
  // Opens "Выходные и рабочие дни" over the dialog; its changes are saved
  // as they are made, whatever OK or Cancel do later.
  virtual void OpenDaysOff() = 0;
};

class TSettingsDialog : public TForm {
 public:
  // Centred on `owner`; shows and changes `settings`.
  TSettingsDialog(TForm& owner, TSettings& settings, TMessageBoxes& boxes, TSettingsLink& link);

  // Fills the signal group's fields from the values in effect; once per
  // opening, so a value being corrected survives the message box that
  // asked for it.
  void FormShow();
  // Fills the boxes from the settings: on shows grayed, off unchecked.
  // Runs at every showing and every activation, so clicks that were not
  // confirmed are forgotten.
  void FormActivate();
  void OKClick();
  void CancelClick();

  // In Tab order.
  TCheckBox Auto{this, 8, 8, 241, 21, L"Загрузка программы при старте Windows", true};
  TButton OK{this, 96, 112, 75, 25, L"Ок"};
  TButton CANCEL{this, 176, 112, 75, 25, L"Отменить"};
  TCheckBox onClickEdit{this, 8, 32, 241, 21, L"Редактировать запись кликом мышки", true};
  TCheckBox onCloseMinToTray{this, 8, 56, 265, 21, L"При закрытии программы сворачивать в трэй",
                             true};
  TCheckBox ShowMes{this, 7, 80, 314, 21, L"Показывать сообщения \"Запись изменена/добавлена\"",
                    true};
  // The alarm's signal: one row per value, label and field, placed by
  // PlaceSignalRows so that more rows fit without a new layout.
  TPanel SignalGroup{this, 8, 108, 323, 0, TBevel::Sunken};
  TLabel SignalTitle{&SignalGroup, 8, 4, 200, 16, L"Сигнал"};
  TLabel SnoozeLabel{&SignalGroup, 8, 0, 249, 17, L"Отложить на, мин (1-120):"};
  TEdit SnoozeEdit{&SignalGroup, 264, 0, 49, 21};
  TLabel RingLabel{&SignalGroup, 8, 0, 249, 17, L"Звонить не дольше, мин (0 - до ответа):"};
  TEdit RingEdit{&SignalGroup, 264, 0, 49, 21};
  TCheckBox RaiseBox{&SignalGroup, 8, 0, 305, 21, L"Включать звук, если он выключен или тише:"};
  TLabel MinVolumeLabel{&SignalGroup, 24, 0, 233, 17, L"не тише, % (10-100):"};
  TEdit MinVolumeEdit{&SignalGroup, 264, 0, 49, 21};
  TLabel FadeLabel{&SignalGroup, 8, 0, 249, 17, L"Нарастание звука, сек (0 - сразу):"};
  TEdit FadeEdit{&SignalGroup, 264, 0, 49, 21};
  // Shown only when the power plan keeps timers from waking the PC.
  TLabel WakeWarning{&SignalGroup, 8, 0, 305, 17, L"Windows не разрешает будить ПК по таймеру!"};
  // Below the group, above OK and Cancel.
  TButton DaysOffBut{this, 8, 0, 323, 25, L"Выходные и рабочие дни..."};

  // The values the fields hold, or nothing (the field is focused and the
  // user told) when one is not a whole number in its range.
  std::optional<TSignalSettings> SignalFromFields();

 private:
  struct TRow {
    TControl* Label;  // a label, or a check box that is the whole row
    TEdit* Field;     // none beside a check box
  };
  // Rows from the top of the group; the group, the buttons and the dialog
  // grow to hold them.
  void PlaceSignalRows(const std::vector<TRow>& rows);
  // The rows in order, the power warning last when it is shown.
  std::vector<TRow> Rows(bool warning);

  TSettings& settings_;
  TMessageBoxes& boxes_;
  TSettingsLink& link_;
  bool signalShown_ = false;
};
