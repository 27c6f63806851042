// Five full tables, 500 records, as a busy user would have them: times of
// day spread from `firstSecond` over `spanSeconds`, date alarms over the
// week from `day`, each with a message.
#pragma once

#include <cstring>
#include <memory>
#include <string>

#include "platform/date_time.h"
#include "store/alarm_store.h"

inline std::unique_ptr<TAlarmStore> FullStore(TDateTime day, int firstSecond = 0,
                                              int spanSeconds = 86400) {
  auto s = std::make_unique<TAlarmStore>();
  std::memset(s.get(), 0, sizeof *s);
  for (int k = 0; k < kAlarmKindCount; ++k) {
    const auto kind = static_cast<TAlarmKind>(k);
    AlarmCount(*s, kind) = kAlarmCapacity;
    for (int i = 0; i < kAlarmCapacity; ++i) {
      const int second = (firstSecond + (i * 863 + k * 97) % spanSeconds) % 86400;
      const TDateTime time = EncodeTime(0, 0, second, 0);
      switch (kind) {
        case akDate:
          s->DateAlarms[i].AlarmDate = day + i % 7;
          s->DateAlarms[i].AlarmTime = time;
          break;
        case akDaily:
          s->DailyAlarms[i].AlarmTime = time;
          break;
        case akWeekly:
          s->WeeklyAlarms[i].Days[i % 7] = 1;
          s->WeeklyAlarms[i].AlarmTime = time;
          break;
        case akCountdown:
          s->CountdownAlarms[i].AlarmTime = day + time;
          break;
        case akBootCountdown:
          s->BootCountdownAlarms[i].AlarmTime = EncodeTime(0, 0, (i * 227 + 13) % 3600, 0);
          break;
      }
      auto& msg = const_cast<TShortString&>(*AlarmActions(*s, kind, i + 1).Msg);
      ToShortString(L"Будильник " + std::to_wstring(i + 1), msg);
    }
  }
  return s;
}
