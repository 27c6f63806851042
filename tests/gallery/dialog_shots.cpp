// The program's windows with one of its dialogs or menus open, to look at
// them at each scale: scripts/screenshot.sh with
// TIVORRA_EXE=tests/dialog_shots.exe and one argument, "settings", "about",
// "daysoff", "menu" (the tray's), "wakeup" (a ring), "missed" (the list of
// alarms missed while the PC was off), "main" (the main window alone), "picker"
// (the editor with the first section of the Sound folder beside the program
// chosen), "list-daily" or "list-date" (a row's menu) or "tray-skip" (the
// tray's with a skip made). The last three store alarms and show the list:
// run them from a copy in a folder of its own (TIVORRA_DIR). A second
// argument "contrast" shows them as high contrast does, in the colours of
// its black scheme: Wine cannot switch the setting on. The dark app mode
// is the prefix's own (HKCU\...\Themes\Personalize, AppsUseLightTheme 0).
#include <windows.h>

#include <shellapi.h>

#include <iterator>
#include <string>

#include "controls/dispatcher.h"
#include "controls/win32/app_window_win32.h"
#include "controls/win32/mci_backend.h"
#include "controls/win32/message_boxes_win32.h"
#include "controls/win32/win32_backend.h"
#include "ui/wake_up_window.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/program_path.h"
#include "platform/random.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/regional_win32.h"
#include "platform/win32/run_value_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/audio_output_win32.h"
#include "platform/win32/dark_apps_win32.h"
#include "controls/win32/file_dialogs_win32.h"
#include "platform/win32/power_win32.h"
#include "platform/win32/tickers_win32.h"
#include "platform/win32/wake_timer_win32.h"
#include "ui/about_dialog.h"
#include "ui/days_off_dialog.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"

namespace {

struct TForms {
  TForms(TAppState& state, TServices& services)
      : WakeUp(services.MakeMediaBackend()),
        Main(state, services, Settings, WakeUp, About, DaysOff),
        Settings(Main, state.Settings, services.Boxes, Main.SettingsLink()),
        About(Main, services.Shell),
        DaysOff(Main, Main.DaysOffLink(), services.Clock, services.Formats, services.Boxes) {}
  TWakeUpWindow WakeUp;
  TMainWindow Main;
  TSettingsDialog Settings;
  TAboutDialog About;
  TDaysOffDialog DaysOff;
};

TAppState gState;
TForms* gForms = nullptr;
std::wstring gWhat;

void CALLBACK ClickOne(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  gForms->Settings.onCloseMinToTray.Click();
}

// A date alarm and two daily ones, the second skipped, in the list.
void ShowAlarms(int tab) {
  TAlarmStore& s = gState.Store;
  s.DateCount = 1;
  s.DateAlarms[0].AlarmDate = EncodeDate(2026, 12, 31);
  s.DateAlarms[0].AlarmTime = EncodeTime(9, 0, 0, 0);
  ToShortString(L"Врач", s.DateAlarms[0].Msg);
  s.DailyCount = 2;
  s.DailyAlarms[0].AlarmTime = EncodeTime(7, 30, 0, 0);
  ToShortString(L"Подъём", s.DailyAlarms[0].Msg);
  s.DailyAlarms[1].AlarmTime = EncodeTime(13, 15, 0, 0);
  ToShortString(L"Обед: позвонить в бухгалтерию", s.DailyAlarms[1].Msg);
  TMainWindow& main = gForms->Main;
  main.StoreChanged();
  main.Session().SkipNext(akDaily, 2);
  if (!gState.Settings.ListVisible) main.ShowListBut.Click();
  main.RzTabControl.SelectTab(tab == 0 ? 1 : 0);
  main.RzTabControl.SelectTab(tab);
}

void CALLBACK OpenIt(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (gWhat == L"list-daily" || gWhat == L"list-date") {
    ShowAlarms(gWhat == L"list-daily" ? 1 : 0);
    gForms->Main.cxListBox.RightClickRow(0);
    return;
  }
  if (gWhat == L"tray-skip") {
    ShowAlarms(1);
    RECT r;
    GetWindowRect(static_cast<HWND>(gForms->Main.Peer().Handle()), &r);
    SetCursorPos(r.right + 20, r.top + 20);
    gForms->Main.ShowTrayIcon();
    gForms->Main.RzTrayIcon1.Release(TMouseButton::Right);
    return;
  }
  if (gWhat == L"settings") {
    // One setting on (grayed), one ticked by the user (checked).
    gState.Settings.AutoLoad = 1;
    gState.Settings.ShowMessages = 1;
    SetTimer(nullptr, 0, 400, ClickOne);
    gForms->Main.OptionBut.Click();
  } else if (gWhat == L"daysoff") {
    // A year's holidays in effect (not written to any file), then the
    // dialog as the tray menu opens it.
    const auto day = [](int y, int m, int d) { return static_cast<std::int64_t>(EncodeDate(y, m, d)); };
    gForms->Main.Session().SetDaysOff(
        {{{day(2027, 1, 1), day(2027, 1, 8), L"Новогодние каникулы"},
          {day(2027, 2, 23), day(2027, 2, 23), L"День защитника Отечества"},
          {day(2027, 3, 8), day(2027, 3, 8), L""},
          {day(2027, 5, 1), day(2027, 5, 3), L"Праздник весны и труда"},
          {day(2027, 11, 4), day(2027, 11, 5), L"День народного единства"}},
         {{day(2027, 11, 6), 5, L"рабочая суббота за 5 ноября"}}});
    gForms->DaysOff.ShowModal();
  } else if (gWhat == L"wakeup") {
    gForms->WakeUp.ShowRing(L"Подъём! Пора вставать", true, 5);
  } else if (gWhat == L"missed") {
    const auto second = [](int y, int m, int d, int h, int min) {
      return static_cast<std::int64_t>(EncodeDate(y, m, d) * kSecondsPerDay) + h * 3600 + min * 60;
    };
    gForms->Main.MissedForm().ShowMissed(
        {{{akDaily, 1, 0}, second(2026, 12, 10, 7, 30), 1, L"Подъём"},
         {{akDate, 1, 0}, second(2026, 12, 10, 9, 0), 1, L"Врач"}});
  } else if (gWhat == L"about") {
    gForms->Main.InfoBut.Click();
  } else if (gWhat == L"menu") {
    RECT r;
    GetWindowRect(static_cast<HWND>(gForms->Main.Peer().Handle()), &r);
    gForms->Main.abfPopupMenu1.Popup(r.right + 20, r.top + 20);
  } else if (gWhat == L"picker") {
    TMainWindow& m = gForms->Main;
    m.NewBut.Click();
    m.cxCheckMUS.Click();
    m.cxDirBox.PickItem(0);
    m.cxMusList.SelectRow(0);
  }
}

// High contrast as the second argument asks.
class TShownContrast : public THighContrast {
 public:
  bool on = false;
  bool On() const override { return on; }
};

// The black high-contrast scheme's colours for the elements the windows use.
void UseContrastColours() {
  const int elements[] = {COLOR_WINDOW,    COLOR_WINDOWTEXT, COLOR_BTNFACE,    COLOR_BTNTEXT,
                          COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT, COLOR_BTNSHADOW,
                          COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT};
  const COLORREF colours[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(0, 0, 0),
                              RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 0),
                              RGB(63, 242, 63),   RGB(255, 255, 255), RGB(255, 255, 255),
                              RGB(255, 255, 255), RGB(255, 255, 255)};
  SetSysColors(static_cast<int>(std::size(elements)), elements, colours);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  gWhat = argc > 1 ? argv[1] : L"settings";
  TShownContrast contrast;
  contrast.on = argc > 2 && std::wstring(argv[2]) == L"contrast";
  if (contrast.on) UseContrastColours();
  TSystemDarkApps dark;
  TWin32Backend backend(contrast, dark);
  SetBackend(&backend);
  TWin32MessageBoxes boxes;
  SetErrorReport(&boxes);
  TWin32Clock clock;
  TWin32Shell shell;
  TWin32RunValue runValue;
  TWin32RegionalFormats formats;
  TWin32ApplicationWindow app;
  TWin32WakeTimer wakeTimer;
  TWin32FileDialogs fileDialogs;
  TWin32Power power;
  TWin32AudioOutput audio;
  TWin32Tickers tickers;
  TServices services{boxes,    clock, shell, runValue, formats, app, ExecutablePath(), {},
                     &CreateMciBackend, wakeTimer, fileDialogs, power, audio,
                     fileio::SystemFileSystem(), tickers, SystemRandom()};
  int exitCode = 0;
  {
    TForms forms(gState, services);
    gForms = &forms;
    app.SetMainWindow(forms.Main.Peer().Handle());
    forms.Main.ShowNormal();
    forms.Main.Activated(nullptr);
    SetTimer(nullptr, 0, 1500, OpenIt);
    exitCode = RunMessageLoop();
  }
  SetErrorReport(nullptr);
  SetBackend(nullptr);
  return exitCode;
}
