#include "platform/decimal_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <optional>
#include <string>

namespace {

TEST(DecimalText, WritesWholeNumbersAsSwprintfWould) {
  const struct {
    long long value;
    const wchar_t* text;
  } cases[] = {
      {0, L"0"},
      {7, L"7"},
      {10, L"10"},
      {1117, L"1117"},
      {-5, L"-5"},
      {-1000, L"-1000"},
      {UINT32_MAX, L"4294967295"},
      {LLONG_MAX, L"9223372036854775807"},
      {LLONG_MIN, L"-9223372036854775808"},
  };
  for (const auto& c : cases) EXPECT_EQ(DecimalText(c.value), c.text) << c.value;
}

TEST(DecimalText, ReadsDigitsAfterSpacesAndTheWholeTextOnlyWhenItIsOneNumber) {
  constexpr std::optional<int> kNone;
  const std::wstring manyNines(1000, L'9');
  const std::wstring manyZeros = std::wstring(1000, L'0') + L"42";
  const struct {
    std::wstring text;
    std::size_t from;
    std::optional<int> read;   // ReadDecimal's value
    std::size_t end;           // and where it stopped
    std::optional<int> whole;  // DecimalValue
  } cases[] = {
      // Plain numbers, leading zeros and spaces around them.
      {L"0", 0, 0, 1, 0},
      {L"7", 0, 7, 1, 7},
      {L"007", 0, 7, 3, 7},
      {L"120", 0, 120, 3, 120},
      {L"  42", 0, 42, 4, 42},
      {L"42  ", 0, 42, 2, 42},
      {L"  42  ", 0, 42, 4, 42},
      // Nothing to read.
      {L"", 0, kNone, 0, kNone},
      {L"   ", 0, kNone, 3, kNone},
      {L"abc", 0, kNone, 0, kNone},
      {L"мин", 0, kNone, 0, kNone},
      // Only spaces are blanks.
      {L"\t5", 0, kNone, 0, kNone},
      {L"5\t", 0, 5, 1, kNone},
      {L"\n5", 0, kNone, 0, kNone},
      {L"\u00A05", 0, kNone, 0, kNone},
      // No signs.
      {L"-5", 0, kNone, 0, kNone},
      {L"+5", 0, kNone, 0, kNone},
      {L" -5", 0, kNone, 1, kNone},
      {L"5-", 0, 5, 1, kNone},
      // Trailing text: the prefix reads, the whole text does not.
      {L"5 мин", 0, 5, 1, kNone},
      {L" 20мин", 0, 20, 3, kNone},
      {L"1 час", 0, 1, 1, kNone},
      {L"1 2", 0, 1, 1, kNone},
      {L"1e1", 0, 1, 1, kNone},
      {L"0x10", 0, 0, 1, kNone},
      {L"5.5", 0, 5, 1, kNone},
      {L"5,5", 0, 5, 1, kNone},
      // Other scripts' digits are not digits.
      {L"\uFF12", 0, kNone, 0, kNone},
      {L"\u0662", 0, kNone, 0, kNone},
      // The edge of an int, and past it: every digit is still read.
      {L"2147483647", 0, INT_MAX, 10, INT_MAX},
      {L"2147483648", 0, kNone, 10, kNone},
      {L"2147483650", 0, kNone, 10, kNone},
      {L"4294967297", 0, kNone, 10, kNone},
      {L"99999999999 мин", 0, kNone, 11, kNone},
      {manyNines, 0, kNone, 1000, kNone},
      {manyNines + L" ", 0, kNone, 1000, kNone},
      {manyZeros, 0, 42, 1002, 42},
      // From a place inside the text, or past its end.
      {L"Отложить на 15 мин", 11, 15, 14, kNone},
      {L"12", 1, 2, 2, 12},
      {L"12", 2, kNone, 2, 12},
      {L"12", 9, kNone, 2, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.text.substr(0, 40)) + " from " + std::to_string(c.from));
    const TDecimalRead read = ReadDecimal(c.text, c.from);
    EXPECT_EQ(read.Value, c.read);
    EXPECT_EQ(read.End, c.end);
    EXPECT_EQ(DecimalValue(c.text), c.whole);
  }
}

}  // namespace
