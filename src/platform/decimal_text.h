// Whole numbers as text. std::to_wstring goes through swprintf, which
// links mingw-w64's whole printf with its floating-point conversion (about
// 20 KB of Tivorra.exe) for a handful of integers.
#pragma once

#include <string>

inline std::wstring DecimalText(long long value) {
  // Counted in the negative range, which holds the most negative value too.
  wchar_t digits[24];
  wchar_t* p = digits + 24;
  long long v = value < 0 ? value : -value;
  do {
    *--p = static_cast<wchar_t>(L'0' - v % 10);
    v /= 10;
  } while (v != 0);
  if (value < 0) *--p = L'-';
  return std::wstring(p, digits + 24);
}
