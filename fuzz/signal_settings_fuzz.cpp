// Tivorra.ini of any content and encoding. People write it by hand in any
// editor, and the program rewrites it when a setting changes, so:
//   - any bytes decode, and text written back in the encoding it was read
//     in reads back the same, in that encoding; text written in another
//     encoding that can hold it reads back the same too;
//   - every value read lies within its documented range;
//   - setting one key changes that key's value to the new one and no other
//     key's value;
//   - a change the program writes is what it reads next, and the rest of
//     the file keeps its values (their bytes, where the bytes decide the
//     encoding) and its encoding.
//
// The input:
//   byte 0       bits 0-2: 1-4 write the text below in ANSI, UTF-8, UTF-8
//                with its mark or UTF-16 LE; any other value takes the
//                bytes below as the file, as they are
//   byte 1       the section and key one setting goes to
//   bytes 2-3    the value it gets (a signed 16-bit number)
//   byte 4       which of the five [Signal] values the program changes
//   bytes 5-9    their new values (each modulo its range)
//   the rest     the file; or the text, two bytes a UTF-16 unit
#include <cstring>
#include <cwctype>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/decimal_text.h"
#include "store/cp1251.h"
#include "store/signal_settings.h"

namespace {

const wchar_t* const kSections[] = {L"Signal", L"SIGNAL", L"Other"};
const wchar_t* const kKeys[] = {L"SnoozeMinutes", L"RingMinutes", L"RaiseVolume", L"MinVolume",
                                L"FadeSeconds",   L"fadeseconds", L"Extra"};
// Whose values must stay as they were when another key is set.
const wchar_t* const kProbeSections[] = {L"Signal", L"Other"};
const wchar_t* const kProbeKeys[] = {L"SnoozeMinutes", L"RingMinutes", L"RaiseVolume",
                                     L"MinVolume",     L"FadeSeconds", L"Extra"};

// Each value of [Signal] with the range the header gives it.
struct TField {
  int TSignalSettings::*Value;
  int Min, Max;
};
const TField kFields[] = {
    {&TSignalSettings::SnoozeMinutes, kMinSnoozeMinutes, kMaxSnoozeMinutes},
    {&TSignalSettings::RingMinutes, kMinRingMinutes, kMaxRingMinutes},
    {&TSignalSettings::RaiseVolume, 0, 1},
    {&TSignalSettings::MinVolume, kMinMinVolume, kMaxMinVolume},
    {&TSignalSettings::FadeSeconds, 0, kMaxFadeSeconds},
};

const TTextEncoding kEncodings[] = {TTextEncoding::Ansi, TTextEncoding::Utf8,
                                    TTextEncoding::Utf8Bom, TTextEncoding::Utf16Le};

void CheckInRange(const TSignalSettings& s) {
  for (const TField& f : kFields) {
    if (s.*f.Value < f.Min || s.*f.Value > f.Max) FuzzFailure("a value read is out of its range");
  }
}

bool SameName(const wchar_t* a, const wchar_t* b) {
  for (; *a && *b; ++a, ++b) {
    if (std::towlower(*a) != std::towlower(*b)) return false;
  }
  return *a == *b;
}

bool IsSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Whether every character of `text` has a place in `encoding`, and the
// bytes cannot be taken for another encoding's: files without a mark are
// told apart by their bytes, so a text without NUL, not opening with a
// mark's characters.
bool Holds(TTextEncoding encoding, const std::wstring& text) {
  for (const wchar_t c : text) {
    switch (encoding) {
      case TTextEncoding::Ansi: {
        unsigned char b;
        if (c == 0 || !cp1251::Encode(c, b)) return false;
        break;
      }
      case TTextEncoding::Utf8:
        if (c == 0 || IsSurrogate(c)) return false;
        break;
      case TTextEncoding::Utf8Bom:
        if (IsSurrogate(c)) return false;
        break;
      case TTextEncoding::Utf16Le:
        if (static_cast<unsigned long>(c) > 0xFFFF) return false;
        break;
    }
  }
  if (encoding == TTextEncoding::Utf8) return text.empty() || text[0] != 0xFEFF;
  if (encoding == TTextEncoding::Ansi) {
    // "яю" is FF FE and "п»ї" EF BB BF in Windows-1251: the marks.
    return text.compare(0, 2, L"\u044F\u044E") != 0 &&
           text.compare(0, 3, L"\u043F\u00BB\u0457") != 0;
  }
  return true;
}

bool IsAscii(const std::wstring& text) {
  for (const wchar_t c : text) {
    if (c == 0 || c >= 0x80) return false;
  }
  return true;
}

void CheckCodecs(const std::vector<std::uint8_t>& file, const TDecodedText& decoded) {
  // Written back as it was read: the program's own rewrite. Read again
  // the same; and but for UTF-16, which gains its mark, the very bytes.
  const std::vector<unsigned char> rewritten = EncodeTextFile(decoded.Text, decoded.Encoding);
  const TDecodedText again = DecodeTextFile(rewritten);
  if (again.Text != decoded.Text || again.Encoding != decoded.Encoding) {
    FuzzFailure("text written in its own encoding reads back otherwise");
  }
  if (decoded.Encoding != TTextEncoding::Utf16Le && rewritten != file) {
    FuzzFailure("text written in its own encoding is not the bytes it was read from");
  }
  for (const TTextEncoding e : kEncodings) {
    if (!Holds(e, decoded.Text)) continue;
    const TDecodedText back = DecodeTextFile(EncodeTextFile(decoded.Text, e));
    // Without a mark, text that the bytes of another encoding could spell
    // (ANSI letters that happen to form UTF-8, say) is read as that one;
    // plain ASCII is ANSI, and a text of the other characters reads back
    // as it was.
    const bool asWritten =
        back.Encoding == e ||
        (e == TTextEncoding::Utf8 && back.Encoding == TTextEncoding::Ansi && IsAscii(decoded.Text));
    if (e == TTextEncoding::Ansi && back.Encoding != e && IsAscii(decoded.Text)) {
      FuzzFailure("ASCII text is not read as ANSI");
    }
    if (e != TTextEncoding::Ansi && !asWritten) FuzzFailure("text reads back in another encoding");
    if (asWritten && back.Text != decoded.Text) {
      FuzzFailure("text written in an encoding that holds it reads back otherwise");
    }
  }
}

void CheckSetValue(const std::wstring& text, const wchar_t* section, const wchar_t* key,
                   const std::wstring& value) {
  const std::wstring changed = SetIniValue(text, section, key, value);
  if (IniValue(changed, section, key) != value) FuzzFailure("a key set does not read its value");
  for (const wchar_t* s : kProbeSections) {
    for (const wchar_t* k : kProbeKeys) {
      if (SameName(s, section) && SameName(k, key)) continue;
      if (IniValue(changed, s, k) != IniValue(text, s, k)) {
        FuzzFailure("setting a key changed another key's value");
      }
    }
  }
  CheckInRange(ParseSignalSettings(changed));
}

// The program's round: read the settings, change some, write them, read
// them again.
void CheckWrite(TFuzzInput& in, const std::vector<std::uint8_t>& file) {
  const std::wstring& dir = FuzzProgramDir();
  WriteFuzzFile(kSignalFileName, file.data(), file.size());
  const TSignalSettings old = ReadSignalSettings(dir);
  CheckInRange(old);
  const TDecodedText before = DecodeTextFile(file);
  if (old != ParseSignalSettings(before.Text)) {
    FuzzFailure("the file reads otherwise than its text");
  }

  TSignalSettings now = old;
  const std::uint8_t changes = in.Byte();
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    const TField& f = kFields[i];
    const std::uint8_t v = in.Byte();
    if ((changes >> i & 1u) != 0) now.*f.Value = f.Min + v % (f.Max - f.Min + 1);
  }
  if (WriteSignalSettings(old, now, dir) != 0) FuzzFailure("the settings could not be written");
  if (ReadSignalSettings(dir) != now) FuzzFailure("the settings written do not read back");

  // A file with a mark keeps its encoding. One without is told apart by its
  // bytes, so a line replaced that held the only bytes that decided (the
  // last character beyond ASCII, or the one sequence that is not UTF-8,
  // after the three bytes of UTF-8's mark, say) leaves the rest to read as
  // UTF-8 or ANSI: every other line keeps its bytes. Never as UTF-16,
  // which would read as other text.
  const TDecodedText after = DecodeTextFile(ReadFuzzFile(kSignalFileName));
  const bool markless =
      before.Encoding == TTextEncoding::Ansi || before.Encoding == TTextEncoding::Utf8;
  if (markless ? after.Encoding == TTextEncoding::Utf16Le : after.Encoding != before.Encoding) {
    FuzzFailure("a write changed the file's encoding");
  }
  const auto bytesOf = [](const std::wstring& value, TTextEncoding e) {
    return EncodeTextFile(value, e == TTextEncoding::Utf8Bom ? TTextEncoding::Utf8 : e);
  };
  for (const wchar_t* s : kProbeSections) {
    for (const wchar_t* k : kProbeKeys) {
      bool changed = false;
      for (std::size_t i = 0; i < std::size(kFields); ++i) {
        changed = changed || (SameName(s, L"Signal") && SameName(k, kProbeKeys[i]) &&
                              now.*kFields[i].Value != old.*kFields[i].Value);
      }
      const std::wstring was = IniValue(before.Text, s, k), is = IniValue(after.Text, s, k);
      if (!changed && is != was &&
          (!markless || bytesOf(is, after.Encoding) != bytesOf(was, before.Encoding))) {
        FuzzFailure("a write changed a value it was not given");
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const unsigned mode = in.Byte() & 7u;
  const std::uint8_t place = in.Byte();
  const auto value = static_cast<std::int16_t>(in.U16());
  std::vector<std::uint8_t> changes = in.Take(6);
  std::vector<std::uint8_t> file = in.Rest();
  if (mode >= 1 && mode <= 4) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < file.size(); i += 2) {
      text.push_back(static_cast<wchar_t>(file[i] | file[i + 1] << 8));
    }
    file = EncodeTextFile(text, kEncodings[mode - 1]);
  }

  const TDecodedText decoded = DecodeTextFile(file);
  CheckCodecs(file, decoded);
  CheckInRange(ParseSignalSettings(decoded.Text));
  CheckSetValue(decoded.Text, kSections[place % std::size(kSections)],
                kKeys[place / std::size(kSections) % std::size(kKeys)], DecimalText(value));

  changes.resize(6);
  TFuzzInput newValues(changes.data(), changes.size());
  CheckWrite(newValues, file);
  return 0;
}
