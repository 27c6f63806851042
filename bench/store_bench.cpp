// Cost of the store's whole-file operations and of the largest delete.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "full_store.h"
#include "store/alarm_file.h"

namespace {

std::wstring BenchDir() {
  const auto dir = std::filesystem::temp_directory_path() / "tivorra-bench";
  std::filesystem::create_directories(dir);
  return dir.wstring() + L"/";
}

void BM_SaveFullStore(benchmark::State& state) {
  auto s = FullStore(EncodeDate(2024, 3, 10));
  const std::wstring dir = BenchDir();
  TAlarmFileState file;
  for (auto _ : state) {
    if (!SaveAlarms(*s, dir, file).Saved()) state.SkipWithError("the store could not be saved");
  }
}
BENCHMARK(BM_SaveFullStore)->Unit(benchmark::kMicrosecond);

void BM_LoadFullStore(benchmark::State& state) {
  auto s = FullStore(EncodeDate(2024, 3, 10));
  const std::wstring dir = BenchDir();
  TAlarmFileState file;
  if (!SaveAlarms(*s, dir, file).Saved()) state.SkipWithError("the store could not be saved");
  for (auto _ : state) {
    LoadAlarms(*s, dir, file);
    benchmark::DoNotOptimize(s->DateCount);
  }
}
BENCHMARK(BM_LoadFullStore)->Unit(benchmark::kMicrosecond);

void BM_DeleteFirstOfHundred(benchmark::State& state) {
  auto s = FullStore(EncodeDate(2024, 3, 10));
  for (auto _ : state) {
    // The records shift each time, but every delete moves the same 99.
    s->WeeklyCount = kAlarmCapacity;
    DeleteAlarm(*s, akWeekly, 1);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DeleteFirstOfHundred);

}  // namespace
