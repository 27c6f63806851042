#include "store/cp1251.h"

namespace cp1251 {
namespace {

// 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order. 0x98 has no
// character in the code page and maps to U+0098, as Windows does.
constexpr wchar_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

bool IsHighSurrogate(unsigned long c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(unsigned long c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

wchar_t Decode(unsigned char c) {
  if (c < 0x80) return static_cast<wchar_t>(c);
  if (c >= 0xC0) return static_cast<wchar_t>(0x0410 + (c - 0xC0));
  return kHigh[c - 0x80];
}

bool Encode(wchar_t ch, unsigned char& out) {
  const unsigned long c = static_cast<unsigned long>(ch);
  if (c < 0x80) {
    out = static_cast<unsigned char>(c);
    return true;
  }
  if (c >= 0x0410 && c <= 0x044F) {
    out = static_cast<unsigned char>(0xC0 + (c - 0x0410));
    return true;
  }
  for (int i = 0; i < 64; ++i) {
    if (static_cast<unsigned long>(kHigh[i]) == c) {
      out = static_cast<unsigned char>(0x80 + i);
      return true;
    }
  }
  return false;
}

std::string FromWide(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char b;
    if (Encode(text[i], b)) {
      out.push_back(static_cast<char>(b));
      continue;
    }
    out.push_back('?');
    if (IsHighSurrogate(static_cast<unsigned long>(text[i])) && i + 1 < text.size() &&
        IsLowSurrogate(static_cast<unsigned long>(text[i + 1]))) {
      ++i;
    }
  }
  return out;
}

std::wstring ToWide(const std::string& bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(Decode(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace cp1251
