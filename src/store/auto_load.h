// Starting the program, minimised, when the user logs on to Windows.
#pragma once

#include <string>

class TRunValue;

inline constexpr wchar_t kRunValueName[] = L"Tivorra";

// The command Windows runs: the executable's path in quotes, then the
// switch that makes the program start minimised.
std::wstring RunValueData(const std::wstring& exePath);

// Writes (or rewrites) the program's Run value; a failure throws EAppError.
void AddAutoLoad(TRunValue& runValue, const std::wstring& exePath);
// Removes it; reports nothing.
void DelAutoLoad(TRunValue& runValue);
