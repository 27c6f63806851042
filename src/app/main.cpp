// Program entry: the services, the four windows in their order, the loop.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls/dispatcher.h"
#include "controls/win32/app_window_win32.h"
#include "controls/win32/mci_backend.h"
#include "controls/win32/message_boxes_win32.h"
#include "controls/win32/win32_backend.h"
#include "ui/wake_up_window.h"
#include "platform/callback_boundary.h"
#include "platform/file_system.h"
#include "platform/program_path.h"
#include "platform/random.h"
#include "platform/win32/contrast_win32.h"
#include "platform/win32/dark_apps_win32.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/audio_output_win32.h"
#include "controls/win32/file_dialogs_win32.h"
#include "platform/win32/power_win32.h"
#include "platform/win32/regional_win32.h"
#include "platform/win32/run_value_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/single_instance_win32.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/tickers_win32.h"
#include "store/alarm_file.h"
#include "platform/win32/wake_timer_win32.h"
#include "ui/about_dialog.h"
#include "ui/days_off_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/main_window.h"

namespace {

// The windows, created in this order; the first is the main window.
struct TWindows {
  TWindows(TAppState& state, TServices& services)
      : WakeUp(services.MakeMediaBackend()),
        Main(state, services, Settings, WakeUp, About, DaysOff),
        Settings(Main, state.Settings, services.Boxes, Main.SettingsLink()),
        About(Main, services.Shell),
        DaysOff(Main, Main.DaysOffLink(), services.Clock, services.Formats, services.Boxes) {}
  // The wake-up window first: the main window's ring session plays
  // through it.
  TWakeUpWindow WakeUp;
  TMainWindow Main;
  TSettingsDialog Settings;
  TAboutDialog About;
  TDaysOffDialog DaysOff;
};

int Run(TWin32MessageBoxes& boxes) {
  // Before anything can load a library: nothing planted beside the program
  // may run inside it.
  HardenDllLoading();
  const std::wstring exePath = ExecutablePath();
  std::vector<std::wstring> params = CommandLineParams();
  // Before anything reads or writes the folder's files.
  TSingleInstance instance(FindProgramDir(exePath));
  if (!instance.First()) {
    // The Run value's start ("/minimize") only wants the program running;
    // a user's start wants to see it.
    bool minimize = false;
    for (const std::wstring& p : params) minimize = minimize || p == L"/minimize";
    if (!minimize) instance.AskFirstToComeForward();
    return 0;
  }

  TSystemHighContrast contrast;
  TSystemDarkApps dark;
  TWin32Backend backend(contrast, dark);
  SetBackend(&backend);
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
  TServices services{boxes,    clock,   shell, runValue, formats, app, exePath, std::move(params),
                     &CreateMciBackend, wakeTimer, fileDialogs, power, audio,
                     fileio::SystemFileSystem(), tickers, SystemRandom()};

  // Created at start: the alarm store alone is 389 KB, too big for the stack,
  // and a static object with initialised members would carry it in the exe.
  const auto state = std::make_unique<TAppState>();
  int exitCode = 0;
  {
    TWindows windows(*state, services);
    app.SetMainWindow(windows.Main.Peer().Handle());
    // From the taskbar or the tray: shown in its normal state, then to the
    // front (or the dialog open over it), as the tray icon's left button.
    instance.OnComeForward([&windows] { windows.Main.RestoreApp(); });
    // FormShow, then FormActivate as Windows activates the shown window.
    // Nothing after it may show the window again: the start-up sequence
    // may just have minimised it.
    windows.Main.ShowNormal();
    // Under Wine the activation can arrive later, and the window would sit
    // at its design size until then. The sequence runs only once at start,
    // whichever comes first.
    windows.Main.Activated(nullptr);
    // Once the window is up: the wake-up window's controls, so that a ring
    // never waits for them, then the tray icon.
    RunWhenIdle([&windows] { windows.WakeUp.PrepareWindows(); });
    RunWhenIdle([&windows] { windows.Main.ShowTrayIcon(); });
    // And the sound system, whose first use would otherwise hold back the
    // first ring's music by tens of milliseconds.
    RunWhenIdle([] { winmm::WarmUpOutput(); });
    exitCode = RunMessageLoop();
    windows.Main.ProgramEnds();
  }
  SetBackend(nullptr);
  return exitCode;
}

}  // namespace

// The C runtime calls this: an error that ends the start or the run (no
// window, no wake timer) is told in the error report, not left to end the
// program unseen. (Not declared noexcept: the system's headers declare it
// without, and nothing escapes Guarded.)
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  TWin32MessageBoxes boxes;
  SetErrorReport(&boxes);
  int exitCode = 1;
  Guarded([&] { exitCode = Run(boxes); });
  SetErrorReport(nullptr);
  return exitCode;
}
