#include "ui/alarm_editor.h"

#include "controls/file_dialogs.h"
#include "controls/message_boxes.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/decimal_text.h"

namespace {

const wchar_t* const kKindNames[kAlarmKindCount] = {L"Дата", L"Ежедневно", L"Еженедельно",
                                                    L"Обратный отсчет",
                                                    L"Обратный отсчет после включения компьютера"};

TDateTime TimeOfDay(TDateTime local) {
  const auto ms = RoundedMs(local);
  return ms ? static_cast<double>(MsOfDay(*ms)) / kMsPerDay : 0;
}

TDateTime Today(TDateTime local) {
  const auto ms = RoundedMs(local);
  return ms ? static_cast<double>(DayNumber(*ms)) : 0;
}

}  // namespace

TAlarmEditor::TAlarmEditor(const TEditorControls& controls, TSettings& settings,
                           TAlarmStore& store, TEditState& edit, TAlarmList& list,
                           TMusicPicker& picker, TClock& clock, TMessageBoxes& boxes,
                           TFileDialogs& fileDialogs, TForm& window)
    : c_(controls),
      settings_(settings),
      store_(store),
      edit_(edit),
      list_(list),
      picker_(picker),
      clock_(clock),
      boxes_(boxes),
      fileDialogs_(fileDialogs),
      window_(window) {
  c_.NewBut.OnClick = [this] { NewButClick(); };
  c_.EditBut.OnClick = [this] { EditButClick(); };
  c_.DelBut.OnClick = [this] { DelButClick(); };
  c_.cxDate.OnClick = [this] { DateKindClick(); };
  c_.cxDay.OnClick = [this] { DailyKindClick(); };
  c_.cxWeek.OnClick = [this] { WeeklyKindClick(); };
  c_.cxWeek.OnDblClick = [this] { WeeklyKindDblClick(); };
  for (TCheckBox* day : c_.Weekdays) day->OnClick = [this] { WeeklyKindClick(); };
  c_.cxObrat.OnClick = [this] { CountdownKindClick(); };
  c_.cxObratComp.OnClick = [this] { BootCountdownKindClick(); };
  c_.cxCheckMSG.OnClick = [this] { MessageCheckClick(); };
  c_.cxCheckEXE.OnClick = [this] { FileCheckClick(); };
  c_.cxEditEXE.OnButtonClick = [this] { BrowseFileClick(); };
  c_.AddBut.OnClick = [this] { AddButClick(); };
  c_.CloseBut.OnClick = [this] { CloseButClick(); };
  c_.cxMemoMSG.SetEnabled(false);
  c_.cxEditEXE.SetEnabled(false);
}

// The first steps of opening the editor, the same for adding and changing:
// the mode and its confirmation, the panel shown with empty texts, and the
// layout saved and applied.
void TAlarmEditor::OpenEditor(bool addMode, const wchar_t* confirmMessage) {
  settings_.AddMode = addMode ? 1 : 0;
  confirmMessage_ = confirmMessage;
  settings_.EditorVisible = 1;
  c_.RzPanel1.SetEnabled(true);
  c_.RzPanel1.Show();
  c_.cxMemoMSG.Clear();
  c_.cxEditEXE.SetText(L"");
  if (OnLayoutChanged) OnLayoutChanged();
}

void TAlarmEditor::NewButClick() {
  OpenEditor(true, L"Запись добавлена!");
  c_.cxDateEdit.SetEnabled(false);
  c_.panelweek.SetEnabled(false);
  SetEditorMode();
  if (c_.cxWeek.Checked()) c_.panelweek.SetEnabled(true);
  if (c_.cxDate.Checked()) c_.cxDateEdit.SetEnabled(true);
  const TDateTime now = clock_.Now().Local;
  c_.cxTimeEdit.SetValue(TimeOfDay(now));
  c_.cxDateEdit.SetValue(Today(now));
}

void TAlarmEditor::EditButClick() {
  const auto selected = list_.Selected();
  if (!selected) return;
  OpenEditor(false, L"Запись изменена!");
  LoadAlarmIntoEditor(selected->Kind, selected->Index);
  SetEditorMode();
}

void TAlarmEditor::DelButClick() {
  if (const auto selected = list_.Selected()) {
    c_.cxMemoMSG.Clear();
    c_.cxEditEXE.SetText(L"");
    DeleteAlarm(store_, selected->Kind, selected->Index);
    if (OnStoreChanged) OnStoreChanged();
    list_.Fill();
  }
  c_.NewBut.SetFocus();
}

void TAlarmEditor::SetEditorMode() {
  const bool add = settings_.AddMode != 0;
  for (TRadioButton* kind : {&c_.cxDate, &c_.cxDay, &c_.cxWeek, &c_.cxObrat, &c_.cxObratComp}) {
    kind->SetEnabled(add);
  }
  if (add) picker_.StartAdding();
  c_.panelweek.SetEnabled(c_.cxWeek.Checked());
  c_.AddBut.SetCaption(add ? L"Добавить" : L"Изменить");
  RefreshButtons();
}

void TAlarmEditor::LoadAlarmIntoEditor(TAlarmKind kind, std::uint16_t index) {
  if (index < 1 || index > kAlarmCapacity) return;
  edit_.EditIndex = index;
  const std::size_t i = index - 1u;
  const TAlarmStore& st = store_;
  switch (kind) {
    case akDate:
      c_.cxTimeEdit.SetValue(st.DateAlarms[i].AlarmTime);
      c_.cxDateEdit.SetValue(st.DateAlarms[i].AlarmDate);
      c_.cxDate.SetChecked(true);
      DateKindClick();
      break;
    case akDaily:
      c_.cxTimeEdit.SetValue(st.DailyAlarms[i].AlarmTime);
      c_.cxDay.SetChecked(true);
      DailyKindClick();
      break;
    case akWeekly:
      c_.cxTimeEdit.SetValue(st.WeeklyAlarms[i].AlarmTime);
      c_.cxWeek.SetChecked(true);
      for (int d = 0; d < 7; ++d) c_.Weekdays[d]->SetChecked(st.WeeklyAlarms[i].Days[d] != 0);
      WeeklyKindClick();
      break;
    case akCountdown:
      // The time left; the picker keeps the magnitude of the time of day.
      c_.cxTimeEdit.SetValue(st.CountdownAlarms[i].AlarmTime - clock_.Now().Local);
      c_.cxObrat.SetChecked(true);
      CountdownKindClick();
      break;
    case akBootCountdown:
      c_.cxTimeEdit.SetValue(st.BootCountdownAlarms[i].AlarmTime);
      c_.cxObratComp.SetChecked(true);
      BootCountdownKindClick();
      break;
  }
  const TAlarmActions a = AlarmActions(st, kind, index);
  ShowAlarmActions(FromShortString(*a.Msg), FromShortString(*a.Exe), FromShortString(*a.Mus));
}

void TAlarmEditor::ShowAlarmActions(const std::wstring& msg, const std::wstring& exe,
                                    const std::wstring& mus) {
  c_.cxCheckMSG.SetChecked(!msg.empty());
  c_.cxMemoMSG.SetText(msg);
  c_.cxMemoMSG.SetEnabled(!msg.empty());
  c_.cxCheckEXE.SetChecked(!exe.empty());
  c_.cxEditEXE.SetText(exe);
  c_.cxEditEXE.SetEnabled(!exe.empty());
  picker_.Show(mus);
}

void TAlarmEditor::DateKindClick() {
  c_.cxDateEdit.SetEnabled(true);
  c_.panelweek.SetEnabled(false);
  c_.AddBut.SetEnabled(true);
  RefreshButtons();
}
void TAlarmEditor::DailyKindClick() {
  c_.cxDateEdit.SetEnabled(false);
  c_.panelweek.SetEnabled(false);
  c_.AddBut.SetEnabled(true);
  RefreshButtons();
}
void TAlarmEditor::WeeklyKindClick() {
  c_.cxDateEdit.SetEnabled(false);
  c_.panelweek.SetEnabled(true);
  RefreshButtons();
}
void TAlarmEditor::CountdownKindClick() { DailyKindClick(); }
void TAlarmEditor::BootCountdownKindClick() { DailyKindClick(); }

void TAlarmEditor::WeeklyKindDblClick() {
  bool all = true;
  for (TCheckBox* day : c_.Weekdays) all = all && day->Checked();
  for (TCheckBox* day : c_.Weekdays) day->SetChecked(!all);
  c_.AddBut.SetEnabled(!all);
  RefreshButtons();
}

void TAlarmEditor::MessageCheckClick() { c_.cxMemoMSG.SetEnabled(c_.cxCheckMSG.Checked()); }
void TAlarmEditor::FileCheckClick() { c_.cxEditEXE.SetEnabled(c_.cxCheckEXE.Checked()); }

void TAlarmEditor::BrowseFileClick() {
  if (const auto file = fileDialogs_.PickFileToOpen(window_)) c_.cxEditEXE.SetText(*file);
}

void TAlarmEditor::AddButClick() {
  const bool add = settings_.AddMode != 0;
  confirmMessage_ = add ? L"Запись добавлена!" : L"Запись изменена!";
  int kind = -1;
  const TRadioButton* const kinds[kAlarmKindCount] = {&c_.cxDate, &c_.cxDay, &c_.cxWeek,
                                                      &c_.cxObrat, &c_.cxObratComp};
  for (int k = kAlarmKindCount - 1; k >= 0; --k) {
    if (kinds[k]->Checked()) kind = k;
  }
  if (kind >= 0) {
    const auto k = static_cast<TAlarmKind>(kind);
    std::uint16_t index = 0;
    if (add) {
      index = AddAlarm(store_, k);
      if (index == 0) {
        // A full table takes nothing more; the user is told which one.
        boxes_.ShowMessage(L"Таблица \"" + std::wstring(kKindNames[kind]) +
                           L"\" заполнена: в ней уже " + DecimalText(kAlarmCapacity) +
                           L" записей. Новая запись не добавлена.");
        return;
      }
    } else {
      index = edit_.EditIndex;
    }
    if (index > 0) StoreEditor(k, index);
  }
  list_.Fill();
  if (!add) EndChange();
  for (TCheckBox* day : c_.Weekdays) day->SetChecked(false);
  if (OnStoreChanged) OnStoreChanged();
  RefreshButtons();  // the weekdays were cleared
  if (OnAlarmStored) OnAlarmStored();
}

void TAlarmEditor::EndChange() {
  picker_.Unselect();
  settings_.EditorVisible = 0;
  c_.RzPanel1.SetEnabled(false);
  CloseButClick();
  if (OnLayoutChanged) OnLayoutChanged();
}

void TAlarmEditor::StoreEditor(TAlarmKind kind, std::uint16_t index) {
  if (index < 1 || index > kAlarmCapacity) return;
  const std::wstring text = c_.cxMemoMSG.Text();
  const std::wstring msg = c_.cxCheckMSG.Checked() ? text : L"";
  const std::wstring exe = c_.cxCheckEXE.Checked() ? c_.cxEditEXE.Text() : L"";
  const std::wstring mus = picker_.Chosen();
  const std::size_t i = index - 1u;
  TAlarmStore& st = store_;
  TShortString *m = nullptr, *e = nullptr, *u = nullptr;
  const TDateTime time = c_.cxTimeEdit.Value();
  switch (kind) {
    case akDate:
      st.DateAlarms[i].AlarmTime = time;
      st.DateAlarms[i].AlarmDate = c_.cxDateEdit.Value();
      m = &st.DateAlarms[i].Msg, e = &st.DateAlarms[i].Exe, u = &st.DateAlarms[i].Mus;
      break;
    case akWeekly:
      for (int d = 0; d < 7; ++d) st.WeeklyAlarms[i].Days[d] = c_.Weekdays[d]->Checked() ? 1 : 0;
      st.WeeklyAlarms[i].AlarmTime = time;
      m = &st.WeeklyAlarms[i].Msg, e = &st.WeeklyAlarms[i].Exe, u = &st.WeeklyAlarms[i].Mus;
      break;
    default: {
      TTimeAlarm& r = kind == akDaily       ? st.DailyAlarms[i]
                      : kind == akCountdown ? st.CountdownAlarms[i]
                                            : st.BootCountdownAlarms[i];
      r.AlarmTime = kind == akCountdown ? clock_.Now().Local + time : time;
      m = &r.Msg, e = &r.Exe, u = &r.Mus;
      break;
    }
  }
  ToShortString(msg, *m);
  ToShortString(exe, *e);
  ToShortString(mus, *u);
  if (settings_.ShowMessages) boxes_.ShowMessage(confirmMessage_);
}

void TAlarmEditor::CloseButClick() {
  settings_.EditorVisible = 0;
  c_.RzPanel1.Hide();
  if (OnLayoutChanged) OnLayoutChanged();
  if (OnClosed) OnClosed();
}

void TAlarmEditor::RefreshButtons() {
  const bool row = list_.RowSelected();
  c_.EditBut.SetEnabled(row);
  c_.DelBut.SetEnabled(row);
  RefreshAddButton();
}

void TAlarmEditor::RefreshAddButton() {
  if (!c_.RzPanel1.Enabled()) return;
  if (!settings_.AddMode) {
    c_.AddBut.SetEnabled(true);
    return;
  }
  if (c_.cxWeek.Checked()) {
    bool any = false;
    for (TCheckBox* day : c_.Weekdays) any = any || day->Checked();
    c_.AddBut.SetEnabled(any);
    return;
  }
  if (c_.cxDate.Checked() || c_.cxDay.Checked() || c_.cxObrat.Checked() ||
      c_.cxObratComp.Checked()) {
    c_.AddBut.SetEnabled(true);
  }
}
