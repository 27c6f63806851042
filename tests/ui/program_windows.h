// The main window and its two dialogs, made in the program's order (the
// main window knows the dialogs, the dialogs know their owner), and a
// fixture that starts them over fake services in a throw-away folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/dispatcher.h"
#include "platform/date_time.h"
#include "ui/wake_up_window.h"
#include "fakes/fake_program_services.h"
#include "platform/errors.h"
#include "test_support.h"
#include "ui/about_dialog.h"
#include "ui/days_off_dialog.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"

struct TProgramWindows {
  TProgramWindows(TAppState& state, TServices& services, TWakeUpWindow& wakeUp, TShell& shell)
      : Main(state, services, Settings, wakeUp, About, DaysOff), Settings(Main, state.Settings, services.Boxes, Main.SettingsLink()),
        About(Main, shell),
        DaysOff(Main, Main.DaysOffLink(), services.Clock, services.Formats, services.Boxes) {}
  TMainWindow Main;
  TSettingsDialog Settings;
  TAboutDialog About;
  TDaysOffDialog DaysOff;
};

class ProgramTest : public testing::Test, public TFakeProgramServices {
 public:
  ProgramTest() {
    clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 9, 400));
    SetErrorReport(&boxes);
  }
  ~ProgramTest() override {
    program.reset();
    SetErrorReport(nullptr);
  }

  // Program start: the window is shown and takes the focus.
  // A second start stands for the program started again in the same
  // folder: the windows of the first hold its services and its wake-up
  // window, so they go first.
  void Start(std::vector<std::wstring> params = {}) {
    program.reset();
    wakeUp.reset();
    services = MakeServices(exe, std::move(params));
    wakeUp = std::make_unique<TWakeUpWindow>(services->MakeMediaBackend());
    program = std::make_unique<TProgramWindows>(state, *services, *wakeUp, shell);
    app.OnMinimizedChanged = [this](bool m) { program->Main.MinimizedChanged(m); };
    program->Main.ShowNormal();
    program->Main.Activated(nullptr);
    program->Main.ShowTrayIcon();  // in the program, once the loop is idle
  }
  TMainWindow& mainWindow() { return program->Main; }
  TSettingsDialog& settingsDialog() { return program->Settings; }
  TAboutDialog& aboutDialog() { return program->About; }
  TDaysOffDialog& daysOffDialog() { return program->DaysOff; }
  void WriteConfigBytes(const Bytes& b) { WriteBytes(dir.Path(L"config.cfg"), b); }
  Bytes ConfigBytes() { return ReadBytes(dir.Path(L"config.cfg")); }

  TempDir dir;
  std::wstring exe = dir.ProgramDir() + L"Tivorra.exe";
  TAppState state;
  std::unique_ptr<TServices> services;
  std::unique_ptr<TWakeUpWindow> wakeUp;
  std::unique_ptr<TProgramWindows> program;
};
