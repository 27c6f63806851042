// Days off and working days, sections [DaysOff] and [WorkDays] of
// Tivorra.ini. The user keeps the list (a year's official calendar can be
// pasted in): on a day off the daily and weekday alarms stay silent, and on
// a working day the weekday alarms ring as on the weekday it is named for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Days are counted from 30 December 1899, as platform/date_time.h does.
struct TDayOffRange {
  std::int64_t FirstDay = 0;
  std::int64_t LastDay = 0;  // inclusive; equal to FirstDay for one date
  std::wstring Note;
  bool operator==(const TDayOffRange&) const = default;
};

struct TWorkDay {
  std::int64_t Day = 0;
  int Weekday = 1;  // rings as on this weekday: 1 = Monday ... 7 = Sunday
  std::wstring Note;
  bool operator==(const TWorkDay&) const = default;
};

struct TDaysOff {
  std::vector<TDayOffRange> Off;
  std::vector<TWorkDay> Work;
  bool operator==(const TDaysOff&) const = default;
};

namespace fileio {
class TFileSystem;
}

// In Tivorra.ini, section [DaysOff], one line each:
//   2027-01-01..2027-01-08 = Новогодние каникулы
//   2027-02-23
// a date or an inclusive range of dates, and after "=" an optional note.
// Section [WorkDays], one line each:
//   2027-11-06=Fri ; перенос с 4 ноября
// the date, "=", the weekday it works as (Mon Tue Wed Thu Fri Sat Sun, or
// Пн Вт Ср Чт Пт Сб Вс, in any case), and after ";" an optional note.
// Blank lines and lines starting with ";" or "#" are comments. Every
// section of either name counts, so a year's block pasted with its own
// header adds to the one there.
inline constexpr wchar_t kDaysOffSection[] = L"DaysOff";
inline constexpr wchar_t kWorkDaysSection[] = L"WorkDays";

// A line of either section that says nothing the program understands (not
// a date, a date that does not exist, a range that ends before it starts,
// an unknown weekday). It stays in the file untouched and has no effect.
struct TBadDayLine {
  int Number = 0;     // 1-based, as an editor counts the lines
  std::wstring Text;  // trimmed
  bool operator==(const TBadDayLine&) const = default;
};

struct TDaysOffRead {
  TDaysOff Days;
  std::vector<TBadDayLine> BadLines;
  // 0, or why a file that is there could not be read (no file is no error).
  int Error = 0;
};

// The days a file's text holds, in the order of their lines. Overlapping
// ranges, and a date both off and working, are kept as written: what they
// mean for an alarm is the ring session's rule.
TDaysOffRead ParseDaysOff(const std::wstring& text);
// The days of programDir's Tivorra.ini; none when there is no file.
TDaysOffRead ReadDaysOff(const std::wstring& programDir, fileio::TFileSystem& fs);

// "2027-01-01", "2027-01-01..2027-01-08", and with " = note".
std::wstring DayOffLine(const TDayOffRange& range);
// "2027-11-06=Fri", and with " ; note".
std::wstring WorkDayLine(const TWorkDay& day);
// "2027-01-01" for a day number, as the file writes dates.
std::wstring IsoDate(std::int64_t day);

// The text with the entry's line added at the end of its section (the last
// one of that name), or with the section added at the end of the text;
// every other line stays as it was.
std::wstring AddDayOffLine(const std::wstring& text, const TDayOffRange& range);
std::wstring AddWorkDayLine(const std::wstring& text, const TWorkDay& day);
// The text without the first line of the entry's section that reads as
// this entry (note included), or unchanged when there is none.
std::wstring RemoveDayOffLine(const std::wstring& text, const TDayOffRange& range);
std::wstring RemoveWorkDayLine(const std::wstring& text, const TWorkDay& day);

// The same changes to programDir's Tivorra.ini: only that line changes, the
// file keeps its encoding and every other line (bad ones included) and is
// replaced atomically. Returns 0 or the error number; a file that exists
// but cannot be read is not replaced. Removing an entry the file does not
// hold writes nothing.
int AddDayOff(const TDayOffRange& range, const std::wstring& programDir, fileio::TFileSystem& fs);
int RemoveDayOff(const TDayOffRange& range, const std::wstring& programDir,
                 fileio::TFileSystem& fs);
int AddWorkDay(const TWorkDay& day, const std::wstring& programDir, fileio::TFileSystem& fs);
int RemoveWorkDay(const TWorkDay& day, const std::wstring& programDir, fileio::TFileSystem& fs);
