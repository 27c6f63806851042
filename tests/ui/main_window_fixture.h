// The main window over fake services, with the two dialogs and the
// wake-up window: one program in a throw-away folder (real windows under
// Windows).
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
#include "store/alarm_file.h"
#include "test_support.h"
#include "ui/main_window.h"
#include "ui/program_windows.h"

// One program: fresh records and services, a throw-away program folder,
// and the four windows (real ones under Windows).
class MainForm : public testing::Test, protected TFakeProgramServices {
 protected:
  MainForm() {
    state = std::make_unique<TAppState>();
    clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 9, 400));
    clock.Uptime = (1 * 3600 + 2 * 60 + 3) * 1000;
    SetErrorReport(&boxes);
  }
  ~MainForm() override { SetErrorReport(nullptr); }

  void Create(std::vector<std::wstring> params = {}) {
    // The windows of an earlier start hold its services: they go first.
    program.reset();
    services = MakeServices(exe, std::move(params), [this] {
      auto backend = std::make_unique<TFakeMediaBackend>();
      media = backend.get();
      return std::unique_ptr<TMediaBackend>(std::move(backend));
    });
    program = std::make_unique<TProgramWindows>(*state, *services, *wakeUpWindow(), shell);
    mainWindow = &program->Main;
    app.OnMinimizedChanged = [this](bool m) { mainWindow->MinimizedChanged(m); };
  }
  TWakeUpWindow* wakeUpWindow() {
    if (!wakeUp) wakeUp = std::make_unique<TWakeUpWindow>(services->MakeMediaBackend());
    return wakeUp.get();
  }
  // Program start: the window is shown and takes the focus.
  void Start(std::vector<std::wstring> params = {}) {
    Create(std::move(params));
    mainWindow->ShowNormal();
    mainWindow->Activated(nullptr);
    mainWindow->ShowTrayIcon();  // in the program, once the loop is idle
  }
  void WriteConfigBytes(const Bytes& b) { WriteBytes(dir.Path(L"config.cfg"), b); }
  Bytes ConfigBytes() { return ReadBytes(dir.Path(L"config.cfg")); }
  void WriteDailyAlarm(TDateTime time, const std::wstring& msg) {
    auto store = std::make_unique<TAlarmStore>();
    store->DailyCount = 1;
    store->DailyAlarms[0].AlarmTime = time;
    ToShortString(msg, store->DailyAlarms[0].Msg);
    TAlarmFileState file;
    EXPECT_TRUE(SaveAlarms(*store, dir.ProgramDir(), file).Saved());
  }
  std::vector<std::wstring> Messages() {
    std::vector<std::wstring> out;
    for (const auto& s : boxes.shown) out.push_back(s.text);
    return out;
  }

  TempDir dir;
  std::wstring exe = dir.ProgramDir() + L"Tivorra.exe";
  std::unique_ptr<TAppState> state;
  TFakeMediaBackend* media = nullptr;
  std::unique_ptr<TServices> services;
  std::unique_ptr<TWakeUpWindow> wakeUp;
  std::unique_ptr<TProgramWindows> program;
  TMainWindow* mainWindow = nullptr;
};

