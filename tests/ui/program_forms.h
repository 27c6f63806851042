// The main window and its two dialogs, made in the program's order: the
// main window knows the dialogs and the dialogs know their owner.
#pragma once

#include "ui/about_dialog.h"
#include "ui/main_form.h"
#include "ui/settings_dialog.h"

struct TProgramForms {
  TProgramForms(TAppState& state, TServices& services, TForm3& wakeUp, TShell& shell)
      : Form1(state, services, Form2, wakeUp, Form4), Form2(Form1), Form4(Form1, shell) {}
  TForm1 Form1;
  TForm2 Form2;
  TForm4 Form4;
};
