#include "platform/decimal_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

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

}  // namespace
