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
