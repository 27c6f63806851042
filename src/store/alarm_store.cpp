#include "store/alarm_store.h"

#include <algorithm>
#include <cstring>

#include "store/cp1251.h"

std::uint16_t& AlarmCount(TAlarmStore& store, TAlarmKind kind) {
  switch (kind) {
    case akDate: return store.DateCount;
    case akDaily: return store.DailyCount;
    case akWeekly: return store.WeeklyCount;
    case akCountdown: return store.CountdownCount;
    case akBootCountdown: break;
  }
  return store.BootCountdownCount;
}

std::uint16_t AlarmCount(const TAlarmStore& store, TAlarmKind kind) {
  return AlarmCount(const_cast<TAlarmStore&>(store), kind);
}

namespace {

// Start and record size of a kind's table, so that records can be moved as
// whole byte blocks, reserved bytes included.
struct TableView {
  unsigned char* base;
  std::size_t recordSize;
};

TableView Table(TAlarmStore& store, TAlarmKind kind) {
  switch (kind) {
    case akDate: return {reinterpret_cast<unsigned char*>(store.DateAlarms), sizeof(TDateAlarm)};
    case akDaily: return {reinterpret_cast<unsigned char*>(store.DailyAlarms), sizeof(TTimeAlarm)};
    case akWeekly:
      return {reinterpret_cast<unsigned char*>(store.WeeklyAlarms), sizeof(TWeeklyAlarm)};
    case akCountdown:
      return {reinterpret_cast<unsigned char*>(store.CountdownAlarms), sizeof(TTimeAlarm)};
    case akBootCountdown: break;
  }
  return {reinterpret_cast<unsigned char*>(store.BootCountdownAlarms), sizeof(TTimeAlarm)};
}

template <typename Rec>
TAlarmActions ActionsOf(const Rec& r) {
  return {&r.Msg, &r.Exe, &r.Mus};
}

}  // namespace

TAlarmActions AlarmActions(const TAlarmStore& store, TAlarmKind kind, std::uint16_t index) {
  const std::size_t i = index - 1u;
  switch (kind) {
    case akDate: return ActionsOf(store.DateAlarms[i]);
    case akDaily: return ActionsOf(store.DailyAlarms[i]);
    case akWeekly: return ActionsOf(store.WeeklyAlarms[i]);
    case akCountdown: return ActionsOf(store.CountdownAlarms[i]);
    case akBootCountdown: break;
  }
  return ActionsOf(store.BootCountdownAlarms[i]);
}

void ClampCounts(TAlarmStore& store) {
  for (int k = 0; k < kAlarmKindCount; ++k) {
    std::uint16_t& count = AlarmCount(store, static_cast<TAlarmKind>(k));
    count = std::min(count, kAlarmCapacity);
  }
}

std::uint16_t AddAlarm(TAlarmStore& store, TAlarmKind kind) {
  if (kind > akBootCountdown) return 0;
  std::uint16_t& count = AlarmCount(store, kind);
  if (count >= kAlarmCapacity) return 0;
  return ++count;
}

void DeleteAlarm(TAlarmStore& store, TAlarmKind kind, std::uint16_t index) {
  if (kind > akBootCountdown) return;
  std::uint16_t& count = AlarmCount(store, kind);
  if (count > kAlarmCapacity) count = kAlarmCapacity;
  if (index < 1 || index > count) return;
  --count;
  if (count >= index) {
    const TableView t = Table(store, kind);
    // Records index+1..old count move down one place, in ascending order.
    std::memmove(t.base + (index - 1u) * t.recordSize, t.base + index * t.recordSize,
                 (count - index + 1u) * t.recordSize);
  }
}

std::wstring FromShortString(const TShortString& s) {
  return cp1251::ToWide(std::string(s.Chars, s.Len));
}

void ToShortString(const std::wstring& text, TShortString& s) {
  std::string bytes = cp1251::FromWide(text);
  if (bytes.size() > sizeof(s.Chars)) bytes.resize(sizeof(s.Chars));
  s.Len = static_cast<std::uint8_t>(bytes.size());
  std::memcpy(s.Chars, bytes.data(), bytes.size());
}
