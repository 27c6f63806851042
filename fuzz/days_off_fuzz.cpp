// The days off and working days of a Tivorra.ini of any content and
// encoding:
//   - every entry read is sane (a range in order, a weekday 1-7) and the
//     bad lines come with rising numbers within the file;
//   - each entry's own line reads back as that entry;
//   - an entry added reads back after the others and changes no other
//     entry or bad line; removing it again gives the text it was added to;
//   - through the file, an entry added and removed leaves the very bytes
//     (but for a file whose encoding the added line tipped, which the
//     writer marks, and UTF-16 without its mark, which gains it).
//
// The input:
//   byte 0       bit 0: the entry is a working day, else a day off
//   bytes 1-2    its first day (an offset from 1 January 2027)
//   byte 3       the length of a range, or the weekday (modulo 7)
//   byte 4       its note (one of a few, Cyrillic among them)
//   the rest     the file, as it is
#include <algorithm>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "store/days_off.h"
#include "store/signal_settings.h"

namespace {

const wchar_t* const kNotes[] = {L"", L"Новый год", L"a = b ; c", L"x"};

template <class T>
std::vector<T> Sorted(std::vector<T> v) {
  std::sort(v.begin(), v.end(), [](const T& a, const T& b) {
    return std::tie(a.Note, a.FirstDay, a.LastDay) < std::tie(b.Note, b.FirstDay, b.LastDay);
  });
  return v;
}
template <>
std::vector<TWorkDay> Sorted(std::vector<TWorkDay> v) {
  std::sort(v.begin(), v.end(), [](const TWorkDay& a, const TWorkDay& b) {
    return std::tie(a.Note, a.Day, a.Weekday) < std::tie(b.Note, b.Day, b.Weekday);
  });
  return v;
}

std::vector<std::wstring> BadTexts(const TDaysOffRead& r) {
  std::vector<std::wstring> out;
  for (const TBadDayLine& b : r.BadLines) out.push_back(b.Text);
  return out;
}

void CheckRead(const std::wstring& text, const TDaysOffRead& r) {
  const auto lines = static_cast<int>(std::count(text.begin(), text.end(), L'\n')) + 1;
  int last = 0;
  for (const TBadDayLine& b : r.BadLines) {
    if (b.Number <= last || b.Number > lines) FuzzFailure("a bad line's number is off");
    last = b.Number;
  }
  for (const TDayOffRange& o : r.Days.Off) {
    if (o.LastDay < o.FirstDay) FuzzFailure("a range read ends before it starts");
    const TDaysOffRead back = ParseDaysOff(L"[DaysOff]\n" + DayOffLine(o));
    if (back.Days.Off != std::vector<TDayOffRange>{o}) FuzzFailure("a day off's line reads otherwise");
  }
  for (const TWorkDay& w : r.Days.Work) {
    if (w.Weekday < 1 || w.Weekday > 7) FuzzFailure("a weekday read is out of range");
    const TDaysOffRead back = ParseDaysOff(L"[WorkDays]\n" + WorkDayLine(w));
    if (back.Days.Work != std::vector<TWorkDay>{w}) FuzzFailure("a working day's line reads otherwise");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const bool work = (in.Byte() & 1u) != 0;
  const std::int64_t first = static_cast<std::int64_t>(EncodeDate(2027, 1, 1)) + in.U16();
  const std::uint8_t third = in.Byte();
  const std::wstring note = kNotes[in.Byte() % std::size(kNotes)];
  const std::vector<std::uint8_t> file = in.Rest();

  const TDecodedText decoded = DecodeTextFile(file);
  const TDaysOffRead before = ParseDaysOff(decoded.Text);
  CheckRead(decoded.Text, before);

  const TDayOffRange off{first, first + third, note};
  const TWorkDay day{first, third % 7 + 1, note};
  const std::wstring added =
      work ? AddWorkDayLine(decoded.Text, day) : AddDayOffLine(decoded.Text, off);
  const TDaysOffRead after = ParseDaysOff(added);
  CheckRead(added, after);
  TDaysOff want = before.Days;
  if (work) {
    want.Work.push_back(day);
  } else {
    want.Off.push_back(off);
  }
  if (after.Days != want) FuzzFailure("an entry added does not read back after the others");
  if (BadTexts(after) != BadTexts(before)) FuzzFailure("adding an entry changed the bad lines");

  const std::wstring removed =
      work ? RemoveWorkDayLine(added, day) : RemoveDayOffLine(added, off);
  const TDaysOffRead again = ParseDaysOff(removed);
  // The first line of the entry goes, which may be an equal one written
  // earlier: the same entries, perhaps in another order.
  if (Sorted(again.Days.Off) != Sorted(before.Days.Off) ||
      Sorted(again.Days.Work) != Sorted(before.Days.Work)) {
    FuzzFailure("removing the entry added does not give the entries before");
  }
  // Added into a section that was there (not with a section of its own,
  // which stays when the entry goes).
  const std::size_t line = (work ? WorkDayLine(day) : DayOffLine(off)).size();
  const std::size_t grown = added.size() - decoded.Text.size();
  const bool intoSection = grown == line + 1 || grown == line + 2;
  const bool heldIt =
      work ? std::find(before.Days.Work.begin(), before.Days.Work.end(), day) != before.Days.Work.end()
           : std::find(before.Days.Off.begin(), before.Days.Off.end(), off) != before.Days.Off.end();
  // The text comes back exactly when the line went where it was added.
  const bool exact = intoSection && !heldIt;
  if (exact && removed != decoded.Text) FuzzFailure("adding and removing changed the text");

  // Through the file.
  const std::wstring& dir = FuzzProgramDir();
  WriteFuzzFile(kSignalFileName, file.data(), file.size());
  if (ReadDaysOff(dir, fileio::SystemFileSystem()).Days != before.Days) {
    FuzzFailure("the file reads otherwise than its text");
  }
  const int error = work ? AddWorkDay(day, dir, fileio::SystemFileSystem())
                         : AddDayOff(off, dir, fileio::SystemFileSystem());
  if (error != 0) FuzzFailure("an entry could not be added");
  const TDecodedText middle = DecodeTextFile(ReadFuzzFile(kSignalFileName));
  const bool markless = [](TTextEncoding e) {
    return e == TTextEncoding::Ansi || e == TTextEncoding::Utf8;
  }(decoded.Encoding);
  if (markless ? middle.Encoding == TTextEncoding::Utf16Le : middle.Encoding != decoded.Encoding) {
    FuzzFailure("adding an entry changed the file's encoding");
  }
  const int error2 = work ? RemoveWorkDay(day, dir, fileio::SystemFileSystem())
                          : RemoveDayOff(off, dir, fileio::SystemFileSystem());
  if (error2 != 0) FuzzFailure("an entry could not be removed");
  const bool sameKind = middle.Encoding == decoded.Encoding ||
                        (markless && middle.Encoding != TTextEncoding::Utf8Bom);
  // UTF-16 without its mark gains it; an odd last byte is no character.
  const bool utf16NoMark = decoded.Encoding == TTextEncoding::Utf16Le &&
                           (file.size() % 2 != 0 || !(file[0] == 0xFF && file[1] == 0xFE));
  if (exact && sameKind && !utf16NoMark && ReadFuzzFile(kSignalFileName) != file) {
    FuzzFailure("adding and removing an entry changed the file's bytes");
  }
  return 0;
}
