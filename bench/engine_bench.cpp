// Cost of one alarm check tick over five full tables.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "engine/alarm_check.h"
#include "platform/date_time.h"
#include "full_store.h"

namespace {

class TCountingReceiver : public TAlarmReceiver {
 public:
  void WakeUp(const std::wstring&, const std::wstring&, const std::wstring&) override { ++count; }
  std::size_t count = 0;
};

// Each tick comes `stepMs` after the last and examines the seconds between;
// the clock walks through the days, so the alarms fire as they fall due.
void TickEvery(benchmark::State& state, std::int64_t stepMs) {
  auto store = FullStore(EncodeDate(2024, 3, 10));
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
