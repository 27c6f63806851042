// Cost of the store's whole-file operations and of the largest delete.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "fakes/fake_services.h"
#include "controls/message_boxes.h"
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
  TFakeMessageBoxes boxes;
  for (auto _ : state) SaveAlarms(*s, dir, file, boxes);
}
BENCHMARK(BM_SaveFullStore)->Unit(benchmark::kMicrosecond);

void BM_LoadFullStore(benchmark::State& state) {
  auto s = FullStore(EncodeDate(2024, 3, 10));
  const std::wstring dir = BenchDir();
  TAlarmFileState file;
  TFakeMessageBoxes boxes;
  SaveAlarms(*s, dir, file, boxes);
  for (auto _ : state) {
    LoadAlarms(*s, dir, file, boxes);
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
