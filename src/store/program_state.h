// What the program keeps for itself beside alarm.rec: the last second its
// alarm check examined, and the snoozed alarms. It is never part of
// alarm.rec or config.cfg, so a damaged copy costs at most a notice of
// missed alarms or a snooze, never an alarm.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/alarm_store.h"

namespace fileio {
class TFileSystem;
}

inline constexpr wchar_t kStateFileName[] = L"Tivorra.state";

// One alarm as it is now: its place and a digest of what it says. An alarm
// that is changed or deleted no longer matches, whatever index it had.
struct TAlarmRef {
  TAlarmKind Kind = akDate;
  std::uint16_t Index = 0;  // 1-based
  std::uint64_t Digest = 0;
  bool operator==(const TAlarmRef&) const = default;
};

// Over the significant fields only (texts to their length, times, chosen
// weekdays), so saving and loading never change it.
std::uint64_t RecordDigest(const TAlarmStore& store, TAlarmKind kind, std::uint16_t index);
TAlarmRef RefOf(const TAlarmStore& store, TAlarmKind kind, std::uint16_t index);
// The index the alarm has now: its own when that record still matches,
// otherwise the first matching record of its kind (records before it were
// deleted); 0 when it was changed or deleted.
std::uint16_t FindAlarm(const TAlarmStore& store, const TAlarmRef& ref);

struct TSnooze {
  TAlarmRef Alarm;
  std::int64_t DueUtcMs = 0;
  // Rings in a row that ended with nobody answering.
  int Unanswered = 0;
  bool operator==(const TSnooze&) const = default;
};

// The next occurrence of a daily or weekday alarm, which the user chose
// not to hear: it neither rings nor counts as missed.
struct TSkip {
  TAlarmRef Alarm;
  std::int64_t LocalSecond = 0;  // local wall-clock seconds since 30 December 1899
  bool operator==(const TSkip&) const = default;
};

struct TProgramState {
  // Local wall-clock seconds since 30 December 1899; none before the first
  // run in this folder.
  std::optional<std::int64_t> LastExamined;
  std::vector<TSnooze> Snoozes;
  std::vector<TSkip> Skips;
  bool operator==(const TProgramState&) const = default;
};

inline constexpr std::size_t kMaxSnoozes = 5 * kAlarmCapacity;
inline constexpr int kMaxUnanswered = 2;
// One for each daily and each weekday alarm.
inline constexpr std::size_t kMaxSkips = 2 * kAlarmCapacity;

// The file: a 24-byte header (8 bytes "TVRSTATE", a 32-bit version 1, a
// 32-bit snooze count, the 64-bit last examined second or INT64_MIN for
// none), then 24 bytes a snooze (kind, rings unanswered, 16-bit index, 4
// zero bytes, 64-bit digest, 64-bit due time). Little-endian, no padding.
// Version 2 goes on after the snoozes with a 32-bit skip count and 24 bytes
// a skip (kind, a zero byte, 16-bit index, 4 zero bytes, 64-bit digest,
// 64-bit local second). A state without skips is written as version 1, so
// that a build without skips still reads it.
std::vector<unsigned char> FormatProgramState(const TProgramState& state);
// False for anything that is not exactly what FormatProgramState writes.
bool ParseProgramState(const std::vector<unsigned char>& bytes, TProgramState& state);

struct TStateLoad {
  TProgramState State;
  // The file was there but unreadable or damaged: its bytes were kept under
  // this name (empty when they could not be), and the state starts empty.
  bool Damaged = false;
  std::wstring KeptAs;
};
TStateLoad LoadProgramState(const std::wstring& programDir);
// The same over the given file system calls.
TStateLoad LoadProgramState(const std::wstring& programDir, fileio::TFileSystem& fs);
// Atomic. Returns 0 or the error number.
int SaveProgramState(const TProgramState& state, const std::wstring& programDir);
// The same over the given file system calls.
int SaveProgramState(const TProgramState& state, const std::wstring& programDir,
                     fileio::TFileSystem& fs);
