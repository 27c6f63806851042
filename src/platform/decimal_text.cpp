#include "platform/decimal_text.h"

#include <limits>

namespace {

bool IsBlank(wchar_t c) { return c == L' '; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

TDecimalRead ReadDecimal(std::wstring_view text, std::size_t from) {
  constexpr int kMax = std::numeric_limits<int>::max();
  std::size_t i = from < text.size() ? from : text.size();
  while (i < text.size() && IsBlank(text[i])) ++i;
  const std::size_t first = i;
  int value = 0;
  bool fits = true;
  // Every digit is read, so a long run of them is one number, not a number
  // followed by more digits; leading zeros cost nothing.
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    const int digit = text[i] - L'0';
    if (fits && value > (kMax - digit) / 10) fits = false;
    if (fits) value = value * 10 + digit;
  }
  TDecimalRead read;
  read.End = i;
  if (i > first && fits) read.Value = value;
  return read;
}

std::optional<int> DecimalValue(std::wstring_view text) {
  const TDecimalRead read = ReadDecimal(text);
  std::size_t i = read.End;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  return read.Value;
}
