#include "store/alarm_file.h"

#include <cstring>

#include "controls/message_boxes.h"
#include "platform/decimal_text.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/file_system.h"

namespace {

// Enough kept copies for years of failed starts; past that the save fails
// rather than destroy one.
constexpr unsigned kMaxKeptCopies = 999;

// Copies the bytes of alarm.rec to the first free kept name and returns that
// name; an empty name when there is no file left to keep. Throws
// EInOutError when the bytes cannot be read or kept.
std::wstring KeepUnreadFile(const std::wstring& programDir, fileio::TFileSystem& fs) {
  const fileio::ReadResult r = fileio::ReadAll(programDir + kAlarmFileName);
  if (!r.opened && (r.error == kErrFileNotFound || r.error == kErrPathNotFound)) return {};
  if (!r.opened || r.readFailed) throw EInOutError(r.error);
  for (unsigned n = 1; n <= kMaxKeptCopies; ++n) {
    const std::wstring kept = programDir + KeptAlarmFileName(n);
    const int error = fileio::WriteNew(fs, kept, r.data.data(), r.data.size());
    if (error == 0) return kept;
    if (error != kErrFileExists) throw EInOutError(error);
  }
  throw EInOutError(kErrFileExists);
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

void SaveAlarms(const TAlarmStore& store, const std::wstring& programDir, TAlarmFileState& file,
                TMessageBoxes& boxes) {
  SaveAlarms(store, programDir, file, boxes, fileio::SystemFileSystem());
}

void SaveAlarms(const TAlarmStore& store, const std::wstring& programDir, TAlarmFileState& file,
                TMessageBoxes& boxes, fileio::TFileSystem& fs) {
  if (file.Unread) {
    const std::wstring kept = KeepUnreadFile(programDir, fs);
    // The old bytes are safe now, whatever becomes of this save.
    file.Unread = false;
    if (!kept.empty()) {
      boxes.ShowMessage(
          L"Файл alarm.rec не удалось прочитать. Его прежнее "
          L"содержимое сохранено в файле " +
          kept);
    }
  }
  const int error =
      fileio::ReplaceAtomically(fs, programDir + kAlarmFileName, &store, sizeof(TAlarmStore));
  if (error) throw EInOutError(error);
}

void LoadAlarms(TAlarmStore& store, const std::wstring& programDir, TAlarmFileState& file,
                TMessageBoxes& boxes) {
  const std::wstring path = programDir + kAlarmFileName;
  if (!fileio::FileExists(path)) {
    file.Unread = false;
    return;
  }

  const fileio::ReadResult r = fileio::ReadHead(path, sizeof(TAlarmStore));
  if (!r.opened) {
    file.Unread = true;
    boxes.ShowMessage(L"Не удалось открыть файл!");
    return;
  }
  if (r.readFailed || r.data.size() < sizeof(TAlarmStore)) {
    file.Unread = true;
    boxes.ShowMessage(L"Ошибка чтения файла!");
    return;
  }
  std::memcpy(&store, r.data.data(), sizeof(TAlarmStore));
  ClampCounts(store);
  file.Unread = false;
}
