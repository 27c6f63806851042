// alarm.rec: the raw image of the alarm store in the program's folder.
#pragma once

#include <string>

#include "store/alarm_store.h"

class TMessageBoxes;

inline constexpr wchar_t kAlarmFileName[] = L"alarm.rec";
inline constexpr wchar_t kDamagedAlarmFileName[] = L"alarm.rec.bad";

// The executable's folder with its trailing backslash.
std::wstring FindProgramDir(const std::wstring& exePath);

// Replaces alarm.rec with the whole store. A failure leaves the old file as
// it was and throws EInOutError, which ends the action that asked for it.
void SaveAlarms(const TAlarmStore& store, const std::wstring& programDir);

// Replaces the store with alarm.rec when the file loads whole; otherwise the
// store is left as it was and the user is told. Whatever a damaged file
// held is kept beside it in alarm.rec.bad, since the next save replaces it.
void LoadAlarms(TAlarmStore& store, const std::wstring& programDir, TMessageBoxes& boxes);
