// Cost of the store's whole-file operations and of the largest delete.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "fakes/fake_services.h"
#include "controls/message_boxes.h"
#include "store/alarm_file.h"

namespace {

std::unique_ptr<TAlarmStore> FullStore() {
  auto s = std::make_unique<TAlarmStore>();
  std::memset(s.get(), 0, sizeof *s);
  for (int k = 0; k < kAlarmKindCount; ++k) {
    const auto kind = static_cast<TAlarmKind>(k);
    AlarmCount(*s, kind) = kAlarmCapacity;
    for (std::uint16_t i = 1; i <= kAlarmCapacity; ++i) {
      auto& msg = const_cast<TShortString&>(*AlarmActions(*s, kind, i).Msg);
      ToShortString(L"Будильник номер " + std::to_wstring(i), msg);
    }
  }
  return s;
}

std::wstring BenchDir() {
  const auto dir = std::filesystem::temp_directory_path() / "tivorra-bench";
  std::filesystem::create_directories(dir);
  return dir.wstring() + L"/";
}

void BM_SaveFullStore(benchmark::State& state) {
  auto s = FullStore();
  const std::wstring dir = BenchDir();
  TAlarmFileState file;
  TFakeMessageBoxes boxes;
  for (auto _ : state) SaveAlarms(*s, dir, file, boxes);
}
BENCHMARK(BM_SaveFullStore)->Unit(benchmark::kMicrosecond);

void BM_LoadFullStore(benchmark::State& state) {
  auto s = FullStore();
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
  auto s = FullStore();
  for (auto _ : state) {
    // The records shift each time, but every delete moves the same 99.
    s->WeeklyCount = kAlarmCapacity;
    DeleteAlarm(*s, akWeekly, 1);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DeleteFirstOfHundred);

}  // namespace
