#include "platform/run_value.h"

std::wstring RunKeyFailedText(const std::wstring& keyName) {
  return L"Failed to create key " + keyName;
}

std::wstring RunDataFailedText(const std::wstring& valueName) {
  return L"Failed to set data for '" + valueName + L"'";
}
