// Whole numbers as text, both ways. std::to_wstring goes through swprintf,
// which links mingw-w64's whole printf with its floating-point conversion
// (about 20 KB of Tivorra.exe) for a handful of integers. The readers take
// what people type into a field or write into Tivorra.ini by hand: wcstol
// would take a sign, tabs and line breaks before the number, and clamp a
// huge one to LONG_MAX.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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

// 0..99 in two digits, a leading zero below 10 (days, months, hours).
inline std::wstring TwoDigitText(int value) {
  return {static_cast<wchar_t>(L'0' + value / 10 % 10), static_cast<wchar_t>(L'0' + value % 10)};
}

// What ReadDecimal found.
struct TDecimalRead {
  // None when there was no digit, or when the digits stand for more than an
  // int holds.
  std::optional<int> Value;
  // The first character not read: past every digit, a number too large for
  // an int included, so what follows it is the same text either way. With
  // no digit, past the blanks.
  std::size_t End = 0;
};

// Reads, from `from`, any spaces and then every decimal digit '0'-'9' that
// follows. No sign: "-5" and "+5" are not numbers here, since no value the
// program reads may be negative. Tabs and other characters stop the read.
TDecimalRead ReadDecimal(std::wstring_view text, std::size_t from = 0);

// The whole text as one number: spaces around it, nothing else; none for an
// empty text, any other character, or a number an int cannot hold.
std::optional<int> DecimalValue(std::wstring_view text);
