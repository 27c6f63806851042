#include "store/signal_settings.h"

#include <cstdint>
#include <optional>

#include "platform/decimal_text.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/file_system.h"
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

wchar_t Lower(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
  return c;
}

// Whether text[b, e) is `name`, without regard to case.
bool SameName(const std::wstring& text, std::size_t b, std::size_t e, const wchar_t* name) {
  for (; b < e && *name; ++b, ++name) {
    if (Lower(text[b]) != Lower(*name)) return false;
  }
  return b == e && !*name;
}

// Where a key's line and value are, found in one pass: only the first
// section of the name counts, as with Windows' own reader.
struct TKeyPlace {
  bool Found = false;
  std::size_t LineBegin = 0, LineEnd = 0;    // the line without its break
  std::size_t ValueBegin = 0, ValueEnd = 0;  // trimmed
  bool Section = false;
  std::size_t SectionEnd = 0;  // the end of its last non-blank line
};

TKeyPlace FindKey(const std::wstring& t, const wchar_t* section, const wchar_t* key) {
  TKeyPlace k;
  bool inSection = false;
  for (std::size_t lb = 0; lb < t.size();) {
    std::size_t le = t.find(L'\n', lb);
    if (le == std::wstring::npos) le = t.size();
    std::size_t b = lb, e = le;
    while (b < e && IsBlank(t[b])) ++b;
    while (e > b && IsBlank(t[e - 1])) --e;
    const std::size_t close = b < e && t[b] == L'[' ? t.find(L']', b) : std::wstring::npos;
    if (close < e) {
      if (k.Section) break;
      std::size_t nb = b + 1, ne = close;
      while (nb < ne && IsBlank(t[nb])) ++nb;
      while (ne > nb && IsBlank(t[ne - 1])) --ne;
      inSection = k.Section = SameName(t, nb, ne, section);
      k.SectionEnd = le;
    } else if (inSection && b < e) {
      k.SectionEnd = le;
      const std::size_t eq = t[b] == L';' || t[b] == L'#' ? std::wstring::npos : t.find(L'=', b);
      if (eq < e) {
        std::size_t ke = eq;
        while (ke > b && IsBlank(t[ke - 1])) --ke;
        if (SameName(t, b, ke, key)) {
          std::size_t vb = eq + 1;
          while (vb < e && IsBlank(t[vb])) ++vb;
          k.Found = true;
          k.LineBegin = lb;
          k.LineEnd = le > lb && t[le - 1] == L'\r' ? le - 1 : le;
          k.ValueBegin = vb;
          k.ValueEnd = e;
          return k;
        }
      }
    }
    lb = le + 1;
  }
  return k;
}

constexpr wchar_t kSection[] = L"Signal";

// Every key of [Signal]: its value and the range it must lie in.
struct TKeyRule {
  const wchar_t* Key;
  int TSignalSettings::*Value;
  int Min, Max;
};
constexpr TKeyRule kKeys[] = {
    {L"SnoozeMinutes", &TSignalSettings::SnoozeMinutes, kMinSnoozeMinutes, kMaxSnoozeMinutes},
    {L"RingMinutes", &TSignalSettings::RingMinutes, kMinRingMinutes, kMaxRingMinutes},
    {L"RaiseVolume", &TSignalSettings::RaiseVolume, 0, 1},
    {L"MinVolume", &TSignalSettings::MinVolume, kMinMinVolume, kMaxMinVolume},
    {L"FadeSeconds", &TSignalSettings::FadeSeconds, 0, kMaxFadeSeconds},
};

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
  const TKeyPlace k = FindKey(text, section.c_str(), key.c_str());
  return k.Found ? text.substr(k.ValueBegin, k.ValueEnd - k.ValueBegin) : std::wstring();
}

std::wstring SetIniValue(const std::wstring& text, const std::wstring& section,
                         const std::wstring& key, const std::wstring& value) {
  const TKeyPlace k = FindKey(text, section.c_str(), key.c_str());
  std::wstring entry = key;
  entry += L'=';
  entry += value;
  if (k.Found) return std::wstring(text).replace(k.LineBegin, k.LineEnd - k.LineBegin, entry);
  // After the section's last line.
  return InsertIniLine(text, k.Section ? std::optional<std::size_t>(k.SectionEnd) : std::nullopt,
                       section, entry);
}

std::wstring InsertIniLine(const std::wstring& text, std::optional<std::size_t> lineEnd,
                           const std::wstring& section, const std::wstring& entry) {
  std::wstring out = text;
  if (lineEnd) {
    const bool cr = *lineEnd > 0 && text[*lineEnd - 1] == L'\r';
    const std::size_t at = cr ? *lineEnd - 1 : *lineEnd;
    return out.insert(at, (cr ? L"\r\n" : L"\n") + entry);
  }
  if (!out.empty() && out.back() != L'\n') out += L"\r\n";
  out += L'[';
  out += section;
  out += L"]\r\n";
  out += entry;
  out += L"\r\n";
  return out;
}

TSignalSettings ParseSignalSettings(const std::wstring& text) {
  const TSignalSettings defaults;
  TSignalSettings s;
  for (const TKeyRule& k : kKeys) {
    // Plain decimal digits within the key's range; anything else is no value.
    const std::optional<int> v = DecimalValue(IniValue(text, kSection, k.Key));
    s.*k.Value = v && *v >= k.Min && *v <= k.Max ? *v : defaults.*k.Value;
  }
  return s;
}

TSignalSettings ReadSignalSettings(const std::wstring& programDir) {
  return ReadSignalSettings(programDir, fileio::SystemFileSystem());
}

TSignalSettings ReadSignalSettings(const std::wstring& programDir, fileio::TFileSystem& fs) {
  // A settings file is a few lines; a huge one is not this program's.
  constexpr std::size_t kMaxBytes = 1 << 20;
  const fileio::ReadResult r = fs.Read(programDir + kSignalFileName, kMaxBytes);
  if (!r.opened || r.readFailed) return {};
  return ParseSignalSettings(DecodeTextFile(r.data).Text);
}

int WriteSignalSettings(const TSignalSettings& old, const TSignalSettings& now,
                        const std::wstring& programDir) {
  return WriteSignalSettings(old, now, programDir, fileio::SystemFileSystem());
}

int WriteSignalSettings(const TSignalSettings& old, const TSignalSettings& now,
                        const std::wstring& programDir, fileio::TFileSystem& fs) {
  if (old == now) return 0;
  return EditIniFile(programDir, fs, [&](std::wstring text) {
    for (const TKeyRule& k : kKeys) {
      if (now.*k.Value != old.*k.Value) {
        text = SetIniValue(text, kSection, k.Key, DecimalText(now.*k.Value));
      }
    }
    return text;
  });
}

int EditIniFile(const std::wstring& programDir, fileio::TFileSystem& fs,
                const std::function<std::wstring(const std::wstring&)>& edit) {
  const std::wstring path = programDir + kSignalFileName;
  TDecodedText file;
  const fileio::ReadResult r = fileio::ReadAll(fs, path);
  if (r.opened && !r.readFailed) {
    file = DecodeTextFile(r.data);
  } else if (r.opened || (r.error != kErrFileNotFound && r.error != kErrPathNotFound)) {
    return r.error != 0 ? r.error : kErrAccessDenied;
  }
  const std::wstring text = edit(file.Text);
  if (text == file.Text) return 0;
  std::vector<unsigned char> bytes = EncodeTextFile(text, file.Encoding);
  // Without a mark the encoding is told from the bytes. ANSI and UTF-8 may
  // trade places as lines change, which keeps every other line's bytes and
  // reads the values, ASCII, the same. But in a file with NUL bytes the
  // lines added can tip the bytes to look like UTF-16, which reads as other
  // text: such a file is written with UTF-8's mark, to read back as it is.
  if (file.Encoding != TTextEncoding::Utf16Le &&
      DecodeTextFile(bytes).Encoding == TTextEncoding::Utf16Le) {
    bytes = EncodeTextFile(text, TTextEncoding::Utf8Bom);
  }
  return fileio::ReplaceAtomically(fs, path, bytes.data(), bytes.size());
}
