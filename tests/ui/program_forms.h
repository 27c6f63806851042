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
#include "engine/wake_up_form.h"
#include "fakes/fake_program_services.h"
#include "platform/errors.h"
#include "test_support.h"
#include "ui/about_dialog.h"
#include "ui/main_form.h"
#include "ui/settings_dialog.h"

struct TProgramForms {
  TProgramForms(TAppState& state, TServices& services, TForm3& wakeUp, TShell& shell)
      : Form1(state, services, Form2, wakeUp, Form4), Form2(Form1, state.Settings, services.Boxes, Form1.SettingsLink()),
        Form4(Form1, shell) {}
  TForm1 Form1;
  TForm2 Form2;
  TForm4 Form4;
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
    wakeUp = std::make_unique<TForm3>(shell, clock, services->MakeMediaBackend(), power, audio);
    program = std::make_unique<TProgramForms>(state, *services, *wakeUp, shell);
    app.OnMinimizedChanged = [this](bool m) { program->Form1.MinimizedChanged(m); };
    program->Form1.ShowNormal();
    program->Form1.Activated(nullptr);
    program->Form1.ShowTrayIcon();  // in the program, once the loop is idle
  }
  TForm1& form1() { return program->Form1; }
  TForm2& form2() { return program->Form2; }
  TForm4& form4() { return program->Form4; }
  void WriteConfigBytes(const Bytes& b) { WriteBytes(dir.Path(L"config.cfg"), b); }
  Bytes ConfigBytes() { return ReadBytes(dir.Path(L"config.cfg")); }

  TempDir dir;
  std::wstring exe = dir.ProgramDir() + L"Tivorra.exe";
  TAppState state;
  std::unique_ptr<TServices> services;
  std::unique_ptr<TForm3> wakeUp;
  std::unique_ptr<TProgramForms> program;
};
