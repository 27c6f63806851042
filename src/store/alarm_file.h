// alarm.rec: the raw image of the alarm store in the program's folder.
#pragma once

#include <string>

#include "store/alarm_store.h"
#include "store/file_result.h"

namespace fileio {
class TFileSystem;
}

inline constexpr wchar_t kAlarmFileName[] = L"alarm.rec";
// Where the bytes of an alarm.rec that could not be read are kept before a
// save replaces it: the first free of alarm.rec.bad, alarm.rec.bad2, ...
inline constexpr wchar_t kKeptAlarmFileName[] = L"alarm.rec.bad";

// What the last load learnt about alarm.rec, which the saves must respect.
struct TAlarmFileState {
  // alarm.rec exists but could not be read whole (held by another program,
  // damaged, short): its alarms are not in the store, so nothing may replace
  // the file before its bytes are kept beside it.
  bool Unread = false;
};

// The executable's folder with its trailing backslash.
std::wstring FindProgramDir(const std::wstring& exePath);

// Replaces alarm.rec with the whole store. When the file could not be read
// at the last load, its bytes are first copied to the next free kept name,
// which the result names. A failure leaves alarm.rec as it was and returns
// the system's reason.
[[nodiscard]] TSaveResult SaveAlarms(const TAlarmStore& store, const std::wstring& programDir,
                                     TAlarmFileState& file);
// The same over the given file system calls.
[[nodiscard]] TSaveResult SaveAlarms(const TAlarmStore& store, const std::wstring& programDir,
                                     TAlarmFileState& file, fileio::TFileSystem& fs);

// Replaces the store with alarm.rec when the file loads whole; otherwise the
// store is left as it was and the file is marked unread.
TLoadResult LoadAlarms(TAlarmStore& store, const std::wstring& programDir, TAlarmFileState& file);
// The same over the given file system calls.
TLoadResult LoadAlarms(TAlarmStore& store, const std::wstring& programDir, TAlarmFileState& file,
                       fileio::TFileSystem& fs);

// The name of the n-th kept copy (1-based): alarm.rec.bad, alarm.rec.bad2, ...
std::wstring KeptAlarmFileName(unsigned n);
