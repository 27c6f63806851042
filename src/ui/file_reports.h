// The program's files as the windows use them: the store reports what a
// load or a save did, and these tell the user in the program's words.
#pragma once

#include <string>

#include "ui/app_state.h"

class TMessageBoxes;
namespace fileio {
class TFileSystem;
}

// Loads alarm.rec into the store; a file that could not be read is told
// and the store stays as it was.
void LoadAlarmFile(TAppState& state, TMessageBoxes& boxes, fileio::TFileSystem& fs);
// Replaces alarm.rec with the store, first telling where the bytes of a
// file that could not be read were kept. A failure leaves alarm.rec as it
// was and throws EInOutError, which ends the action that asked for it.
void SaveAlarmFile(TAppState& state, TMessageBoxes& boxes, fileio::TFileSystem& fs);
// Reads config.cfg into the settings; a file that could not be read is
// told and the settings stay as they were.
void ReadConfigFileTelling(TSettings& settings, const std::wstring& programDir,
                           TMessageBoxes& boxes, fileio::TFileSystem& fs);
