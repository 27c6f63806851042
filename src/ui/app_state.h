// The process-wide records, owned by the application and shared by the
// windows.
#pragma once

#include <string>

#include "engine/clock_sample.h"
#include "store/alarm_file.h"
#include "store/alarm_store.h"
#include "store/settings.h"

struct TAppState {
  TAlarmStore Store{};
  TSettings Settings{};
  TClockSample Sample{};
  TEditState Edit{};
  TAlarmFileState AlarmFile{};
  std::wstring ProgramDir;
};

