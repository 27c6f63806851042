// The registry value that starts the program when the user logs on to
// Windows. The Win32 half writes the real value; the headless half keeps
// values in memory for tests.
#pragma once

#include <map>
#include <string>

#include "platform/errors.h"

class TRunValue {
 public:
  virtual ~TRunValue() = default;
  // Writes the string value, replacing earlier data. Throws EAppError with
  // RunKeyFailedText or RunDataFailedText when it cannot.
  virtual void Write(const std::wstring& name, const std::wstring& data) = 0;
  // Removes the value wherever this program may have written it. Reports
  // nothing: a value that is not there, or cannot be removed, is left alone.
  virtual void Remove(const std::wstring& name) = 0;
};

// The error texts of a failed Write.
std::wstring RunKeyFailedText(const std::wstring& keyName);
std::wstring RunDataFailedText(const std::wstring& valueName);

class THeadlessRunValue : public TRunValue {
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
