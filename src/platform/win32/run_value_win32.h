#pragma once

#include <windows.h>

#include "platform/run_value.h"

// The value under the user's own Run key: a program that runs without
// elevation cannot write the machine-wide one, and the value is rewritten
// whenever the main window is activated.
class TWin32RunValue : public TRunValue {
 public:
  // `userRoot` is the hive the value is written to; tests pass keys of their
  // own to make the registry fail.
  explicit TWin32RunValue(HKEY userRoot = HKEY_CURRENT_USER) : userRoot_(userRoot) {}

  void Write(const std::wstring& name, const std::wstring& data) override;
  void Remove(const std::wstring& name) override;

 private:
  HKEY userRoot_;
};
