// Tivorra.ini: the program's own settings beyond config.cfg, in the INI form
// Windows programs use. People edit it by hand, in any editor, so it is read
// leniently: any of the usual encodings, and a value that is missing, not a
// number or out of range simply takes its default.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fileio {
class TFileSystem;
}

inline constexpr wchar_t kSignalFileName[] = L"Tivorra.ini";

inline constexpr int kMinSnoozeMinutes = 1;
inline constexpr int kMaxSnoozeMinutes = 120;
inline constexpr int kDefaultSnoozeMinutes = 10;
inline constexpr int kMinRingMinutes = 0;  // 0: rings until answered
inline constexpr int kMaxRingMinutes = 60;
inline constexpr int kDefaultRingMinutes = 10;
inline constexpr int kMinMinVolume = 10;  // percent of the output's level
inline constexpr int kMaxMinVolume = 100;
inline constexpr int kDefaultMinVolume = 50;
inline constexpr int kMaxFadeSeconds = 120;  // 0: full volume at once

// Section [Signal].
struct TSignalSettings {
  int SnoozeMinutes = kDefaultSnoozeMinutes;
  int RingMinutes = kDefaultRingMinutes;
  // While an alarm rings, a muted output is unmuted and one quieter than
  // MinVolume % raised to it (RaiseVolume 1).
  int RaiseVolume = 1;
  int MinVolume = kDefaultMinVolume;
  // The music rises from quiet to full over this many seconds.
  int FadeSeconds = 0;
  bool operator==(const TSignalSettings&) const = default;
};

enum class TTextEncoding { Ansi, Utf8, Utf8Bom, Utf16Le };

struct TDecodedText {
  std::wstring Text;
  TTextEncoding Encoding = TTextEncoding::Ansi;
};

// A text file's characters: UTF-16 LE (with its byte order mark, or plainly
// so), UTF-8 with or without its mark, and otherwise the Windows-1251 code
// page that Russian systems write ANSI files in.
TDecodedText DecodeTextFile(const std::vector<unsigned char>& bytes);
std::vector<unsigned char> EncodeTextFile(const std::wstring& text, TTextEncoding encoding);

// The value of `key` in `section` (both matched without regard to case),
// trimmed; the first one counts, as with Windows' own reader. Empty when
// there is none.
std::wstring IniValue(const std::wstring& text, const std::wstring& section,
                      const std::wstring& key);
// The text with `key` in `section` set to `value`; every other line stays as
// it was. A missing key is added at the end of its section, a missing
// section at the end of the text.
std::wstring SetIniValue(const std::wstring& text, const std::wstring& section,
                         const std::wstring& key, const std::wstring& value);

// The text with `entry` as a line of its own: after the line that ends at
// `lineEnd` (the end of its text, before any break), with that line's own
// kind of break; with no such line, in a new `[section]` at the end.
std::wstring InsertIniLine(const std::wstring& text, std::optional<std::size_t> lineEnd,
                           const std::wstring& section, const std::wstring& entry);

// Reads programDir's Tivorra.ini, changes its text with `edit` and replaces
// it atomically, in the file's own encoding (one whose new bytes without a
// mark would read as UTF-16 gets UTF-8's mark). Nothing is written when the
// text is unchanged; a file that exists but cannot be read is left alone.
// Returns 0 or the error number.
int EditIniFile(const std::wstring& programDir, fileio::TFileSystem& fs,
                const std::function<std::wstring(const std::wstring&)>& edit);

// The settings a file's text holds.
TSignalSettings ParseSignalSettings(const std::wstring& text);

// The settings in programDir's Tivorra.ini; the defaults for whatever cannot
// be read. Never fails.
TSignalSettings ReadSignalSettings(const std::wstring& programDir);
// The same over the given file system calls.
TSignalSettings ReadSignalSettings(const std::wstring& programDir, fileio::TFileSystem& fs);

// Writes the values that differ from `old` into Tivorra.ini, keeping the
// file's other lines, values and encoding, and replacing it atomically. A
// file whose bytes in its own encoding would look like UTF-16 (NUL bytes in
// ANSI or UTF-8 without a mark) is written in UTF-8 with its mark.
// Nothing is written when nothing differs. Returns 0 or the error number; a
// file that exists but cannot be read is not replaced (its lines would be
// lost).
int WriteSignalSettings(const TSignalSettings& old, const TSignalSettings& now,
                        const std::wstring& programDir);
// The same over the given file system calls.
int WriteSignalSettings(const TSignalSettings& old, const TSignalSettings& now,
                        const std::wstring& programDir, fileio::TFileSystem& fs);
