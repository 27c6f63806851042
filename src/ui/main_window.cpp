#include "ui/main_window.h"

#include <algorithm>

#include "controls/dispatcher.h"
#include "controls/message_boxes.h"
#include "platform/date_time.h"
#include "platform/decimal_text.h"
#include "platform/errors.h"
#include "platform/power.h"
#include "platform/regional.h"
#include "store/alarm_file.h"
#include "store/auto_load.h"
#include "ui/about_dialog.h"
#include "ui/file_reports.h"
#include "ui/settings_dialog.h"

TMainWindow::TMainWindow(TAppState& state, TServices& services, TSettingsDialog& settingsDialog, TWakeUpWindow& wakeUp,
               TAboutDialog& aboutDialog, TForm& daysOffDialog)
    : TForm(L"Tivorra", 223, 73, 567, 607, TBorderStyle::None),
      state_(state),
      services_(services),
      settingsDialog_(settingsDialog),
      aboutDialog_(aboutDialog),
      daysOffDialog_(daysOffDialog),
      list_(RzTabControl, cxListBox, ListMenu, state.Store, services.Formats, services.Clock),
      picker_(cxCheckMUS, cxDirBox, cxMusList, [this] { return SoundDir(); }),
      editor_({NewBut, EditBut, DelBut, RzPanel1, cxTimeEdit, cxDate, cxDateEdit, cxDay, cxWeek,
               panelweek, {&pn, &vt, &sr, &cht, &pt, &sb, &vs}, cxObrat, cxObratComp, AddBut,
               CloseBut, cxCheckMSG, cxMemoMSG, cxCheckEXE, cxEditEXE},
              state.Settings, state.Store, state.Edit, list_, picker_, services.Clock,
              services.Boxes, services.FileDialogs, *this),
      tray_(RzTrayIcon1, abfPopupMenu1, *this, settingsDialog, daysOffDialog, aboutDialog,
            services.App),
      missed_(services.Formats),
      presenter_(wakeUp, missed_, RzTrayIcon1, services.Clock, services.Formats, services.Boxes),
      session_(state.Store, state.AlarmFile,
               {services.Clock, services.WakeTimer, services.Power, services.Audio, services.Shell,
                services.Tickers, services.Files, services.Random},
               presenter_, wakeUp) {
  presenter_.Attach(session_);
  tray_.Attach(session_, state.Store);
  list_.Attach(session_);
  // Skips are made, taken back and end in the session; the rows show them.
  presenter_.OnNextRingChanged = [this] { list_.Refresh(); };
  // The strip names the window it moves, for screen readers.
  HEAD.SetCaption(L"Tivorra");
  cxLabel1.SetFont({L"Tahoma", 10, true, clWhite});
  cxLabel1.SetShadowColor(clMaroon);
  cxLabel1.SetTransparent(true);
  for (TTextImage* im : {&im1, &im2}) {
    im->SetFont({L"Courier New", 12, false, clHighlight});
    im->SetColor(clSkyBlue);
  }
  LabelTime.SetFont({L"Arial", 10, false, clBlue, true});
  LabelTime.SetCentered(true);
  LabelTime.SetBorder(true);
  NewBut.SetGlyph(TButton::TGlyph::New);
  EditBut.SetGlyph(TButton::TGlyph::Edit);
  DelBut.SetGlyph(TButton::TGlyph::Delete);
  OptionBut.SetGlyph(TButton::TGlyph::Options);
  InfoBut.SetGlyph(TButton::TGlyph::Info);
  RzTabControl.Hide();
  cxListBox.Hide();
  RzPanel1.Hide();

  OnShow = [this] { FormShow(); };
  OnActivate = [this] { FormActivate(); };
  OnClose = [this] {
    FormClose();
    services_.App.Terminate();
  };
  HEAD.OnMouseDown = [this](TMouseButton b) { StripMouseDown(b); };
  cxLabel1.OnMouseDown = [this](TMouseButton b) { TitleMouseDown(b); };
  ShowListBut.OnClick = [this] { ShowListButClick(); };
  OptionBut.OnClick = [this] { OptionButClick(); };
  InfoBut.OnClick = [this] { InfoButClick(); };
  Time.OnTimer = [this] { ClockTick(); };
  OnMinimizedChanged = [this](bool minimized) { AppMinimizedChanged(minimized); };

  list_.OnSelectionChanged = [this] { editor_.RefreshButtons(); };
  editor_.OnLayoutChanged = [this] {
    WriteConfig();
    ReadConfig();
  };
  editor_.OnStoreChanged = [this] {
    SaveAlarmFile(state_, services_.Boxes, services_.Files);
    LoadAlarmFile(state_, services_.Boxes, services_.Files);
    StoreChanged();
  };
  editor_.OnAlarmStored = [this] { WarnIfPcWillNotWake(); };
  editor_.OnClosed = [this] { HEAD.SetWidth(ClientWidth()); };
  list_.OnRowClick = [this] {
    if (state_.Settings.EditOnClick) editor_.EditButClick();
  };
  list_.OnEditKey = [this] { editor_.EditButClick(); };
  list_.OnDeleteKey = [this] { editor_.DelButClick(); };
  tray_.HasSnoozes = [this] { return !session_.Snoozes().empty(); };
  tray_.CancelSnoozes = [this] { session_.CancelSnoozes(); };
  im1.OnClick = [this] { MinimizeImageClick(); };
  im2.OnClick = [this] { CloseImageClick(); };
}

TMainWindow::~TMainWindow() = default;

void TMainWindow::FindProgramDir() { state_.ProgramDir = ::FindProgramDir(services_.ExePath); }

void TMainWindow::FormShow() {
  FindProgramDir();
  LoadAlarmFile(state_, services_.Boxes, services_.Files);
  StartSession();
  StoreChanged();
  list_.TabClick();
  picker_.Clear();
}

void TMainWindow::FormActivate() {
  FindProgramDir();
  AddBut.SetEnabled(false);
  panelweek.SetEnabled(false);
  RefreshClock();
  state_.Settings.AutoLoad = 1;
  ReadConfig();
  // The editor opens in the mode the settings kept; its button says which.
  AddBut.SetCaption(state_.Settings.AddMode ? L"Добавить" : L"Изменить");
  for (const std::wstring& param : services_.Params) {
    if (param == L"/minimize") MinimizeApp();
  }
  if (state_.Settings.AutoLoad) AddAutoLoad();
  picker_.Refill();
  if (settingsDialog_.Visible()) settingsDialog_.Close();
}

void TMainWindow::FormClose() {
  session_.ProgramEnds();
  WriteConfig();
  // An alarm.rec that could not be read holds alarms the store lacks; with
  // no change by the user since, closing leaves it for the next start.
  if (state_.AlarmFile.Unread) return;
  SaveAlarmFile(state_, services_.Boxes, services_.Files);
}

void TMainWindow::StripMouseDown(TMouseButton) { StartDrag(); }
void TMainWindow::TitleMouseDown(TMouseButton) { StartDrag(); }

void TMainWindow::ShowListButClick() {
  state_.Settings.ListVisible = state_.Settings.ListVisible ? 0 : 1;
  WriteConfig();
  ReadConfig();
}

void TMainWindow::OptionButClick() {
  settingsDialog_.ShowModal();
  services_.App.BringToFront();
}

void TMainWindow::InfoButClick() { aboutDialog_.ShowModal(); }

void TMainWindow::ReadConfig() {
  if (!settingsUnsaved_) ReadConfigFileTelling(state_.Settings, state_.ProgramDir, services_.Boxes, services_.Files);
  ApplyLayout();
}

void TMainWindow::WriteConfig() {
  const int error = WriteConfigFile(state_.Settings, state_.ProgramDir, services_.Files);
  settingsUnsaved_ = error != 0;
  // Reported, but the action goes on: the settings take effect for this run
  // even when they cannot be kept for the next.
  if (error) {
    ReportError(L"Не удалось сохранить настройки в файл " + state_.ProgramDir + kConfigFileName +
                L": " + InOutErrorText(error));
  }
}

void TMainWindow::ApplyLayout() {
  const bool list = state_.Settings.ListVisible != 0;
  const bool editor = state_.Settings.EditorVisible != 0;
  RzTabControl.SetVisible(list);
  cxListBox.SetVisible(list);
  ShowListBut.SetCaption(list ? L"<<" : L">>");
  int width, height;
  if (list && editor) {
    RzPanel1.SetBounds(8, ShowListBut.Bottom() + 7, RzPanel1.Width(), RzPanel1.Height());
    RzPanel1.Show();
    width = RzTabControl.Right() + 4;
    height = RzPanel1.Bottom() + 4;
  } else if (list) {
    width = RzTabControl.Right() + 4;
    height = RzTabControl.Bottom() + 4;
  } else if (editor) {
    RzPanel1.SetBounds(RzTabControl.Left(), RzTabControl.Top(), RzPanel1.Width(),
                       RzPanel1.Height());
    RzPanel1.Show();
    width = RzPanel1.Right() + 4;
    height = RzPanel1.Bottom() + 4;
  } else {
    width = ShowListBut.Right() + 4;
    height = ShowListBut.Bottom() + 4;
  }
  SetClientSize(width, height);
  HEAD.SetWidth(width);
  im1.SetLeft(width - im2.Width() - im1.Width() - 1);
  im2.SetLeft(im1.Left() + im1.Width() - 1);
  // Every reading of the settings ends here, the editor's mode included.
  editor_.RefreshButtons();
}

void TMainWindow::RefreshClock() {
  ReadClock();
  ShowClock();
}

void TMainWindow::ReadClock() {
  lastReading_ = services_.Clock.Now();
  FillClockSample(state_.Sample, lastReading_.Local, services_.Clock.UptimeMs());
}

void TMainWindow::ShowClock() {
  const std::wstring text = L"Время " + services_.Formats.LongTime(lastReading_.Local) + L"\r" +
                            L"Дата " + services_.Formats.ShortDate(lastReading_.Local) + L"\r" +
                            L"Windows " + UptimeText(state_.Sample);
  LabelTime.SetCaption(text);
}

void TMainWindow::ClockTick() {
  RefreshClock();
  // Land each tick just after the next wall-clock second begins, so the
  // clock turns with the second and no second is sampled late.
  Time.SetInterval(NextTickDelayMs(state_.Sample.Millisecond));
  session_.Tick();
}

void TMainWindow::StartSession() {
  session_.SetSignal(ReadSignalSettings(state_.ProgramDir, services_.Files));
  ReadDaysOff();
  session_.Start(state_.ProgramDir);
}

void TMainWindow::ReadDaysOff() {
  const TDaysOffRead read = ::ReadDaysOff(state_.ProgramDir, services_.Files);
  session_.SetDaysOff(read.Days);
  if (read.BadLines.empty()) return;
  // Told once per start; the lines stay in the file as they are.
  constexpr std::size_t kShown = 10;
  std::wstring text = L"В файле " + state_.ProgramDir + kSignalFileName +
                      L" не понятны строки выходных и рабочих дней, они не действуют:\r\n";
  for (std::size_t i = 0; i < read.BadLines.size() && i < kShown; ++i) {
    text += L"\r\nстрока " + DecimalText(read.BadLines[i].Number) + L": " + read.BadLines[i].Text;
  }
  if (read.BadLines.size() > kShown) {
    text += L"\r\n... и ещё " + DecimalText(static_cast<int>(read.BadLines.size() - kShown));
  }
  text += L"\r\n\r\nПример: 2027-01-01..2027-01-08 = Новый год, 2027-11-06=Fri";
  services_.Boxes.ShowMessage(text);
}

void TMainWindow::ApplyDaysOff(const TDaysOff& days, int writeError) {
  session_.SetDaysOff(days);
  // In effect for this run all the same.
  if (writeError) {
    ReportError(L"Не удалось сохранить выходные дни в файл " + state_.ProgramDir +
                kSignalFileName + L": " + InOutErrorText(writeError));
  }
}

void TMainWindow::ApplySignal(const TSignalSettings& signal) {
  const TSignalSettings old = session_.Signal();
  session_.SetSignal(signal);
  const int error = WriteSignalSettings(old, signal, state_.ProgramDir, services_.Files);
  // In effect for this run all the same.
  if (error) {
    ReportError(L"Не удалось сохранить настройки в файл " + state_.ProgramDir + kSignalFileName +
                L": " + InOutErrorText(error));
  }
}

bool TMainWindow::PcWillNotWake() {
  return WakeTimersAllowed(services_.Power.ReadWakeTimerSettings(), services_.Power.Source()) ==
         false;
}

void TMainWindow::WarnIfPcWillNotWake() {
  // Asked at every store until it has been said: the plan or the power
  // source may change while the program runs.
  if (wakeWarned_ || !PcWillNotWake()) return;
  wakeWarned_ = true;
  services_.Boxes.ShowMessage(kPcWillNotWakeText);
}

void TMainWindow::MinimizeApp() { services_.App.Minimize(); }

void TMainWindow::ClockSeenChanged(bool seen) {
  Time.SetEnabled(seen);
  if (!seen) return;
  editor_.RefreshButtons();
  ClockTick();
}

// The two window states: shown with a taskbar entry, or in the tray alone.
void TMainWindow::MinimizeImageClick() { MinimizeApp(); }

void TMainWindow::CloseImageClick() {
  if (state_.Settings.MinToTrayOnClose) {
    MinimizeApp();
  } else {
    tray_.QuitClick();
  }
}

void TMainWindow::AppMinimizedChanged(bool minimized) {
  if (minimized) {
    // The taskbar entry goes too: the program lives in the tray alone, and
    // nothing there needs the clock or the buttons refreshed.
    Hide();
    ClockSeenChanged(false);
    tray_.ProgramMinimized();
  } else {
    ClockSeenChanged(true);
  }
}

void TMainWindow::AddAutoLoad() { ::AddAutoLoad(services_.RunValue, services_.ExePath); }
void TMainWindow::DelAutoLoad() { ::DelAutoLoad(services_.RunValue); }

void TMainWindow::TSettingsHost::SetAutoLoad(bool on) {
  if (on) {
    form_.AddAutoLoad();
  } else {
    form_.DelAutoLoad();
  }
}

void TMainWindow::TSettingsHost::OpenDaysOff() {
  form_.daysOffDialog_.ShowModal();
  // Back to the settings, which opened it, with their focus.
  form_.settingsDialog_.BringToForeground();
}

void TMainWindow::TDaysOffHost::AddDayOff(const TDayOffRange& range) {
  TDaysOff days = DaysOff();
  days.Off.push_back(range);
  form_.ApplyDaysOff(days, ::AddDayOff(range, form_.state_.ProgramDir, form_.services_.Files));
}

void TMainWindow::TDaysOffHost::RemoveDayOff(const TDayOffRange& range) {
  TDaysOff days = DaysOff();
  const auto at = std::find(days.Off.begin(), days.Off.end(), range);
  if (at != days.Off.end()) days.Off.erase(at);
  form_.ApplyDaysOff(days,
                     ::RemoveDayOff(range, form_.state_.ProgramDir, form_.services_.Files));
}

void TMainWindow::TDaysOffHost::AddWorkDay(const TWorkDay& day) {
  TDaysOff days = DaysOff();
  days.Work.push_back(day);
  form_.ApplyDaysOff(days, ::AddWorkDay(day, form_.state_.ProgramDir, form_.services_.Files));
}

void TMainWindow::TDaysOffHost::RemoveWorkDay(const TWorkDay& day) {
  TDaysOff days = DaysOff();
  const auto at = std::find(days.Work.begin(), days.Work.end(), day);
  if (at != days.Work.end()) days.Work.erase(at);
  form_.ApplyDaysOff(days,
                     ::RemoveWorkDay(day, form_.state_.ProgramDir, form_.services_.Files));
}

void TMainWindow::TSettingsHost::SettingsApplied(const TSignalSettings& signal) {
  form_.WriteConfig();
  form_.ReadConfig();
  form_.ApplySignal(signal);
}
