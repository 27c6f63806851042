// Cost of one alarm check tick over five full tables.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "engine/alarm_check.h"
#include "engine/time_value.h"

namespace {

// 500 records at times spread over the day, as a busy user would have them.
std::unique_ptr<TAlarmStore> FullStore() {
  auto s = std::make_unique<TAlarmStore>();
  std::memset(s.get(), 0, sizeof *s);
  const TDateTime today = EncodeDate(2024, 3, 10);
  for (int k = 0; k < kAlarmKindCount; ++k) {
    const auto kind = static_cast<TAlarmKind>(k);
    AlarmCount(*s, kind) = kAlarmCapacity;
    for (int i = 0; i < kAlarmCapacity; ++i) {
      const TDateTime time = EncodeTime(0, 0, (i * 863 + k * 97) % 86400, 0);
      const TDateTime duration = EncodeTime(0, 0, (i * 227 + 13) % 3600, 0);
      switch (kind) {
        case akDate:
          s->DateAlarms[i].AlarmDate = today + i % 7;
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
          s->CountdownAlarms[i].AlarmTime = today + time;
          break;
        case akBootCountdown:
          s->BootCountdownAlarms[i].AlarmTime = duration;
          break;
      }
      auto& msg = const_cast<TShortString&>(*AlarmActions(*s, kind, i + 1).Msg);
      ToShortString(L"Будильник " + std::to_wstring(i + 1), msg);
    }
  }
  return s;
}

class TCountingReceiver : public TAlarmReceiver {
 public:
  void WakeUp(const std::wstring&, const std::wstring&, const std::wstring&) override { ++count; }
  std::size_t count = 0;
};

// Each tick comes `stepMs` after the last and examines the seconds between;
// the clock walks through the days, so the alarms fire as they fall due.
void TickEvery(benchmark::State& state, std::int64_t stepMs) {
  auto store = FullStore();
  TAlarmCheck check;
  TCountingReceiver receiver;
  std::int64_t localMs = RoundedMs(EncodeDate(2024, 3, 10)).value() + 20;
  std::int64_t utcMs = 1700000000000;
  std::uint64_t uptimeMs = 0;
  for (auto _ : state) {
    const TClockReading now{static_cast<double>(localMs) / kMsPerDay, utcMs};
    benchmark::DoNotOptimize(check.Tick(*store, now, uptimeMs, receiver));
    localMs += stepMs;
    utcMs += stepMs;
    uptimeMs += static_cast<std::uint64_t>(stepMs);
  }
  state.counters["fired"] =
      benchmark::Counter(static_cast<double>(receiver.count), benchmark::Counter::kAvgIterations);
}

void BM_TickOneSecond(benchmark::State& state) { TickEvery(state, 1000); }
BENCHMARK(BM_TickOneSecond)->Unit(benchmark::kMicrosecond);

void BM_TickThreeHundredSeconds(benchmark::State& state) { TickEvery(state, 300000); }
BENCHMARK(BM_TickThreeHundredSeconds)->Unit(benchmark::kMicrosecond);

}  // namespace
