// One program for the tests of the alarm list, the editor and the picker:
// fresh records and services, a throw-away program folder, the windows
// (real ones under Windows), started with the list and the editor shown.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "controls/dispatcher.h"
#include "platform/date_time.h"
#include "ui/wake_up_window.h"
#include "fakes/fake_program_services.h"
#include "fakes/ui_driver.h"
#include "store/alarm_file.h"
#include "test_support.h"
#include "ui/main_window.h"
#include "ui/program_windows.h"

class AlarmUi : public testing::Test, protected TFakeProgramServices {
 protected:
  AlarmUi() {
    clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(12, 0, 0, 400));
    SetErrorReport(&boxes);
  }
  ~AlarmUi() override {
    program.reset();
    SetErrorReport(nullptr);
  }

  // Starts the program with these settings bytes (list and editor shown).
  void Start(Bytes config = {1, 1, 0, 0, 0, 0, 0}) {
    WriteBytes(dir.Path(L"config.cfg"), config);
    services = MakeServices(dir.ProgramDir() + L"Tivorra.exe", {});
    wakeUp = std::make_unique<TWakeUpWindow>(services->MakeMediaBackend());
    program.reset();
    program = std::make_unique<TProgramWindows>(*state, *services, *wakeUp, shell);
    mainWindow = &program->Main;
    mainWindow->ShowNormal();
    mainWindow->Activated(nullptr);
    mainWindow->ShowTrayIcon();  // in the program, once the loop is idle
  }
  // A new alarm of a kind, through the editor as a user makes it.
  void AddAlarm(TRadioButton& kind, TDateTime time, const std::wstring& msg = L"") {
    mainWindow->NewBut.Click();
    kind.Click();
    mainWindow->cxTimeEdit.PickValue(time);
    if (!msg.empty()) {
      mainWindow->cxCheckMSG.Check(true);
      mainWindow->cxMemoMSG.TypeText(msg);
    }
    mainWindow->AddBut.Click();
  }
  void ShowTab(int tab) {
    // A click on the selected tab changes nothing: go through another one.
    mainWindow->RzTabControl.SelectTab(tab == 0 ? 1 : 0);
    mainWindow->RzTabControl.SelectTab(tab);
  }
  void MakeFile(const std::wstring& relative) {
    const auto p = dir.Path(relative);
    std::filesystem::create_directories(p.parent_path());
    WriteBytes(p, {1});
  }
  std::vector<std::wstring> Messages() {
    std::vector<std::wstring> out;
    for (const auto& s : boxes.shown) out.push_back(s.text);
    return out;
  }
  Bytes AlarmFile() { return ReadBytes(dir.Path(L"alarm.rec")); }

  TempDir dir;
  std::unique_ptr<TAppState> state = std::make_unique<TAppState>();
  std::unique_ptr<TServices> services;
  std::unique_ptr<TWakeUpWindow> wakeUp;
  std::unique_ptr<TProgramWindows> program;
  TMainWindow* mainWindow = nullptr;
};
