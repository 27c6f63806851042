#include "ui/file_reports.h"

#include "controls/message_boxes.h"
#include "platform/errors.h"

namespace {

void TellLoad(const TLoadResult& r, TMessageBoxes& boxes, const wchar_t* readError) {
  if (r.What == TLoadResult::TWhat::NotOpened) boxes.ShowMessage(L"Не удалось открыть файл!");
  if (r.What == TLoadResult::TWhat::Damaged) boxes.ShowMessage(readError);
}

}  // namespace

void LoadAlarmFile(TAppState& state, TMessageBoxes& boxes, fileio::TFileSystem& fs) {
  TellLoad(LoadAlarms(state.Store, state.ProgramDir, state.AlarmFile, fs), boxes,
           L"Ошибка чтения файла!");
}

void SaveAlarmFile(TAppState& state, TMessageBoxes& boxes, fileio::TFileSystem& fs) {
  const TSaveResult r = SaveAlarms(state.Store, state.ProgramDir, state.AlarmFile, fs);
  if (!r.KeptAs.empty()) {
    boxes.ShowMessage(L"Файл alarm.rec не удалось прочитать. Его прежнее содержимое сохранено в файле " +
                      r.KeptAs);
  }
  if (!r.Saved()) throw EInOutError(r.Error);
}

void ReadConfigFileTelling(TSettings& settings, const std::wstring& programDir,
                           TMessageBoxes& boxes, fileio::TFileSystem& fs) {
  TellLoad(ReadConfigFile(settings, programDir, fs), boxes, L"Ошибка чтения!");
}
