#include "store/days_off.h"

#include <functional>
#include <optional>

#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/file_system.h"
#include "store/signal_settings.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == 0xFEFF; }

// Lower case for the Latin and the Russian letters the weekdays are spelt in.
wchar_t Lower(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
  if (c >= 0x0410 && c <= 0x042F) return static_cast<wchar_t>(c + 0x20);
  return c;
}

bool SameName(const std::wstring& a, const wchar_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return i == a.size() && !b[i];
}

std::wstring Trim(const std::wstring& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// One line of the text: where it starts and ends (its break excluded, a
// "\r" before it included) and its trimmed characters.
struct TLine {
  std::size_t Begin = 0, End = 0, Next = 0;  // Next: the start of the line after
  std::wstring Trimmed;
};

std::vector<TLine> Lines(const std::wstring& t) {
  std::vector<TLine> lines;
  for (std::size_t lb = 0; lb < t.size();) {
    std::size_t le = t.find(L'\n', lb);
    const std::size_t next = le == std::wstring::npos ? t.size() : le + 1;
    if (le == std::wstring::npos) le = t.size();
    lines.push_back({lb, le, next, Trim(t.substr(lb, le - lb))});
    lb = next;
  }
  return lines;
}

// The name of a section header, or nothing when the line is none.
std::optional<std::wstring> SectionName(const std::wstring& line) {
  if (line.empty() || line[0] != L'[') return std::nullopt;
  const std::size_t close = line.find(L']');
  if (close == std::wstring::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

bool IsComment(const std::wstring& line) {
  return line.empty() || line[0] == L';' || line[0] == L'#';
}

bool Digits(const std::wstring& s, std::size_t at, std::size_t n, int& value) {
  value = 0;
  for (std::size_t i = at; i < at + n; ++i) {
    if (i >= s.size() || s[i] < L'0' || s[i] > L'9') return false;
    value = value * 10 + (s[i] - L'0');
  }
  return true;
}

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// "YYYY-MM-DD", a date that exists, as a day number.
std::optional<std::int64_t> ParseDate(const std::wstring& s) {
  int y = 0, m = 0, d = 0;
  if (s.size() != 10 || s[4] != L'-' || s[7] != L'-' || !Digits(s, 0, 4, y) ||
      !Digits(s, 5, 2, m) || !Digits(s, 8, 2, d)) {
    return std::nullopt;
  }
  if (y < 1 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return std::nullopt;
  return static_cast<std::int64_t>(EncodeDate(y, m, d));
}

constexpr const wchar_t* kWeekdays[] = {L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"};
constexpr const wchar_t* kRussianWeekdays[] = {L"Пн", L"Вт", L"Ср", L"Чт", L"Пт", L"Сб", L"Вс"};

std::optional<int> ParseWeekday(const std::wstring& s) {
  for (int i = 0; i < 7; ++i) {
    if (SameName(s, kWeekdays[i]) || SameName(s, kRussianWeekdays[i])) return i + 1;
  }
  return std::nullopt;
}

std::optional<TDayOffRange> ParseDayOff(const std::wstring& line) {
  const std::size_t eq = line.find(L'=');
  const std::wstring days = Trim(line.substr(0, eq));
  TDayOffRange r;
  if (eq != std::wstring::npos) r.Note = Trim(line.substr(eq + 1));
  const std::size_t dots = days.find(L"..");
  const std::optional<std::int64_t> first = ParseDate(Trim(days.substr(0, dots)));
  const std::optional<std::int64_t> last =
      dots == std::wstring::npos ? first : ParseDate(Trim(days.substr(dots + 2)));
  if (!first || !last || *last < *first) return std::nullopt;
  r.FirstDay = *first;
  r.LastDay = *last;
  return r;
}

std::optional<TWorkDay> ParseWorkDay(const std::wstring& line) {
  const std::size_t eq = line.find(L'=');
  if (eq == std::wstring::npos) return std::nullopt;
  const std::optional<std::int64_t> day = ParseDate(Trim(line.substr(0, eq)));
  const std::size_t semi = line.find(L';', eq);
  const std::optional<int> weekday = ParseWeekday(Trim(line.substr(eq + 1, semi - eq - 1)));
  if (!day || !weekday) return std::nullopt;
  TWorkDay w{*day, *weekday, {}};
  if (semi != std::wstring::npos) w.Note = Trim(line.substr(semi + 1));
  return w;
}

enum class TSection { Other, DaysOff, WorkDays };

TSection SectionOf(const std::wstring& name) {
  if (SameName(name, kDaysOffSection)) return TSection::DaysOff;
  if (SameName(name, kWorkDaysSection)) return TSection::WorkDays;
  return TSection::Other;
}

// Every line with the section it lies in.
template <class F>
void ForEachEntryLine(const std::vector<TLine>& lines, F f) {
  TSection in = TSection::Other;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(lines[i].Trimmed)) {
      in = SectionOf(*name);
    } else if (in != TSection::Other && !IsComment(lines[i].Trimmed)) {
      if (!f(i, in)) return;
    }
  }
}

std::wstring AddLine(const std::wstring& text, const wchar_t* section, const std::wstring& entry) {
  const std::vector<TLine> lines = Lines(text);
  const TSection wanted = SectionOf(section);
  // After the last non-blank line of the last section of that name.
  std::optional<std::size_t> after;
  TSection in = TSection::Other;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (const auto name = SectionName(lines[i].Trimmed)) {
      in = SectionOf(*name);
      if (in == wanted) after = i;
    } else if (in == wanted && !lines[i].Trimmed.empty()) {
      after = i;
    }
  }
  return InsertIniLine(text, after ? std::optional<std::size_t>(lines[*after].End) : std::nullopt,
                       section, entry);
}

template <class T>
std::wstring RemoveLine(const std::wstring& text, TSection section, const T& entry,
                        std::optional<T> (*parse)(const std::wstring&)) {
  const std::vector<TLine> lines = Lines(text);
  std::optional<std::size_t> found;
  ForEachEntryLine(lines, [&](std::size_t i, TSection in) {
    if (in != section || parse(lines[i].Trimmed) != entry) return true;
    found = i;
    return false;
  });
  if (!found) return text;
  std::wstring out = text;
  const TLine& l = lines[*found];
  std::size_t from = l.Begin, to = l.Next;
  // The file's last line, with no break of its own, goes with the break
  // before it: the line before becomes the last, as it was before an add
  // (which wrote that break, and a "\r" ending the file after the line).
  if (l.Next == l.End && from > 0) {
    --from;
    if (from > 0 && text[from - 1] == L'\r') --from;
    if (to > l.Begin && text[to - 1] == L'\r') --to;
  }
  return out.erase(from, to - from);
}

}  // namespace

TDaysOffRead ParseDaysOff(const std::wstring& text) {
  TDaysOffRead read;
  const std::vector<TLine> lines = Lines(text);
  ForEachEntryLine(lines, [&](std::size_t i, TSection in) {
    const std::wstring& line = lines[i].Trimmed;
    bool good = false;
    if (in == TSection::DaysOff) {
      if (const auto r = ParseDayOff(line)) {
        read.Days.Off.push_back(*r);
        good = true;
      }
    } else if (const auto w = ParseWorkDay(line)) {
      read.Days.Work.push_back(*w);
      good = true;
    }
    if (!good) read.BadLines.push_back({static_cast<int>(i) + 1, line});
    return true;
  });
  return read;
}

TDaysOffRead ReadDaysOff(const std::wstring& programDir, fileio::TFileSystem& fs) {
  // A settings file is a few lines; a huge one is not this program's.
  constexpr std::size_t kMaxBytes = 1 << 20;
  const fileio::ReadResult r = fs.Read(programDir + kSignalFileName, kMaxBytes);
  if (!r.opened || r.readFailed) {
    TDaysOffRead none;
    if (r.opened || (r.error != kErrFileNotFound && r.error != kErrPathNotFound)) {
      none.Error = r.error != 0 ? r.error : kErrAccessDenied;
    }
    return none;
  }
  return ParseDaysOff(DecodeTextFile(r.data).Text);
}

std::wstring IsoDate(std::int64_t day) {
  const std::optional<TCalendarDate> d = DateOfDay(day);
  if (!d) return L"?";
  wchar_t buf[16];
  const int parts[] = {d->Year, d->Month, d->Day};
  const int widths[] = {4, 2, 2};
  std::wstring out;
  for (int k = 0; k < 3; ++k) {
    if (k) out += L'-';
    int v = parts[k];
    for (int i = widths[k] - 1; i >= 0; --i, v /= 10) buf[i] = static_cast<wchar_t>(L'0' + v % 10);
    out.append(buf, static_cast<std::size_t>(widths[k]));
  }
  return out;
}

std::wstring DayOffLine(const TDayOffRange& range) {
  std::wstring line = IsoDate(range.FirstDay);
  if (range.LastDay != range.FirstDay) line += L".." + IsoDate(range.LastDay);
  if (!range.Note.empty()) line += L" = " + range.Note;
  return line;
}

std::wstring WorkDayLine(const TWorkDay& day) {
  std::wstring line = IsoDate(day.Day) + L'=';
  line += day.Weekday >= 1 && day.Weekday <= 7 ? kWeekdays[day.Weekday - 1] : L"?";
  if (!day.Note.empty()) line += L" ; " + day.Note;
  return line;
}

std::wstring AddDayOffLine(const std::wstring& text, const TDayOffRange& range) {
  return AddLine(text, kDaysOffSection, DayOffLine(range));
}

std::wstring AddWorkDayLine(const std::wstring& text, const TWorkDay& day) {
  return AddLine(text, kWorkDaysSection, WorkDayLine(day));
}

std::wstring RemoveDayOffLine(const std::wstring& text, const TDayOffRange& range) {
  return RemoveLine(text, TSection::DaysOff, range, &ParseDayOff);
}

std::wstring RemoveWorkDayLine(const std::wstring& text, const TWorkDay& day) {
  return RemoveLine(text, TSection::WorkDays, day, &ParseWorkDay);
}

int AddDayOff(const TDayOffRange& range, const std::wstring& programDir, fileio::TFileSystem& fs) {
  return EditIniFile(programDir, fs, [&](const std::wstring& t) { return AddDayOffLine(t, range); });
}

int RemoveDayOff(const TDayOffRange& range, const std::wstring& programDir,
                 fileio::TFileSystem& fs) {
  return EditIniFile(programDir, fs,
                  [&](const std::wstring& t) { return RemoveDayOffLine(t, range); });
}

int AddWorkDay(const TWorkDay& day, const std::wstring& programDir, fileio::TFileSystem& fs) {
  return EditIniFile(programDir, fs, [&](const std::wstring& t) { return AddWorkDayLine(t, day); });
}

int RemoveWorkDay(const TWorkDay& day, const std::wstring& programDir, fileio::TFileSystem& fs) {
  return EditIniFile(programDir, fs, [&](const std::wstring& t) { return RemoveWorkDayLine(t, day); });
}
