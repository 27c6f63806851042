// alarm.rec of any content: the loader takes it or refuses it whole, and
// the alarm check then ticks over whatever it took.
//
// The input is the file. Bytes past the store's size are ignored by the
// loader, so the 16 after it, when there, choose the clock of the ticks:
// a time value and the ms since Windows started, both little-endian.
#include <cmath>
#include <cstring>
#include <memory>

#include "engine/alarm_check.h"
#include "fuzz/fuzz_support.h"
#include "store/alarm_file.h"

namespace {

constexpr std::size_t kStoreSize = sizeof(TAlarmStore);

class TCheckingReceiver : public TAlarmReceiver {
 public:
  void WakeUp(const std::wstring& message, const std::wstring& file,
              const std::wstring& music) override {
    // A text field holds at most 255 characters, each one UTF-16 unit.
    if (message.size() > 255 || file.size() > 255 || music.size() > 255) {
      FuzzFailure("a wake-up text is longer than its field");
    }
    ++wakeUps;
  }
  long wakeUps = 0;
};

struct TClockInput {
  double local = 45361.3125;  // 10 March 2024, 07:30
  std::uint64_t uptimeMs = 3600000;
};

TClockInput ClockFrom(const std::uint8_t* data, std::size_t size) {
  TClockInput c;
  if (size >= kStoreSize + 16) {
    double local;
    std::memcpy(&local, data + kStoreSize, 8);
    std::memcpy(&c.uptimeMs, data + kStoreSize + 8, 8);
    // The clock is the system's, not the file's: keep it to times a clock
    // can read (years 1900 to 9999, uptimes under a century).
    if (std::isfinite(local) && local >= 1.0 && local < 2958465.0) c.local = local;
    c.uptimeMs %= 100ull * 365 * 86400000;
  }
  return c;
}

void CheckLoad(const TAlarmStore& store, const TAlarmFileState& file, const TLoadResult& loaded,
               const std::uint8_t* data, std::size_t size) {
  static const auto zero = std::make_unique<TAlarmStore>();
  if (size < kStoreSize) {
    if (loaded.What != TLoadResult::TWhat::Damaged) FuzzFailure("a short file was not reported");
    if (std::memcmp(&store, zero.get(), kStoreSize) != 0) {
      FuzzFailure("a refused file changed the store");
    }
    if (!file.Unread) FuzzFailure("a refused file is not marked unread");
    return;
  }
  if (loaded.What != TLoadResult::TWhat::Loaded) FuzzFailure("a whole file was reported");
  if (file.Unread) FuzzFailure("a whole file is marked unread");
  const std::size_t countsAt = offsetof(TAlarmStore, DateCount);
  if (std::memcmp(&store, data, countsAt) != 0) FuzzFailure("the tables differ from the file");
  for (int k = 0; k < kAlarmKindCount; ++k) {
    std::uint16_t raw;
    std::memcpy(&raw, data + countsAt + 2 * k, 2);
    const std::uint16_t expected = raw > kAlarmCapacity ? kAlarmCapacity : raw;
    if (AlarmCount(store, static_cast<TAlarmKind>(k)) != expected) {
      FuzzFailure("a count is not the file's, kept within the table");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring& dir = FuzzProgramDir();
  WriteFuzzFile(kAlarmFileName, data, size);

  // Two stores for the whole run: fresh 389 KB blocks every input would
  // spend the fuzzer's time on page faults.
  static const auto store = std::make_unique<TAlarmStore>();
  static const auto again = std::make_unique<TAlarmStore>();
  std::memset(store.get(), 0, kStoreSize);  // zeros, as at program start
  TAlarmFileState file;
  const TLoadResult loaded = LoadAlarms(*store, dir, file);
  CheckLoad(*store, file, loaded, data, size);

  if (loaded.What == TLoadResult::TWhat::Loaded) {
    // What was taken is saved back and reloaded unchanged.
    if (!SaveAlarms(*store, dir, file).Saved()) FuzzFailure("the store could not be saved");
    std::memset(again.get(), 0, kStoreSize);
    const TLoadResult back = LoadAlarms(*again, dir, file);
    if (back.What != TLoadResult::TWhat::Loaded ||
        std::memcmp(store.get(), again.get(), kStoreSize) != 0) {
      FuzzFailure("a saved store does not load back the same");
    }
  }

  // The alarm list of every kind is filled here from `*store` once the
  // list view can be built without windows: FillAlarmList for each tab.

  // One tick at the chosen moment, then one two seconds later, which
  // examines the seconds in between.
  const TClockInput clock = ClockFrom(data, size);
  TAlarmCheck check;
  TCheckingReceiver receiver;
  const std::int64_t utcMs = 1710052200000;
  std::vector<std::wstring> errors =
      check.Tick(*store, TClockReading{clock.local, utcMs}, clock.uptimeMs, receiver);
  const double later = clock.local + 2.0 / 86400;
  const auto more =
      check.Tick(*store, TClockReading{later, utcMs + 2000}, clock.uptimeMs + 2000, receiver);
  errors.insert(errors.end(), more.begin(), more.end());
  if (!errors.empty()) FuzzFailure("the check reported an error no receiver raised");
  return 0;
}
