// Program entry: the services, the four windows in their order, the loop.
#include <windows.h>

#include "controls/dispatcher.h"
#include "controls/win32/app_window_win32.h"
#include "controls/win32/mci_backend.h"
#include "controls/win32/message_boxes_win32.h"
#include "controls/win32/win32_backend.h"
#include "engine/wake_up_form.h"
#include "platform/program_path.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/regional_win32.h"
#include "platform/win32/run_value_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/wake_timer_win32.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"

namespace {

// The windows, created in this order; the first is the main window.
struct TForms {
  TForms(TAppState& state, TServices& services)
      : Form1(state, services, Form2, Form3, Form4),
        Form3(services.Shell, services.MakeMediaBackend()) {}
  TForm1 Form1;
  TForm2 Form2;
  TForm3 Form3;
  TForm4 Form4;
};

TAppState gState;  // the alarm store alone is 389 KB: not on the stack

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  TWin32Backend backend;
  SetBackend(&backend);
  TWin32MessageBoxes boxes;
  SetErrorReport(&boxes);
  TWin32Clock clock;
  TWin32Shell shell;
  TWin32RunValue runValue;
  TWin32RegionalFormats formats;
  TWin32ApplicationWindow app;
  TWin32WakeTimer wakeTimer;
  TServices services{boxes,          clock, shell, runValue, formats, app, ExecutablePath(),
                     CommandLineParams(), &CreateMciBackend, wakeTimer};

  int exitCode = 0;
  {
    TForms forms(gState, services);
    app.SetMainWindow(forms.Form1.Peer()->Handle());
    forms.Form1.ShowNormal();  // FormShow
    // FormActivate at once: under Wine the focus can arrive later, and the
    // window would sit at its design size until then. The first activation
    // runs the sequence only once, whichever comes first.
    forms.Form1.Activated(nullptr);
    forms.Form1.BringToForeground();
    exitCode = RunMessageLoop();
  }
  SetErrorReport(nullptr);
  SetBackend(nullptr);
  return exitCode;
}
