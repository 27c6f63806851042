// The program's windows with one of its dialogs or the tray menu open, to
// look at them at each scale: scripts/screenshot.sh with
// TIVORRA_EXE=tests/dialog_shots.exe and one argument, "settings", "about"
// or "menu" ("main": the main window alone). A second argument "contrast"
// shows them as high contrast does, in the colours of its black scheme:
// Wine cannot switch the setting on.
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
#include "platform/file_system.h"
#include "platform/program_path.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/regional_win32.h"
#include "platform/win32/run_value_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/audio_output_win32.h"
#include "controls/win32/file_dialogs_win32.h"
#include "platform/win32/power_win32.h"
#include "platform/win32/tickers_win32.h"
#include "platform/win32/wake_timer_win32.h"
#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"

namespace {

struct TForms {
  TForms(TAppState& state, TServices& services)
      : WakeUp(services.MakeMediaBackend()),
        Main(state, services, Settings, WakeUp, About),
        Settings(Main, state.Settings, services.Boxes, Main.SettingsLink()),
        About(Main, services.Shell) {}
  TWakeUpWindow WakeUp;
  TMainWindow Main;
  TSettingsDialog Settings;
  TAboutDialog About;
};

TAppState gState;
TForms* gForms = nullptr;
std::wstring gWhat;

void CALLBACK ClickOne(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  gForms->Settings.onCloseMinToTray.Click();
}

void CALLBACK OpenIt(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (gWhat == L"settings") {
    // One setting on (grayed), one ticked by the user (checked).
    gState.Settings.AutoLoad = 1;
    gState.Settings.ShowMessages = 1;
    SetTimer(nullptr, 0, 400, ClickOne);
    gForms->Main.OptionBut.Click();
  } else if (gWhat == L"about") {
    gForms->Main.InfoBut.Click();
  } else if (gWhat == L"menu") {
    RECT r;
    GetWindowRect(static_cast<HWND>(gForms->Main.Peer().Handle()), &r);
    gForms->Main.abfPopupMenu1.Popup(r.right + 20, r.top + 20);
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
  TWin32Backend backend(contrast);
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
                     fileio::SystemFileSystem(), tickers};
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
