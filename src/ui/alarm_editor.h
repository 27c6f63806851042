// The alarm editor: the panel where a record is made or changed, and the
// New, Edit and Delete commands. Each change is saved and read back at once.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "controls/controls.h"
#include "store/alarm_store.h"
#include "store/settings.h"
#include "ui/alarm_list.h"
#include "ui/music_picker.h"

class TClock;
class TMessageBoxes;
class TFileDialogs;

// The main window's controls the editor works: the three commands and
// the panel with everything on it.
struct TEditorControls {
  TButton& NewBut;
  TButton& EditBut;
  TButton& DelBut;
  TPanel& RzPanel1;
  TDateTimePicker& cxTimeEdit;
  TRadioButton& cxDate;
  TDateTimePicker& cxDateEdit;
  TRadioButton& cxDay;
  TRadioButton& cxWeek;
  TPanel& panelweek;
  std::array<TCheckBox*, 7> Weekdays;  // Monday first
  TRadioButton& cxObrat;
  TRadioButton& cxObratComp;
  TButton& AddBut;
  TButton& CloseBut;
  TCheckBox& cxCheckMSG;
  TMemo& cxMemoMSG;
  TCheckBox& cxCheckEXE;
  TEdit& cxEditEXE;
};

class TAlarmEditor {
 public:
  TAlarmEditor(const TEditorControls& controls, TSettings& settings, TAlarmStore& store,
               TEditState& edit, TAlarmList& list, TMusicPicker& picker, TClock& clock,
               TMessageBoxes& boxes, TFileDialogs& fileDialogs, TForm& window);

  // What the editor tells the window around it.
  // The settings changed the layout: to be written to config.cfg and
  // applied.
  std::function<void()> OnLayoutChanged;
  // The store changed: to be saved to alarm.rec and read back; a failed
  // save throws and ends the action.
  std::function<void()> OnStoreChanged;
  // A record was stored by the user.
  std::function<void()> OnAlarmStored;
  // The panel closed: the window is narrower.
  std::function<void()> OnClosed;

  // Handlers.
  void NewButClick();
  void EditButClick();
  void DelButClick();
  void DateKindClick();
  void DailyKindClick();
  void WeeklyKindClick();
  void CountdownKindClick();
  void BootCountdownKindClick();
  void WeeklyKindDblClick();
  void MessageCheckClick();
  void FileCheckClick();
  void BrowseFileClick();
  void AddButClick();
  void CloseButClick();

  // Edit and Delete follow the list's selection, and Add whether it can
  // store what the editor holds now. The window runs it on every event
  // that changes them (a selection, a fill, an activation), and the editor
  // on its own.
  void RefreshButtons();

 private:
  void OpenEditor(bool addMode, const wchar_t* confirmMessage);
  void SetEditorMode();
  void LoadAlarmIntoEditor(TAlarmKind kind, std::uint16_t index);
  void ShowAlarmActions(const std::wstring& msg, const std::wstring& exe, const std::wstring& mus);
  void StoreEditor(TAlarmKind kind, std::uint16_t index);
  // Changing a record ends the editing: the panel closes.
  void EndChange();
  void RefreshAddButton();

  TEditorControls c_;
  TSettings& settings_;
  TAlarmStore& store_;
  TEditState& edit_;
  TAlarmList& list_;
  TMusicPicker& picker_;
  TClock& clock_;
  TMessageBoxes& boxes_;
  TFileDialogs& fileDialogs_;
  TForm& window_;
  std::wstring confirmMessage_;
};
