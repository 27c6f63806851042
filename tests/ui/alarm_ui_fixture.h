// One program for the tests of the alarm list, the editor and the picker:
// fresh records and services, a throw-away program folder, the windows
// (real ones under Windows), started with the list and the editor shown.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "controls/dispatcher.h"
#include "platform/date_time.h"
#include "engine/wake_up_form.h"
#include "fakes/fake_program_services.h"
#include "fakes/ui_driver.h"
#include "store/alarm_file.h"
#include "test_support.h"
#include "ui/main_form.h"
#include "ui/program_forms.h"

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
    wakeUp = std::make_unique<TForm3>(shell, clock, services->MakeMediaBackend(), power, audio);
    program.reset();
    program = std::make_unique<TProgramForms>(*state, *services, *wakeUp, shell);
    form1 = &program->Form1;
    form1->ShowNormal();
    form1->Activated(nullptr);
    form1->ShowTrayIcon();  // in the program, once the loop is idle
  }
  // A new alarm of a kind, through the editor as a user makes it.
  void AddAlarm(TRadioButton& kind, TDateTime time, const std::wstring& msg = L"") {
    form1->NewBut.Click();
    kind.Click();
    form1->cxTimeEdit.PickValue(time);
    if (!msg.empty()) {
      form1->cxCheckMSG.Check(true);
      form1->cxMemoMSG.TypeText(msg);
    }
    form1->AddBut.Click();
  }
  void ShowTab(int tab) {
    // A click on the selected tab changes nothing: go through another one.
    form1->RzTabControl.SelectTab(tab == 0 ? 1 : 0);
    form1->RzTabControl.SelectTab(tab);
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
  std::unique_ptr<TForm3> wakeUp;
  std::unique_ptr<TProgramForms> program;
  TForm1* form1 = nullptr;
};
