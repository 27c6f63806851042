// The alarm editor: adding, changing and deleting records, each change
// saved and read back at once.
#include <cwctype>

#include "controls/message_boxes.h"
#include "platform/date_time.h"
#include "store/alarm_file.h"
#include "ui/main_form.h"

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

// The first steps of opening the editor, the same for adding and changing:
// the mode and its confirmation, the panel shown with empty texts, and the
// layout saved and applied.
void TForm1::OpenEditor(bool addMode, const wchar_t* confirmMessage) {
  state_.Settings.AddMode = addMode ? 1 : 0;
  ConfirmMessage = confirmMessage;
  state_.Settings.EditorVisible = 1;
  RzPanel1.SetEnabled(true);
  RzPanel1.Show();
  cxMemoMSG.Clear();
  cxEditEXE.SetText(L"");
  WriteConfig();
  ReadConfig();
}

void TForm1::NewButClick() {
  OpenEditor(true, L"Запись добавлена!");
  cxDateEdit.SetEnabled(false);
  panelweek.SetEnabled(false);
  SetEditorMode();
  if (cxWeek.Checked()) panelweek.SetEnabled(true);
  if (cxDate.Checked()) cxDateEdit.SetEnabled(true);
  const TDateTime now = services_.Clock.Now().Local;
  cxTimeEdit.SetValue(TimeOfDay(now));
  cxDateEdit.SetValue(Today(now));
}

void TForm1::EditButClick() {
  const int row = cxListBox.ItemIndex();
  const int tab = RzTabControl.TabIndex();
  if (row < 0 || tab < 0 || tab >= kAlarmKindCount) return;
  OpenEditor(false, L"Запись изменена!");
  LoadAlarmIntoEditor(static_cast<TAlarmKind>(tab), static_cast<std::uint16_t>(row + 1));
  SetEditorMode();
}

void TForm1::DelButClick() {
  const int row = cxListBox.ItemIndex();
  const int tab = RzTabControl.TabIndex();
  if (row >= 0 && tab >= 0 && tab < kAlarmKindCount) {
    cxMemoMSG.Clear();
    cxEditEXE.SetText(L"");
    DeleteAlarm(state_.Store, static_cast<TAlarmKind>(tab), static_cast<std::uint16_t>(row + 1));
    SaveAlarms(state_.Store, state_.ProgramDir, state_.AlarmFile, services_.Boxes);
    LoadAlarms(state_.Store, state_.ProgramDir, state_.AlarmFile, services_.Boxes);
    StoreChanged();
    FillAlarmList();
  }
  NewBut.SetFocus();
}

void TForm1::SetEditorMode() {
  const bool add = state_.Settings.AddMode != 0;
  for (TRadioButton* kind : {&cxDate, &cxDay, &cxWeek, &cxObrat, &cxObratComp}) {
    kind->SetEnabled(add);
  }
  if (add) {
    cxCheckMUS.SetEnabled(true);
    cxCheckMUS.SetChecked(false);
    // Nothing is stored from the picker while the box is unticked; it looks
    // the part too.
    cxDirBox.SetEnabled(false);
    cxMusList.SetEnabled(false);
    unlistedMus_.reset();
  }
  panelweek.SetEnabled(cxWeek.Checked());
  AddBut.SetCaption(add ? L"Добавить" : L"Изменить");
  RefreshButtons();
}

void TForm1::LoadAlarmIntoEditor(TAlarmKind kind, std::uint16_t index) {
  if (index < 1 || index > kAlarmCapacity) return;
  state_.Edit.EditIndex = index;
  const std::size_t i = index - 1u;
  const TAlarmStore& st = state_.Store;
  switch (kind) {
    case akDate:
      cxTimeEdit.SetValue(st.DateAlarms[i].AlarmTime);
      cxDateEdit.SetValue(st.DateAlarms[i].AlarmDate);
      cxDate.SetChecked(true);
      cxDateClick();
      break;
    case akDaily:
      cxTimeEdit.SetValue(st.DailyAlarms[i].AlarmTime);
      cxDay.SetChecked(true);
      cxDayClick();
      break;
    case akWeekly:
      cxTimeEdit.SetValue(st.WeeklyAlarms[i].AlarmTime);
      cxWeek.SetChecked(true);
      for (int d = 0; d < 7; ++d) WeekdayBox(d)->SetChecked(st.WeeklyAlarms[i].Days[d] != 0);
      cxWeekClick();
      break;
    case akCountdown:
      // The time left; the picker keeps the magnitude of the time of day.
      cxTimeEdit.SetValue(st.CountdownAlarms[i].AlarmTime - services_.Clock.Now().Local);
      cxObrat.SetChecked(true);
      cxObratClick();
      break;
    case akBootCountdown:
      cxTimeEdit.SetValue(st.BootCountdownAlarms[i].AlarmTime);
      cxObratComp.SetChecked(true);
      cxObratCompClick();
      break;
  }
  const TAlarmActions a = AlarmActions(st, kind, index);
  ShowAlarmActions(FromShortString(*a.Msg), FromShortString(*a.Exe), FromShortString(*a.Mus));
}

void TForm1::ShowAlarmActions(const std::wstring& msg, const std::wstring& exe,
                              const std::wstring& mus) {
  cxDirBox.Clear();
  cxMusList.Clear();
  unlistedMus_.reset();
  cxCheckMSG.SetChecked(!msg.empty());
  cxMemoMSG.SetText(msg);
  cxMemoMSG.SetEnabled(!msg.empty());
  cxCheckEXE.SetChecked(!exe.empty());
  cxEditEXE.SetText(exe);
  cxEditEXE.SetEnabled(!exe.empty());
  cxCheckMUS.SetChecked(!mus.empty());
  cxMusList.SetEnabled(!mus.empty());
  cxDirBox.SetEnabled(!mus.empty());
  if (mus.empty()) return;

  const std::size_t fileAt = mus.rfind(L'\\');
  const std::wstring file = fileAt == std::wstring::npos ? L"" : mus.substr(fileAt + 1);
  const std::wstring folder = fileAt == std::wstring::npos ? L"" : mus.substr(0, fileAt);
  const std::size_t sectionAt = folder.rfind(L'\\');
  const std::wstring section = sectionAt == std::wstring::npos ? L"" : folder.substr(sectionAt + 1);
  // Entries are matched ignoring letter case, as the file system does.
  const auto same = [](const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
      if (std::towlower(a[k]) != std::towlower(b[k])) return false;
    }
    return true;
  };
  ListSections(SoundDir());
  for (std::size_t k = 0; k < cxDirBox.Items().size(); ++k) {
    if (same(cxDirBox.Items()[k], section)) {
      cxDirBox.SetItemIndex(static_cast<int>(k));
      break;
    }
  }
  // The folder as the section box names it: the same one wherever letter
  // case does not matter, and found where it does.
  const int found = cxDirBox.ItemIndex();
  ListMusic(SoundDir() +
            (found >= 0 ? cxDirBox.Items()[static_cast<std::size_t>(found)] : section));
  for (std::size_t k = 0; k < cxMusList.Items().size(); ++k) {
    if (same(cxMusList.Items()[k], file)) {
      cxMusList.SetItemIndex(static_cast<int>(k));
      break;
    }
  }
  if (cxDirBox.ItemIndex() < 0 || cxMusList.ItemIndex() < 0) unlistedMus_ = mus;
}

void TForm1::cxDateClick() {
  cxDateEdit.SetEnabled(true);
  panelweek.SetEnabled(false);
  AddBut.SetEnabled(true);
  RefreshButtons();
}
void TForm1::cxDayClick() {
  cxDateEdit.SetEnabled(false);
  panelweek.SetEnabled(false);
  AddBut.SetEnabled(true);
  RefreshButtons();
}
void TForm1::cxWeekClick() {
  cxDateEdit.SetEnabled(false);
  panelweek.SetEnabled(true);
  RefreshButtons();
}
void TForm1::cxObratClick() { cxDayClick(); }
void TForm1::cxObratCompClick() { cxDayClick(); }

void TForm1::cxWeekDblClick() {
  bool all = true;
  for (int d = 0; d < 7; ++d) all = all && WeekdayBox(d)->Checked();
  for (int d = 0; d < 7; ++d) WeekdayBox(d)->SetChecked(!all);
  AddBut.SetEnabled(!all);
  RefreshButtons();
}

void TForm1::cxCheckMSGClick() { cxMemoMSG.SetEnabled(cxCheckMSG.Checked()); }
void TForm1::cxCheckEXEClick() { cxEditEXE.SetEnabled(cxCheckEXE.Checked()); }

void TForm1::cxEditEXEPropertiesButtonClick() {
  if (const auto file = services_.FileDialogs.PickFileToOpen(*this)) cxEditEXE.SetText(*file);
}

void TForm1::AddButClick() {
  const bool add = state_.Settings.AddMode != 0;
  ConfirmMessage = add ? L"Запись добавлена!" : L"Запись изменена!";
  int kind = -1;
  const TRadioButton* const kinds[kAlarmKindCount] = {&cxDate, &cxDay, &cxWeek, &cxObrat,
                                                      &cxObratComp};
  for (int k = kAlarmKindCount - 1; k >= 0; --k) {
    if (kinds[k]->Checked()) kind = k;
  }
  if (kind >= 0) {
    const auto k = static_cast<TAlarmKind>(kind);
    std::uint16_t index = 0;
    if (add) {
      std::uint16_t& count = AlarmCount(state_.Store, k);
      if (count >= kAlarmCapacity) {
        // A full table takes nothing more; the user is told which one.
        services_.Boxes.ShowMessage(
            L"Таблица \"" + std::wstring(kKindNames[kind]) +
            L"\" заполнена: в ней уже 100 записей. Новая запись не добавлена.");
        return;
      }
      index = ++count;
    } else {
      index = state_.Edit.EditIndex;
    }
    if (index > 0) StoreEditor(k, index);
  }
  FillAlarmList();
  if (!add) {
    cxMusList.SetItemIndex(-1);
    state_.Settings.EditorVisible = 0;
    RzPanel1.SetEnabled(false);
    CloseButClick();
    WriteConfig();
    ReadConfig();
  }
  for (int d = 0; d < 7; ++d) WeekdayBox(d)->SetChecked(false);
  SaveAlarms(state_.Store, state_.ProgramDir, state_.AlarmFile, services_.Boxes);
  LoadAlarms(state_.Store, state_.ProgramDir, state_.AlarmFile, services_.Boxes);
  StoreChanged();
  RefreshButtons();  // the weekdays were cleared
  WarnIfPcWillNotWake();
}

void TForm1::StoreEditor(TAlarmKind kind, std::uint16_t index) {
  if (index < 1 || index > kAlarmCapacity) return;
  const std::wstring text = cxMemoMSG.Text();
  const std::wstring msg = cxCheckMSG.Checked() ? text : L"";
  const std::wstring exe = cxCheckEXE.Checked() ? cxEditEXE.Text() : L"";
  std::wstring mus;
  const int section = SectionIndex();
  if (cxCheckMUS.Checked() && unlistedMus_) {
    mus = *unlistedMus_;
  } else if (cxCheckMUS.Checked() && section >= 0 && cxMusList.ItemIndex() >= 0) {
    mus = SoundDir() + cxDirBox.Items()[static_cast<std::size_t>(section)] + L"\\" +
          cxMusList.Items()[static_cast<std::size_t>(cxMusList.ItemIndex())];
  }
  const std::size_t i = index - 1u;
  TAlarmStore& st = state_.Store;
  TShortString *m = nullptr, *e = nullptr, *u = nullptr;
  const TDateTime time = cxTimeEdit.Value();
  switch (kind) {
    case akDate:
      st.DateAlarms[i].AlarmTime = time;
      st.DateAlarms[i].AlarmDate = cxDateEdit.Value();
      m = &st.DateAlarms[i].Msg, e = &st.DateAlarms[i].Exe, u = &st.DateAlarms[i].Mus;
      break;
    case akWeekly:
      for (int d = 0; d < 7; ++d) st.WeeklyAlarms[i].Days[d] = WeekdayBox(d)->Checked() ? 1 : 0;
      st.WeeklyAlarms[i].AlarmTime = time;
      m = &st.WeeklyAlarms[i].Msg, e = &st.WeeklyAlarms[i].Exe, u = &st.WeeklyAlarms[i].Mus;
      break;
    default: {
      TTimeAlarm& r = kind == akDaily       ? st.DailyAlarms[i]
                      : kind == akCountdown ? st.CountdownAlarms[i]
                                            : st.BootCountdownAlarms[i];
      r.AlarmTime = kind == akCountdown ? services_.Clock.Now().Local + time : time;
      m = &r.Msg, e = &r.Exe, u = &r.Mus;
      break;
    }
  }
  ToShortString(msg, *m);
  ToShortString(exe, *e);
  ToShortString(mus, *u);
  if (state_.Settings.ShowMessages) services_.Boxes.ShowMessage(ConfirmMessage);
}

void TForm1::CloseButClick() {
  state_.Settings.EditorVisible = 0;
  RzPanel1.Hide();
  WriteConfig();
  ReadConfig();
  HEAD.SetWidth(ClientWidth());
}
