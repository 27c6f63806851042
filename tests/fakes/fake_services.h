// Test doubles of the services: they record what the program asked for and
// let a test decide what the outside world answers.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "controls/message_boxes.h"
#include "platform/errors.h"
#include "platform/regional.h"
#include "platform/run_value.h"
#include "platform/shell.h"
#include "ui/services.h"

class TFakeShell : public TShell {
 public:
  void Open(const std::wstring& file) override { opened.push_back(file); }
  std::vector<std::wstring> opened;
};

class TFakeRunValue : public TRunValue {
 public:
  // Makes the next Write fail as the registry would, without storing.
  enum class Fault { None, CreateKey, SetData };

  void Write(const std::wstring& name, const std::wstring& data) override {
    const Fault fault = failNextWrite;
    failNextWrite = Fault::None;
    if (fault == Fault::CreateKey) throw EAppError(RunKeyFailedText(L"Run"));
    if (fault == Fault::SetData) throw EAppError(RunDataFailedText(name));
    values[name] = data;
    ++writeCount;
  }
  void Remove(const std::wstring& name) override { values.erase(name); }

  std::map<std::wstring, std::wstring> values;
  int writeCount = 0;  // successful writes, repeated ones included
  Fault failNextWrite = Fault::None;
};

// Fixed formats H:mm:ss and dd.MM.yyyy, for tests.
class TFakeRegionalFormats : public TRegionalFormats {
 public:
  std::wstring LongTime(TDateTime local) override;
  std::wstring ShortDate(TDateTime local) override;
};

class TFakeMessageBoxes : public TMessageBoxes {
 public:
  enum class Kind { Message, Error };
  struct Shown {
    Kind kind;
    std::wstring text;
  };

  void ShowMessage(const std::wstring& text) override {
    shown.push_back({Kind::Message, text});
    if (onShow) onShow();
  }
  void ShowErrorReport(const std::wstring& text) override {
    shown.push_back({Kind::Error, text});
    if (onShow) onShow();
  }

  std::vector<Shown> shown;
  // Runs as each box is shown, to look at the program meanwhile.
  std::function<void()> onShow;
};

// The open-file dialog: the user confirms the next scripted answers in
// turn, then cancels.
class TFakeFileDialogs : public TFileDialogs {
 public:
  std::optional<std::wstring> PickFileToOpen(TForm& owner) override {
    owners.push_back(&owner);
    if (answers.empty()) return std::nullopt;
    std::optional<std::wstring> a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  std::vector<std::optional<std::wstring>> answers;
  std::vector<TForm*> owners;
};

class TFakeApplicationWindow : public TApplicationWindow {
 public:
  void Minimize() override {
    if (minimized) return;
    minimized = true;
    ++minimizeCount;
    if (OnMinimizedChanged) OnMinimizedChanged(true);
  }
  void Restore() override {
    if (!minimized) return;
    minimized = false;
    if (OnMinimizedChanged) OnMinimizedChanged(false);
  }
  bool Minimized() const override { return minimized; }
  void BringToFront() override { ++bringToFrontCount; }
  void Terminate() override { terminated = true; }

  std::function<void(bool)> OnMinimizedChanged;
  bool minimized = false;
  int minimizeCount = 0;
  int bringToFrontCount = 0;
  bool terminated = false;
};
