// The five alarm tables. The block is also the exact image of alarm.rec, so
// every size and offset below is part of the file format.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/date_time.h"

static_assert(std::endian::native == std::endian::little,
              "alarm.rec is little-endian and is read and written as a raw image");

enum TAlarmKind : std::uint8_t {
  akDate = 0,
  akDaily = 1,
  akWeekly = 2,
  akCountdown = 3,
  akBootCountdown = 4,
};
inline constexpr int kAlarmKindCount = 5;
inline constexpr std::uint16_t kAlarmCapacity = 100;

// A length byte followed by up to 255 Windows-1251 characters. Bytes past
// the length are not significant and are kept as they are.
struct TShortString {
  std::uint8_t Len;
  char Chars[255];
};

struct TDateAlarm {
  TShortString Msg;
  TShortString Exe;
  TShortString Mus;
  TDateTime AlarmTime;
  TDateTime AlarmDate;
};

struct TTimeAlarm {
  TShortString Msg;
  TShortString Exe;
  TShortString Mus;
  TDateTime AlarmTime;
};

struct TWeeklyAlarm {
  std::uint8_t Days[7];  // Monday first
  TShortString Msg;
  TShortString Exe;
  TShortString Mus;
  std::uint8_t Reserved;
  TDateTime AlarmTime;
};

struct TAlarmStore {
  TDateAlarm DateAlarms[kAlarmCapacity];
  TTimeAlarm DailyAlarms[kAlarmCapacity];
  TWeeklyAlarm WeeklyAlarms[kAlarmCapacity];
  TTimeAlarm CountdownAlarms[kAlarmCapacity];
  TTimeAlarm BootCountdownAlarms[kAlarmCapacity];
  std::uint16_t DateCount;
  std::uint16_t DailyCount;
  std::uint16_t WeeklyCount;
  std::uint16_t CountdownCount;
  std::uint16_t BootCountdownCount;
  std::uint8_t Reserved[6];
};

static_assert(sizeof(TShortString) == 256);
static_assert(sizeof(TDateAlarm) == 784);
static_assert(offsetof(TDateAlarm, Msg) == 0);
static_assert(offsetof(TDateAlarm, Exe) == 256);
static_assert(offsetof(TDateAlarm, Mus) == 512);
static_assert(offsetof(TDateAlarm, AlarmTime) == 768);
static_assert(offsetof(TDateAlarm, AlarmDate) == 776);
static_assert(sizeof(TTimeAlarm) == 776);
static_assert(offsetof(TTimeAlarm, Msg) == 0);
static_assert(offsetof(TTimeAlarm, Exe) == 256);
static_assert(offsetof(TTimeAlarm, Mus) == 512);
static_assert(offsetof(TTimeAlarm, AlarmTime) == 768);
static_assert(sizeof(TWeeklyAlarm) == 784);
static_assert(offsetof(TWeeklyAlarm, Days) == 0);
static_assert(offsetof(TWeeklyAlarm, Msg) == 7);
static_assert(offsetof(TWeeklyAlarm, Exe) == 263);
static_assert(offsetof(TWeeklyAlarm, Mus) == 519);
static_assert(offsetof(TWeeklyAlarm, Reserved) == 775);
static_assert(offsetof(TWeeklyAlarm, AlarmTime) == 776);
static_assert(sizeof(TAlarmStore) == 389616);
static_assert(offsetof(TAlarmStore, DateAlarms) == 0);
static_assert(offsetof(TAlarmStore, DailyAlarms) == 78400);
static_assert(offsetof(TAlarmStore, WeeklyAlarms) == 156000);
static_assert(offsetof(TAlarmStore, CountdownAlarms) == 234400);
static_assert(offsetof(TAlarmStore, BootCountdownAlarms) == 312000);
static_assert(offsetof(TAlarmStore, DateCount) == 389600);
static_assert(offsetof(TAlarmStore, DailyCount) == 389602);
static_assert(offsetof(TAlarmStore, WeeklyCount) == 389604);
static_assert(offsetof(TAlarmStore, CountdownCount) == 389606);
static_assert(offsetof(TAlarmStore, BootCountdownCount) == 389608);
static_assert(offsetof(TAlarmStore, Reserved) == 389610);

// The count of a kind's table, by reference.
std::uint16_t& AlarmCount(TAlarmStore& store, TAlarmKind kind);
std::uint16_t AlarmCount(const TAlarmStore& store, TAlarmKind kind);

// The three action texts of record `index` (1-based) of a kind's table.
struct TAlarmActions {
  const TShortString* Msg;
  const TShortString* Exe;
  const TShortString* Mus;
};
TAlarmActions AlarmActions(const TAlarmStore& store, TAlarmKind kind, std::uint16_t index);

// Keeps every count within 0..100 so that nothing reads or writes past a
// table, whatever a damaged file brought in.
void ClampCounts(TAlarmStore& store);

// Makes room for one more record of `kind` at the end of its table and
// returns its index (1-based), or 0 when the table is full. The record
// keeps whatever bytes its slot held: the caller writes it.
std::uint16_t AddAlarm(TAlarmStore& store, TAlarmKind kind);

// Removes record `index` (1-based) of `kind`, moving the later records down
// one place. The former last slot keeps its bytes. An index outside
// 1..count changes nothing. Saving and reloading is the caller's next step.
void DeleteAlarm(TAlarmStore& store, TAlarmKind kind, std::uint16_t index);

// Text fields: UTF-16 (wchar_t) on the program side, Windows-1251 in a record.
std::wstring FromShortString(const TShortString& s);
// Stores the first 255 characters; characters outside Windows-1251 become '?'.
// Only the length byte and the characters written are touched.
void ToShortString(const std::wstring& text, TShortString& s);

// The editing state that lives beside the tables; whether the editor adds
// or changes is kept in the settings record, which stores it.
struct TEditState {
  std::uint16_t EditIndex = 0;  // 1-based; 0 until a record was loaded for changing
};
