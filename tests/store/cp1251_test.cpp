#include <gtest/gtest.h>

#include "store/cp1251.h"

#ifdef _WIN32
#include <windows.h>
#endif

TEST(Cp1251, EveryByteDecodesAndEncodesBack) {
  for (int b = 0; b < 256; ++b) {
    const wchar_t ch = cp1251::Decode(static_cast<unsigned char>(b));
    unsigned char back = 0;
    ASSERT_TRUE(cp1251::Encode(ch, back)) << "byte " << b;
    EXPECT_EQ(back, b);
  }
}

TEST(Cp1251, KnownLetters) {
  const struct {
    unsigned char byte;
    wchar_t ch;
  } cases[] = {{0xC0, L'А'}, {0xFF, L'я'}, {0xA8, L'Ё'}, {0xB8, L'ё'},
               {0xB9, L'№'}, {0x88, L'€'}, {0x97, L'—'}, {0xAB, L'«'}};
  for (const auto& c : cases) EXPECT_EQ(cp1251::Decode(c.byte), c.ch) << int(c.byte);
  unsigned char out;
  EXPECT_FALSE(cp1251::Encode(L'ä', out));
}

#ifdef _WIN32
// Windows itself is the reference for the table.
TEST(Cp1251, AgreesWithTheSystemCodePage) {
  for (int b = 1; b < 256; ++b) {
    const char in = static_cast<char>(b);
    wchar_t sys = 0;
    ASSERT_EQ(MultiByteToWideChar(1251, 0, &in, 1, &sys, 1), 1);
    EXPECT_EQ(cp1251::Decode(static_cast<unsigned char>(b)), sys) << "byte " << b;
  }
}
#endif
