#include "store/alarm_file.h"

#include <cstring>

#include "platform/decimal_text.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/file_system.h"

namespace {

// Enough kept copies for years of failed starts; past that the save fails
// rather than destroy one.
constexpr unsigned kMaxKeptCopies = 999;

// Copies the bytes of alarm.rec to the first free kept name and names it in
// the result; no name when there is no file left to keep. The error when
// the bytes cannot be read or kept.
TSaveResult KeepUnreadFile(const std::wstring& programDir, fileio::TFileSystem& fs) {
  const fileio::ReadResult r = fileio::ReadAll(programDir + kAlarmFileName);
  if (!r.opened && (r.error == kErrFileNotFound || r.error == kErrPathNotFound)) return {};
  if (!r.opened || r.readFailed) return {r.error ? r.error : kErrReadBeyondEnd, {}};
  for (unsigned n = 1; n <= kMaxKeptCopies; ++n) {
    const std::wstring kept = programDir + KeptAlarmFileName(n);
    const int error = fileio::WriteNew(fs, kept, r.data.data(), r.data.size());
    if (error == 0) return {0, kept};
    if (error != kErrFileExists) return {error, {}};
  }
  return {kErrFileExists, {}};
}

}  // namespace

std::wstring KeptAlarmFileName(unsigned n) {
  return n <= 1 ? std::wstring(kKeptAlarmFileName) : kKeptAlarmFileName + DecimalText(n);
}

std::wstring FindProgramDir(const std::wstring& exePath) {
  if (exePath.size() < 2) return std::wstring();
  // The last character of an executable's path is never the separator.
  // Windows reports backslashes; a forward slash is a separator too, and
  // the only one on the Linux test machines.
  const std::size_t slash = exePath.find_last_of(L"\\/", exePath.size() - 2);
  if (slash == std::wstring::npos) return std::wstring();
  return exePath.substr(0, slash + 1);
}

TSaveResult SaveAlarms(const TAlarmStore& store, const std::wstring& programDir,
                       TAlarmFileState& file) {
  return SaveAlarms(store, programDir, file, fileio::SystemFileSystem());
}

TSaveResult SaveAlarms(const TAlarmStore& store, const std::wstring& programDir,
                       TAlarmFileState& file, fileio::TFileSystem& fs) {
  TSaveResult result;
  if (file.Unread) {
    result = KeepUnreadFile(programDir, fs);
    if (!result.Saved()) return result;
    // The old bytes are safe now, whatever becomes of this save.
    file.Unread = false;
  }
  result.Error =
      fileio::ReplaceAtomically(fs, programDir + kAlarmFileName, &store, sizeof(TAlarmStore));
  return result;
}

TLoadResult LoadAlarms(TAlarmStore& store, const std::wstring& programDir, TAlarmFileState& file) {
  return LoadAlarms(store, programDir, file, fileio::SystemFileSystem());
}

TLoadResult LoadAlarms(TAlarmStore& store, const std::wstring& programDir, TAlarmFileState& file,
                       fileio::TFileSystem& fs) {
  const std::wstring path = programDir + kAlarmFileName;
  const fileio::ReadResult r = fs.Read(path, sizeof(TAlarmStore));
  if (fileio::NoFileThere(r, path)) {
    file.Unread = false;
    return {TLoadResult::TWhat::Absent, 0};
  }
  if (!r.opened) {
    file.Unread = true;
    return {TLoadResult::TWhat::NotOpened, r.error};
  }
  if (r.readFailed || r.data.size() < sizeof(TAlarmStore)) {
    file.Unread = true;
    return {TLoadResult::TWhat::Damaged, r.error};
  }
  std::memcpy(&store, r.data.data(), sizeof(TAlarmStore));
  ClampCounts(store);
  file.Unread = false;
  return {};
}
