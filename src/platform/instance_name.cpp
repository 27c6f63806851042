#include "platform/instance_name.h"

#include <cstdint>

namespace {

// Windows compares file names without case; folding Latin and Cyrillic
// letters covers the folders this program meets.
wchar_t FoldCase(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
  if (c >= 0x0430 && c <= 0x044F) return static_cast<wchar_t>(c - 0x20);  // а..я
  if (c >= 0x0450 && c <= 0x045F) return static_cast<wchar_t>(c - 0x50);  // ѐ..џ
  if (c == L'/') return L'\\';
  return c;
}

}  // namespace

std::wstring InstanceName(const std::wstring& programDir) {
  std::wstring folder;
  for (wchar_t c : programDir) folder.push_back(FoldCase(c));
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();

  // FNV-1a over the UTF-16 units: a path can be longer than a mutex name may
  // be, and it holds backslashes, which a mutex name must not.
  std::uint64_t hash = 14695981039346656037ull;
  for (wchar_t c : folder) {
    const auto unit = static_cast<std::uint16_t>(c);
    for (int shift : {0, 8}) {
      hash ^= (unit >> shift) & 0xFF;
      hash *= 1099511628211ull;
    }
  }
  static constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring name = L"Tivorra-";
  for (int shift = 60; shift >= 0; shift -= 4) name.push_back(kHex[(hash >> shift) & 0xF]);
  return name;
}
