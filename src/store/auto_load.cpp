#include "store/auto_load.h"

#include "platform/run_value.h"

std::wstring RunValueData(const std::wstring& exePath) {
  // Unquoted, a path with blanks would let Windows try C:\Program.exe first.
  return L"\"" + exePath + L"\" /minimize";
}

void AddAutoLoad(TRunValue& runValue, const std::wstring& exePath) {
  runValue.Write(kRunValueName, RunValueData(exePath));
}

void DelAutoLoad(TRunValue& runValue) { runValue.Remove(kRunValueName); }
