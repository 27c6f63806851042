#include "store/days_off.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fault_file_system.h"
#include "fakes/memory_file_system.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "store/signal_settings.h"
#include "test_support.h"

namespace {

std::int64_t Day(int y, int m, int d) { return static_cast<std::int64_t>(EncodeDate(y, m, d)); }

TDaysOffRead Parse(const std::wstring& text) { return ParseDaysOff(text); }

TEST(DaysOff, EachLineReadsAsWrittenAndEveryBadLineIsToldWithItsNumber) {
  const struct {
    const char* what;
    std::wstring text;
    TDaysOff days;
    std::vector<TBadDayLine> bad;
  } cases[] = {
      {"one date", L"[DaysOff]\r\n2027-02-23\r\n", {{{Day(2027, 2, 23), Day(2027, 2, 23), L""}}, {}}, {}},
      {"a range with a note, spaces around",
       L"[DaysOff]\r\n  2027-01-01 .. 2027-01-08  =  Новогодние каникулы \r\n",
       {{{Day(2027, 1, 1), Day(2027, 1, 8), L"Новогодние каникулы"}}, {}}, {}},
      {"a note holding = and ;", L"[daysoff]\n2027-03-08=8 = март; праздник\n",
       {{{Day(2027, 3, 8), Day(2027, 3, 8), L"8 = март; праздник"}}, {}}, {}},
      {"overlapping ranges are both kept",
       L"[DaysOff]\n2027-05-01..2027-05-05\n2027-05-03..2027-05-10=x\n",
       {{{Day(2027, 5, 1), Day(2027, 5, 5), L""}, {Day(2027, 5, 3), Day(2027, 5, 10), L"x"}}, {}},
       {}},
      {"a date in both sections is in both",
       L"[DaysOff]\n2027-11-06\n[WorkDays]\n2027-11-06=Fri ; перенос с 4 ноября\n",
       {{{Day(2027, 11, 6), Day(2027, 11, 6), L""}}, {{Day(2027, 11, 6), 5, L"перенос с 4 ноября"}}},
       {}},
      {"weekdays in English and Russian, any case",
       L"[WorkDays]\n2027-01-02=mon\n2027-01-03=SUN\n2027-01-09 = сб\n2027-01-10=Вт;\n",
       {{}, {{Day(2027, 1, 2), 1, L""}, {Day(2027, 1, 3), 7, L""}, {Day(2027, 1, 9), 6, L""},
             {Day(2027, 1, 10), 2, L""}}},
       {}},
      {"comments, blanks and other sections are not entries",
       L"; Выходные\r\n[Signal]\r\n2027-01-01\r\n[DaysOff]\r\n\r\n# 2027-01-02\r\n; x\r\n"
       L"2027-01-03\r\n[Other]\r\nfoo=bar\r\n",
       {{{Day(2027, 1, 3), Day(2027, 1, 3), L""}}, {}}, {}},
      {"a second section of the name adds to the first",
       L"[DaysOff]\n2026-12-31\n[Signal]\nSnoozeMinutes=5\n[ DAYSOFF ]\n2027-01-01\n",
       {{{Day(2026, 12, 31), Day(2026, 12, 31), L""}, {Day(2027, 1, 1), Day(2027, 1, 1), L""}}, {}},
       {}},
      {"leap days", L"[DaysOff]\n2028-02-29\n2027-02-29\n2000-02-29\n1900-02-29\n",
       {{{Day(2028, 2, 29), Day(2028, 2, 29), L""}, {Day(2000, 2, 29), Day(2000, 2, 29), L""}}, {}},
       {{3, L"2027-02-29"}, {5, L"1900-02-29"}}},
      {"bad lines of every kind, with their numbers",
       L"[DaysOff]\r\n2027-02-30\r\n2027-13-01\r\n2027-1-5\r\nзавтра\r\n"
       L"2027-01-08..2027-01-01\r\n2027-01-01..\r\n2027-01-01=ok\r\n[WorkDays]\r\n"
       L"2027-11-06\r\n2027-11-06=Fri day\r\n2027-11-06=Пятница\r\n2027-11-31=Fri\r\n"
       L"  2027-11-06=Fri ; ok  \r\n",
       {{{Day(2027, 1, 1), Day(2027, 1, 1), L"ok"}}, {{Day(2027, 11, 6), 5, L"ok"}}},
       {{2, L"2027-02-30"}, {3, L"2027-13-01"}, {4, L"2027-1-5"}, {5, L"завтра"},
        {6, L"2027-01-08..2027-01-01"}, {7, L"2027-01-01.."}, {10, L"2027-11-06"},
        {11, L"2027-11-06=Fri day"}, {12, L"2027-11-06=Пятница"}, {13, L"2027-11-31=Fri"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TDaysOffRead r = Parse(c.text);
    EXPECT_EQ(r.Days, c.days);
    EXPECT_EQ(r.BadLines, c.bad);
  }
}

TEST(DaysOff, LinesAreWrittenAsTheyAreRead) {
  const struct {
    TDayOffRange off;
    const wchar_t* line;
  } offs[] = {
      {{Day(2027, 2, 23), Day(2027, 2, 23), L""}, L"2027-02-23"},
      {{Day(2027, 1, 1), Day(2027, 1, 8), L"Новый год"}, L"2027-01-01..2027-01-08 = Новый год"},
      {{Day(999, 1, 2), Day(9999, 12, 31), L""}, L"0999-01-02..9999-12-31"},
  };
  for (const auto& c : offs) {
    EXPECT_EQ(DayOffLine(c.off), c.line);
    EXPECT_EQ(Parse(std::wstring(L"[DaysOff]\n") + c.line).Days.Off.at(0), c.off);
  }
  const struct {
    TWorkDay work;
    const wchar_t* line;
  } works[] = {
      {{Day(2027, 11, 6), 5, L"перенос"}, L"2027-11-06=Fri ; перенос"},
      {{Day(2027, 12, 31), 1, L""}, L"2027-12-31=Mon"},
      {{Day(2027, 12, 31), 7, L""}, L"2027-12-31=Sun"},
  };
  for (const auto& c : works) {
    EXPECT_EQ(WorkDayLine(c.work), c.line);
    EXPECT_EQ(Parse(std::wstring(L"[WorkDays]\n") + c.line).Days.Work.at(0), c.work);
  }
}

const TDayOffRange kMay{Day(2027, 5, 1), Day(2027, 5, 3), L"Май"};
const TWorkDay kSaturday{Day(2027, 11, 6), 5, L""};

TEST(DaysOff, AddingAndRemovingChangesOnlyThatLine) {
  const struct {
    const char* what;
    std::wstring before;
    std::function<std::wstring(const std::wstring&)> edit;
    std::wstring after;
  } cases[] = {
      {"added at the end of its section, before a blank line",
       L"[DaysOff]\r\n2027-01-01\r\n\r\n[WorkDays]\r\n2027-01-09=Sat\r\n",
       [](const std::wstring& t) { return AddDayOffLine(t, kMay); },
       L"[DaysOff]\r\n2027-01-01\r\n2027-05-01..2027-05-03 = Май\r\n\r\n[WorkDays]\r\n"
       L"2027-01-09=Sat\r\n"},
      {"a bad line and comments stay",
       L"[WorkDays]\n2027-02-30=Fri\n; note\n[Signal]\nSnoozeMinutes=5",
       [](const std::wstring& t) { return AddWorkDayLine(t, kSaturday); },
       L"[WorkDays]\n2027-02-30=Fri\n; note\n2027-11-06=Fri\n[Signal]\nSnoozeMinutes=5"},
      {"into the last section of the name",
       L"[DaysOff]\n2026-12-31\n[Signal]\n[DaysOff]\n2027-01-01\n",
       [](const std::wstring& t) { return AddDayOffLine(t, kMay); },
       L"[DaysOff]\n2026-12-31\n[Signal]\n[DaysOff]\n2027-01-01\n2027-05-01..2027-05-03 = Май\n"},
      {"a missing section at the end of the file",
       L"[Signal]\r\nSnoozeMinutes=5",
       [](const std::wstring& t) { return AddWorkDayLine(t, kSaturday); },
       L"[Signal]\r\nSnoozeMinutes=5\r\n[WorkDays]\r\n2027-11-06=Fri\r\n"},
      {"into an empty file", L"", [](const std::wstring& t) { return AddDayOffLine(t, kMay); },
       L"[DaysOff]\r\n2027-05-01..2027-05-03 = Май\r\n"},
      {"the first line reading as the entry is removed, written in any way",
       L"[DaysOff]\r\n2027-01-01\r\n 2027-05-01 .. 2027-05-03=Май\r\n2027-05-01..2027-05-03 = Май\r\n",
       [](const std::wstring& t) { return RemoveDayOffLine(t, kMay); },
       L"[DaysOff]\r\n2027-01-01\r\n2027-05-01..2027-05-03 = Май\r\n"},
      {"the last line, with no break after it", L"[WorkDays]\n2027-01-09=Sat\n2027-11-06=пт",
       [](const std::wstring& t) { return RemoveWorkDayLine(t, kSaturday); },
       L"[WorkDays]\n2027-01-09=Sat"},
      {"a last line ending the file with a lone \\r keeps it",
       L"[WorkDays]\r\n2027-01-09=Sat\r\n2027-11-06=Fri\r",
       [](const std::wstring& t) { return RemoveWorkDayLine(t, kSaturday); },
       L"[WorkDays]\r\n2027-01-09=Sat\r"},
      {"only from its own section",
       L"[Other]\n2027-11-06=Fri\n[WorkDays]\n2027-11-06=Fri\n",
       [](const std::wstring& t) { return RemoveWorkDayLine(t, kSaturday); },
       L"[Other]\n2027-11-06=Fri\n[WorkDays]\n"},
      {"another note is another entry", L"[DaysOff]\n2027-05-01..2027-05-03 = май\n",
       [](const std::wstring& t) { return RemoveDayOffLine(t, kMay); },
       L"[DaysOff]\n2027-05-01..2027-05-03 = май\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.edit(c.before), c.after);
  }
}

Bytes Utf16(const std::wstring& s) {
  Bytes b = {0xFF, 0xFE};
  for (const wchar_t c : s) {
    b.push_back(static_cast<std::uint8_t>(c & 0xFF));
    b.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
  }
  return b;
}

Bytes Raw(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(DaysOff, TheFileKeepsItsEncodingAndEveryOtherByte) {
  // "; Праздники" and a note in each encoding, with a bad line.
  const struct {
    const char* what;
    Bytes before;
    Bytes after;  // once kMay is added and 2027-01-01 removed
  } cases[] = {
      {"ANSI", Raw("; \xCF\xF0\xE0\xE7\xE4\xED\xE8\xEA\xE8\r\n[DaysOff]\r\n2027-01-01\r\nbad\r\n"),
       Raw("; \xCF\xF0\xE0\xE7\xE4\xED\xE8\xEA\xE8\r\n[DaysOff]\r\nbad\r\n"
           "2027-05-01..2027-05-03 = \xCC\xE0\xE9\r\n")},
      {"UTF-8", Raw("; \xD0\x9F\xD1\x80\xD0\xB0\xD0\xB7\r\n[DaysOff]\r\n2027-01-01\r\nbad\r\n"),
       Raw("; \xD0\x9F\xD1\x80\xD0\xB0\xD0\xB7\r\n[DaysOff]\r\nbad\r\n"
           "2027-05-01..2027-05-03 = \xD0\x9C\xD0\xB0\xD0\xB9\r\n")},
      {"UTF-8 with its mark", Raw("\xEF\xBB\xBF[DaysOff]\n2027-01-01\nbad"),
       Raw("\xEF\xBB\xBF[DaysOff]\nbad\n2027-05-01..2027-05-03 = \xD0\x9C\xD0\xB0\xD0\xB9")},
      {"UTF-16", Utf16(L"; Праздники\r\n[DaysOff]\r\n2027-01-01\r\nbad\r\n"),
       Utf16(L"; Праздники\r\n[DaysOff]\r\nbad\r\n2027-05-01..2027-05-03 = Май\r\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TMemoryFileSystem disk;
    const std::wstring path = std::wstring(L"dir/") + kSignalFileName;
    disk.Files[path] = c.before;
    const TDaysOffRead before = ReadDaysOff(L"dir/", disk);
    ASSERT_EQ(before.BadLines.size(), 1u);
    EXPECT_EQ(before.BadLines[0].Text, L"bad");
    ASSERT_EQ(AddDayOff(kMay, L"dir/", disk), 0);
    ASSERT_EQ(RemoveDayOff({Day(2027, 1, 1), Day(2027, 1, 1), L""}, L"dir/", disk), 0);
    EXPECT_EQ(disk.Files[path], c.after);
    EXPECT_EQ(ReadDaysOff(L"dir/", disk).Days.Off, std::vector<TDayOffRange>{kMay});
  }
}

TEST(DaysOff, AFailedWriteLeavesTheFileAndAnUnreadableOneIsNotReplaced) {
  const Bytes ini = Raw("[Signal]\r\nSnoozeMinutes=5\r\n[DaysOff]\r\n2027-01-01\r\n");
  for (const auto fault : {TMemoryFileSystem::TFault::DiskFull, TMemoryFileSystem::TFault::Locked}) {
    TMemoryFileSystem disk;
    disk.Files[L"d/Tivorra.ini"] = ini;
    disk.FailNext(fault, 100);
    EXPECT_NE(AddWorkDay(kSaturday, L"d/", disk), 0);
    EXPECT_EQ(disk.Files.size(), 1u) << "a temporary file was left";
    EXPECT_EQ(disk.Files[L"d/Tivorra.ini"], ini);
  }
  const struct {
    const char* what;
    int error;
    bool opens;
  } unreadable[] = {{"access denied", kErrAccessDenied, false}, {"a bad sector", 23, true}};
  for (const auto& c : unreadable) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    WriteBytes(dir.Path(kSignalFileName), ini);
    for (int k = 0; k < 2; ++k) {
      TFaultFileSystem disk;
      disk.FailAt = 1;
      disk.Error = c.error;
      disk.ReadOpens = c.opens;
      const int error = k == 0 ? AddDayOff(kMay, dir.ProgramDir(), disk)
                               : RemoveDayOff({Day(2027, 1, 1), Day(2027, 1, 1), L""},
                                              dir.ProgramDir(), disk);
      EXPECT_EQ(error, c.error);
      EXPECT_EQ(disk.Calls, std::vector<std::string>{"Read"}) << "something was written";
    }
    TFaultFileSystem disk;
    disk.FailAt = 1;
    disk.Error = c.error;
    disk.ReadOpens = c.opens;
    const TDaysOffRead read = ReadDaysOff(dir.ProgramDir(), disk);
    EXPECT_EQ(read.Error, c.error);
    EXPECT_EQ(read.Days, TDaysOff{});
    EXPECT_EQ(ReadBytes(dir.Path(kSignalFileName)), ini);
  }
  // No file: nothing to tell, and the first entry makes one.
  TMemoryFileSystem empty;
  EXPECT_EQ(ReadDaysOff(L"d/", empty).Error, 0);
  EXPECT_EQ(RemoveDayOff(kMay, L"d/", empty), 0);
  EXPECT_TRUE(empty.Files.empty()) << "removing nothing wrote a file";
  EXPECT_EQ(AddDayOff(kMay, L"d/", empty), 0);
  EXPECT_EQ(empty.Files[L"d/Tivorra.ini"], Raw("[DaysOff]\r\n2027-05-01..2027-05-03 = \xCC\xE0\xE9\r\n"));
}

}  // namespace
