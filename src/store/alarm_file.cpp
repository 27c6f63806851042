#include "store/alarm_file.h"

#include <cstring>
#include <memory>

#include "controls/message_boxes.h"
#include "platform/errors.h"
#include "platform/file_io.h"

std::wstring FindProgramDir(const std::wstring& exePath) {
  if (exePath.size() < 2) return std::wstring();
  // The last character of an executable's path is never the separator.
  // Windows reports backslashes; a forward slash is a separator too, and
  // the only one on the Linux test machines.
  const std::size_t slash = exePath.find_last_of(L"\\/", exePath.size() - 2);
  if (slash == std::wstring::npos) return std::wstring();
  return exePath.substr(0, slash + 1);
}

void SaveAlarms(const TAlarmStore& store, const std::wstring& programDir) {
  const int error =
      fileio::ReplaceAtomically(programDir + kAlarmFileName, &store, sizeof(TAlarmStore));
  if (error) throw EInOutError(error);
}

void LoadAlarms(TAlarmStore& store, const std::wstring& programDir, TMessageBoxes& boxes) {
  const std::wstring path = programDir + kAlarmFileName;
  if (!fileio::FileExists(path)) return;

  const fileio::ReadResult r = fileio::ReadHead(path, sizeof(TAlarmStore));
  if (!r.opened) {
    boxes.ShowMessage(L"Не удалось открыть файл!");
    return;
  }
  if (r.readFailed || r.data.size() < sizeof(TAlarmStore)) {
    // Keep what could be read before anything overwrites alarm.rec. An empty
    // read holds nothing to recover and must not replace an older copy.
    if (!r.data.empty()) {
      fileio::ReplaceAtomically(programDir + kDamagedAlarmFileName, r.data.data(),
                                r.data.size());
    }
    boxes.ShowMessage(L"Ошибка чтения файла!");
    return;
  }
  std::memcpy(&store, r.data.data(), sizeof(TAlarmStore));
  ClampCounts(store);
}
