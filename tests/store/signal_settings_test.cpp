#include "store/signal_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "test_support.h"

namespace {

Bytes Ascii(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Utf16Le(const std::u16string& s, bool bom) {
  Bytes b;
  if (bom) b = {0xFF, 0xFE};
  for (const char16_t c : s) {
    b.push_back(static_cast<std::uint8_t>(c & 0xFF));
    b.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return b;
}

TSignalSettings ReadFile(const TempDir& dir, const Bytes& bytes) {
  WriteBytes(dir.Path(kSignalFileName), bytes);
  return ReadSignalSettings(dir.ProgramDir());
}

TEST(SignalSettings, EveryBadValueTakesItsDefaultAndTheOtherKeyIsKept) {
  struct TCase {
    const char* value;
    int snooze;  // what SnoozeMinutes reads as
    int ring;    // what RingMinutes reads as
  };
  const TCase cases[] = {
      {"1", 1, 1},          {"120", 120, 10},     {"60", 60, 60},      {"0", 10, 0},
      {" 15 ", 15, 15},     {"\t7\t", 7, 7},      {"007", 7, 7},       {"121", 10, 10},
      {"61", 61, 10},       {"-5", 10, 10},       {"+5", 10, 10},      {"", 10, 10},
      {"abc", 10, 10},      {"5 мин", 10, 10},    {"5min", 10, 10},    {"1e1", 10, 10},
      {"0x10", 10, 10},     {"5.5", 10, 10},      {"5,5", 10, 10},     {"\"5\"", 10, 10},
      {"99999999999", 10, 10}, {"2147483648", 10, 10}, {"5 ; note", 10, 10},
  };
  TempDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.value);
    const std::string v = c.value;
    EXPECT_EQ(ReadFile(dir, Ascii("[Signal]\r\nSnoozeMinutes=" + v + "\r\nRingMinutes=3\r\n")),
              (TSignalSettings{c.snooze, 3}));
    EXPECT_EQ(ReadFile(dir, Ascii("[Signal]\r\nSnoozeMinutes=4\r\nRingMinutes=" + v + "\r\n")),
              (TSignalSettings{4, c.ring}));
  }
}

TEST(SignalSettings, TheSoundKeysKeepToTheirRanges) {
  struct TCase {
    const char* value;
    int raise, minVolume, fade;  // what each key reads as
  };
  const TCase cases[] = {
      {"0", 0, 50, 0},      {"1", 1, 50, 1},     {"2", 1, 50, 2},       {"9", 1, 50, 9},
      {"10", 1, 10, 10},    {"100", 1, 100, 100}, {"101", 1, 50, 101},  {"120", 1, 50, 120},
      {"121", 1, 50, 0},    {"-1", 1, 50, 0},    {"", 1, 50, 0},        {"yes", 1, 50, 0},
  };
  TempDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.value);
    const std::string v = c.value;
    const TSignalSettings read = ReadFile(
        dir, Ascii("[Signal]\r\nRaiseVolume=" + v + "\r\nMinVolume=" + v + "\r\nFadeSeconds=" + v));
    EXPECT_EQ(read.RaiseVolume, c.raise);
    EXPECT_EQ(read.MinVolume, c.minVolume);
    EXPECT_EQ(read.FadeSeconds, c.fade);
    EXPECT_EQ(read.SnoozeMinutes, kDefaultSnoozeMinutes);
  }
}

TEST(SignalSettings, FilesThatHoldNoValueGiveTheDefaults) {
  const char* const texts[] = {
      "",
      "garbage without lines",
      "[Other]\r\nSnoozeMinutes=5\r\nRingMinutes=5\r\n",
      "SnoozeMinutes=5\r\nRingMinutes=5\r\n",  // before any section
      "[Signal\r\nSnoozeMinutes=5\r\n",        // a broken header opens nothing
      "[Signal]\r\n;SnoozeMinutes=5\r\n#RingMinutes=5\r\n",
      "[Signal]\r\nSnoozeMinutes\r\nRingMinutes\r\n",
      "[Signal]\r\nSnooze Minutes=5\r\n",
      "[Signal]\r\n[Other]\r\nSnoozeMinutes=5\r\n[Signal]\r\nSnoozeMinutes=5\r\n",
  };
  TempDir dir;
  for (const char* t : texts) {
    SCOPED_TRACE(t);
    EXPECT_EQ(ReadFile(dir, Ascii(t)), TSignalSettings{});
  }
  // No file at all.
  std::filesystem::remove(dir.Path(kSignalFileName));
  EXPECT_EQ(ReadSignalSettings(dir.ProgramDir()), TSignalSettings{});
  // Random bytes, NULs and all, decode as something and read as defaults.
  Bytes noise;
  for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<std::uint8_t>((i * 7919) >> 3));
  EXPECT_EQ(ReadFile(dir, noise), TSignalSettings{});
  // A folder in the file's place.
  std::filesystem::remove(dir.Path(kSignalFileName));
  std::filesystem::create_directory(dir.Path(kSignalFileName));
  EXPECT_EQ(ReadSignalSettings(dir.ProgramDir()), TSignalSettings{});
}

TEST(SignalSettings, HandWrittenFilesInEveryEncodingAndStyleAreRead) {
  const std::u16string utf16 = u"; Будильник\r\n[signal]\r\nsnoozeminutes = 25\r\nRINGMINUTES=0\r\n";
  const std::string cyrillicUtf8 = "; Будильник\n[Signal]\nSnoozeMinutes=25\nRingMinutes=0\n";
  std::string cyrillicAnsi = "; \xC1\xF3\xE4\xE8\xEB\xFC\xED\xE8\xEA\r\n[Signal]\r\n"
                             "SnoozeMinutes=25\r\nRingMinutes=0\r\n";
  const Bytes files[] = {
      Utf16Le(utf16, true),
      Utf16Le(utf16, false),
      Ascii("\xEF\xBB\xBF" + cyrillicUtf8),
      Ascii(cyrillicUtf8),
      Ascii(cyrillicAnsi),
      // Sections and keys repeat: the first of each counts, as Windows reads.
      Ascii("[Signal]\r\nSnoozeMinutes=25\r\nRingMinutes=0\r\nRingMinutes=8\r\n[Other]\r\n"
            "RingMinutes=7\r\n[SIGNAL]\r\nSnoozeMinutes=9\r\n"),
      // Blanks around everything, and a last line without its break.
      Ascii("  [ Signal ]  \r\n\tSnoozeMinutes\t=\t25\r\nRingMinutes=0"),
  };
  TempDir dir;
  int n = 0;
  for (const Bytes& f : files) {
    SCOPED_TRACE(n++);
    EXPECT_EQ(ReadFile(dir, f), (TSignalSettings{25, 0}));
  }
}

TEST(SignalSettings, TheDecoderTellsTheEncodingAndFallsBackToAnsiOnBadUtf8) {
  struct TCase {
    Bytes bytes;
    TTextEncoding encoding;
    std::wstring text;
  };
  const TCase cases[] = {
      {Ascii("abc"), TTextEncoding::Ansi, L"abc"},
      {Ascii("\xD0\xAF"), TTextEncoding::Utf8, L"Я"},
      {Ascii("\xEF\xBB\xBF\xD0\xAF"), TTextEncoding::Utf8Bom, L"Я"},
      {Ascii("\xDF"), TTextEncoding::Ansi, L"Я"},                 // a lone lead byte
      {Ascii("\xC0\xAF"), TTextEncoding::Ansi, L"АЇ"},            // an overlong form
      {Ascii("\xED\xA0\x80"), TTextEncoding::Ansi, L"н\u00A0Ђ"},   // a surrogate
      {Ascii("\xD0"), TTextEncoding::Ansi, L"Р"},                 // cut short
      {{0xFF, 0xFE, 0x2F, 0x04}, TTextEncoding::Utf16Le, L"Я"},
      {{0xFF, 0xFE, 0x2F}, TTextEncoding::Utf16Le, L""},          // an odd byte left over
  };
  for (const TCase& c : cases) {
    const TDecodedText d = DecodeTextFile(c.bytes);
    EXPECT_EQ(d.Encoding, c.encoding);
    EXPECT_EQ(d.Text, c.text);
  }
}

TEST(SignalSettings, AWriteChangesOnlyTheChangedValuesAndKeepsEverythingElse) {
  TempDir dir;
  const auto path = dir.Path(kSignalFileName);
  // No file: nothing is written while nothing changes; a change makes one.
  EXPECT_EQ(WriteSignalSettings({}, {}, dir.ProgramDir()), 0);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(WriteSignalSettings({}, {5, 10}, dir.ProgramDir()), 0);
  EXPECT_EQ(ReadBytes(path), Ascii("[Signal]\r\nSnoozeMinutes=5\r\n"));
  EXPECT_EQ(ReadSignalSettings(dir.ProgramDir()), (TSignalSettings{5, 10}));

  // A hand-made file: its comments, other sections, the other key's bad
  // value and its encoding survive; the new key goes at the end of its
  // section.
  const std::u16string before =
      u"; Мои настройки\r\n[Signal]\r\nSnoozeMinutes=30\r\nRingMinutes=много\r\n\r\n[Sound]\r\nX=1\r\n";
  WriteBytes(path, Utf16Le(before, true));
  ASSERT_EQ(ReadSignalSettings(dir.ProgramDir()), (TSignalSettings{30, 10}));
  EXPECT_EQ(WriteSignalSettings({30, 10}, {45, 10}, dir.ProgramDir()), 0);
  EXPECT_EQ(ReadBytes(path),
            Utf16Le(u"; Мои настройки\r\n[Signal]\r\nSnoozeMinutes=45\r\nRingMinutes=много\r\n\r\n"
                    u"[Sound]\r\nX=1\r\n",
                    true));
  EXPECT_EQ(WriteSignalSettings({45, 10}, {45, 2}, dir.ProgramDir()), 0);
  EXPECT_EQ(ReadSignalSettings(dir.ProgramDir()), (TSignalSettings{45, 2}));

  // A section that is missing is added; ANSI stays ANSI, with its Cyrillic.
  WriteBytes(path, Ascii("[Sound]\nX=\xDF"));
  EXPECT_EQ(WriteSignalSettings({}, {10, 0}, dir.ProgramDir()), 0);
  EXPECT_EQ(ReadBytes(path), Ascii("[Sound]\nX=\xDF\r\n[Signal]\r\nRingMinutes=0\r\n"));
  // A section without a line break at its end gains the key on a new line.
  WriteBytes(path, Ascii("[Signal]\nSnoozeMinutes=3"));
  EXPECT_EQ(WriteSignalSettings({3, 10}, {3, 0}, dir.ProgramDir()), 0);
  EXPECT_EQ(ReadBytes(path), Ascii("[Signal]\nSnoozeMinutes=3\nRingMinutes=0"));
  EXPECT_EQ(ReadSignalSettings(dir.ProgramDir()), (TSignalSettings{3, 0}));
}

// Files without a mark are told apart by their bytes, and a write changes
// them. NUL bytes make ANSI or UTF-8 look like UTF-16 once a line added
// evens out the length; a line replaced can take the one byte that made
// UTF-8 read as ANSI. Whatever the file, the values written are the ones
// read next, and the other lines keep their bytes.
TEST(SignalSettings, AWriteReadsBackWhateverTheBytesOfAFileWithoutAMarkBecome) {
  // UTF-16 LE without its mark that lost its last byte: read as ANSI, with
  // a NUL after each character, so no key is found.
  Bytes truncatedUtf16 = Utf16Le(u"[Signal]\r\nSnoozeMinutes=5\r\n", false);
  truncatedUtf16.pop_back();
  Bytes zerosAfterAnsi = Ascii("[Signal]\r\n");
  zerosAfterAnsi.resize(81, 0);
  const std::string comment = "; \xD0\x9C\xD0\xBE\xD0\xB8\r\n";  // "Мои" in UTF-8
  struct TCase {
    const char* name;
    Bytes file;
    TSignalSettings now;
    Bytes kept;  // the bytes of a line the write must keep
  };
  const TCase cases[] = {
      {"UTF-16 LE without its mark and its last byte", truncatedUtf16, {10, 3}, {}},
      {"ANSI followed by NUL bytes", zerosAfterAnsi, {20, 10}, {}},
      {"UTF-8 with a stray byte on the line replaced",
       Ascii(comment + "[Signal]\r\nSnoozeMinutes=5\xFF\r\n"), {7, 10}, Ascii(comment)},
  };
  TempDir dir;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TSignalSettings old = ReadFile(dir, c.file);
    ASSERT_EQ(WriteSignalSettings(old, c.now, dir.ProgramDir()), 0);
    EXPECT_EQ(ReadSignalSettings(dir.ProgramDir()), c.now);
    const Bytes written = ReadBytes(dir.Path(kSignalFileName));
    EXPECT_NE(std::search(written.begin(), written.end(), c.kept.begin(), c.kept.end()),
              written.end());
  }
}

TEST(SignalSettings, AFileThatCannotBeReadIsNotReplaced) {
  TempDir dir;
  // A folder in the file's place stands for a file that cannot be read.
  std::filesystem::create_directory(dir.Path(kSignalFileName));
  EXPECT_NE(WriteSignalSettings({}, {5, 5}, dir.ProgramDir()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path(kSignalFileName)));
}

}  // namespace
