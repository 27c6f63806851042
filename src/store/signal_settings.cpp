#include "store/signal_settings.h"

#include <cstdint>

#include "platform/decimal_text.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "store/cp1251.h"

namespace {

// Appends the characters of valid UTF-8; false at the first invalid
// sequence (overlong forms and surrogates included).
bool DecodeUtf8(const std::vector<unsigned char>& b, std::size_t from, std::wstring& out) {
  std::size_t i = from;
  while (i < b.size()) {
    const unsigned char c = b[i];
    std::uint32_t cp = 0;
    int more = 0;
    if (c < 0x80) {
      cp = c;
    } else if (c >= 0xC2 && c <= 0xDF) {
      cp = c & 0x1Fu;
      more = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      cp = c & 0x0Fu;
      more = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      cp = c & 0x07u;
      more = 3;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(more) >= b.size() && more > 0) return false;
    for (int k = 1; k <= more; ++k) {
      const unsigned char t = b[i + static_cast<std::size_t>(k)];
      if ((t & 0xC0u) != 0x80u) return false;
      cp = (cp << 6) | (t & 0x3Fu);
    }
    if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    if (cp >= 0x10000 && sizeof(wchar_t) == 2) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FFu)));
    } else {
      out.push_back(static_cast<wchar_t>(cp));
    }
    i += static_cast<std::size_t>(more) + 1;
  }
  return true;
}

void EncodeUtf8(const std::wstring& text, std::vector<unsigned char>& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = static_cast<std::uint32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
      const auto low = static_cast<std::uint32_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = '?';
    if (cp < 0x80) {
      out.push_back(static_cast<unsigned char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<unsigned char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<unsigned char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<unsigned char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<unsigned char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<unsigned char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<unsigned char>(0x80 | (cp & 0x3F)));
    }
  }
}

// Notepad's "Unicode" without its mark: ASCII text leaves every second
// byte zero.
bool LooksLikeUtf16Le(const std::vector<unsigned char>& b) {
  if (b.size() < 2 || b.size() % 2 != 0) return false;
  std::size_t zeros = 0;
  for (std::size_t i = 1; i < b.size(); i += 2) zeros += b[i] == 0 ? 1 : 0;
  return zeros * 2 > b.size() / 2 && b[0] != 0;
}

std::wstring DecodeUtf16Le(const std::vector<unsigned char>& b, std::size_t from) {
  std::wstring out;
  for (std::size_t i = from; i + 1 < b.size(); i += 2) {
    out.push_back(static_cast<wchar_t>(b[i] | (b[i + 1] << 8)));
  }
  return out;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == 0xFEFF; }

std::wstring Trim(const std::wstring& s) {
  std::size_t a = 0;
  std::size_t e = s.size();
  while (a < e && IsBlank(s[a])) ++a;
  while (e > a && IsBlank(s[e - 1])) --e;
  return s.substr(a, e - a);
}

wchar_t Lower(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
  if (c >= 0x410 && c <= 0x42F) return static_cast<wchar_t>(c + 0x20);
  return c;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// One line of the text: where it starts and ends (without its line break).
struct TLine {
  std::size_t Begin;
  std::size_t End;
};

std::vector<TLine> Lines(const std::wstring& text) {
  std::vector<TLine> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find(L'\n', begin);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back({begin, end});
    begin = end + 1;
  }
  return lines;
}

// "[name]" gives the name; anything else nothing.
bool SectionName(const std::wstring& line, std::wstring& name) {
  const std::wstring t = Trim(line);
  if (t.size() < 2 || t.front() != L'[') return false;
  const std::size_t close = t.find(L']');
  if (close == std::wstring::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

// "key = value" gives both, trimmed; comments and other lines nothing.
bool KeyValue(const std::wstring& line, std::wstring& key, std::wstring& value) {
  const std::wstring t = Trim(line);
  if (t.empty() || t[0] == L';' || t[0] == L'#') return false;
  const std::size_t eq = t.find(L'=');
  if (eq == std::wstring::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return true;
}

// Plain decimal digits within [min, max]; anything else is no value.
int NumberOr(const std::wstring& text, int min, int max, int fallback) {
  if (text.empty() || text.size() > 9) return fallback;
  int v = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return fallback;
    v = v * 10 + (c - L'0');
  }
  return v >= min && v <= max ? v : fallback;
}

constexpr wchar_t kSection[] = L"Signal";
constexpr wchar_t kSnoozeKey[] = L"SnoozeMinutes";
constexpr wchar_t kRingKey[] = L"RingMinutes";

}  // namespace

TDecodedText DecodeTextFile(const std::vector<unsigned char>& b) {
  TDecodedText d;
  if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    d.Encoding = TTextEncoding::Utf16Le;
    d.Text = DecodeUtf16Le(b, 2);
    return d;
  }
  if (b.size() >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    std::wstring text;
    if (DecodeUtf8(b, 3, text)) {
      d.Encoding = TTextEncoding::Utf8Bom;
      d.Text = std::move(text);
      return d;
    }
  } else if (LooksLikeUtf16Le(b)) {
    d.Encoding = TTextEncoding::Utf16Le;
    d.Text = DecodeUtf16Le(b, 0);
    return d;
  } else {
    std::wstring text;
    bool ascii = true;
    for (const unsigned char c : b) ascii = ascii && c < 0x80;
    if (!ascii && DecodeUtf8(b, 0, text)) {
      d.Encoding = TTextEncoding::Utf8;
      d.Text = std::move(text);
      return d;
    }
  }
  d.Encoding = TTextEncoding::Ansi;
  d.Text = cp1251::ToWide(std::string(b.begin(), b.end()));
  return d;
}

std::vector<unsigned char> EncodeTextFile(const std::wstring& text, TTextEncoding encoding) {
  std::vector<unsigned char> out;
  switch (encoding) {
    case TTextEncoding::Ansi: {
      const std::string bytes = cp1251::FromWide(text);
      out.assign(bytes.begin(), bytes.end());
      break;
    }
    case TTextEncoding::Utf8Bom:
      out = {0xEF, 0xBB, 0xBF};
      EncodeUtf8(text, out);
      break;
    case TTextEncoding::Utf8:
      EncodeUtf8(text, out);
      break;
    case TTextEncoding::Utf16Le:
      out = {0xFF, 0xFE};
      for (const wchar_t c : text) {
        out.push_back(static_cast<unsigned char>(c & 0xFF));
        out.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
      }
      break;
  }
  return out;
}

std::wstring IniValue(const std::wstring& text, const std::wstring& section,
                      const std::wstring& key) {
  bool inSection = false;
  for (const TLine& l : Lines(text)) {
    const std::wstring line = text.substr(l.Begin, l.End - l.Begin);
    std::wstring name, k, v;
    if (SectionName(line, name)) {
      inSection = SameName(name, section);
    } else if (inSection && KeyValue(line, k, v) && SameName(k, key)) {
      return v;
    }
  }
  return {};
}

std::wstring SetIniValue(const std::wstring& text, const std::wstring& section,
                         const std::wstring& key, const std::wstring& value) {
  const std::wstring entry = key + L"=" + value;
  bool inSection = false;
  std::size_t sectionEnd = std::wstring::npos;  // after the section's last non-blank line
  for (const TLine& l : Lines(text)) {
    const std::wstring line = text.substr(l.Begin, l.End - l.Begin);
    std::wstring name, k, v;
    if (SectionName(line, name)) {
      if (inSection) break;
      inSection = SameName(name, section);
      if (inSection) sectionEnd = l.End;
    } else if (inSection) {
      if (KeyValue(line, k, v) && SameName(k, key)) {
        // The line's own ending (a carriage return) stays.
        const bool cr = l.End > l.Begin && text[l.End - 1] == L'\r';
        return text.substr(0, l.Begin) + entry + (cr ? L"\r" : L"") + text.substr(l.End);
      }
      if (!Trim(line).empty()) sectionEnd = l.End;
    }
  }
  if (sectionEnd != std::wstring::npos) {
    // After the section's last line, with that line's own ending.
    const bool cr = sectionEnd > 0 && text[sectionEnd - 1] == L'\r';
    const std::wstring prefix = cr ? text.substr(0, sectionEnd - 1) : text.substr(0, sectionEnd);
    return prefix + (cr ? L"\r\n" : L"\n") + entry + text.substr(cr ? sectionEnd - 1 : sectionEnd);
  }
  std::wstring out = text;
  if (!out.empty() && out.back() != L'\n') out += L"\r\n";
  return out + L"[" + section + L"]\r\n" + entry + L"\r\n";
}

TSignalSettings ParseSignalSettings(const std::wstring& text) {
  TSignalSettings s;
  s.SnoozeMinutes = NumberOr(IniValue(text, kSection, kSnoozeKey), kMinSnoozeMinutes,
                             kMaxSnoozeMinutes, kDefaultSnoozeMinutes);
  s.RingMinutes = NumberOr(IniValue(text, kSection, kRingKey), kMinRingMinutes, kMaxRingMinutes,
                           kDefaultRingMinutes);
  return s;
}

TSignalSettings ReadSignalSettings(const std::wstring& programDir) {
  // A settings file is a few lines; a huge one is not this program's.
  constexpr std::size_t kMaxBytes = 1 << 20;
  const fileio::ReadResult r = fileio::ReadHead(programDir + kSignalFileName, kMaxBytes);
  if (!r.opened || r.readFailed) return {};
  return ParseSignalSettings(DecodeTextFile(r.data).Text);
}

int WriteSignalSettings(const TSignalSettings& old, const TSignalSettings& now,
                        const std::wstring& programDir) {
  if (old == now) return 0;
  const std::wstring path = programDir + kSignalFileName;
  TDecodedText file;
  const fileio::ReadResult r = fileio::ReadAll(path);
  if (r.opened && !r.readFailed) {
    file = DecodeTextFile(r.data);
  } else if (r.opened || (r.error != kErrFileNotFound && r.error != kErrPathNotFound)) {
    return r.error != 0 ? r.error : kErrAccessDenied;
  }
  if (now.SnoozeMinutes != old.SnoozeMinutes) {
    file.Text = SetIniValue(file.Text, kSection, kSnoozeKey, DecimalText(now.SnoozeMinutes));
  }
  if (now.RingMinutes != old.RingMinutes) {
    file.Text = SetIniValue(file.Text, kSection, kRingKey, DecimalText(now.RingMinutes));
  }
  const std::vector<unsigned char> bytes = EncodeTextFile(file.Text, file.Encoding);
  return fileio::ReplaceAtomically(path, bytes.data(), bytes.size());
}
