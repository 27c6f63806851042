// alarm.rec of any length and content: the loader takes a whole file, its
// counts kept within the tables, or refuses it, marks it unread and leaves
// the store alone. The next save writes the store's image byte for byte,
// after keeping a refused file aside as it was.
//
// The file is built from a small input, so that every mutation lands on
// bytes that matter rather than somewhere in 389,616:
//   byte 0       the file's shape: bits 0-2 pick a short file (0, 1), no
//                file (2) or a whole one (3-7), with bits 3-7 as the number
//                of bytes past the store; bit 7 also says whether the last
//                load had left the file unread
//   byte 1       the byte every place of the file not given below holds
//   bytes 2-4    how many bytes a short file lacks, less one (modulo the
//                store's size)
//   bytes 5-20   the file's last 16 bytes: the five counts and the reserved
//   the rest     split in five, each part at the start of one table
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "fakes/memory_file_system.h"
#include "fuzz/fuzz_support.h"
#include "store/alarm_file.h"

namespace {

constexpr std::size_t kStoreSize = sizeof(TAlarmStore);
constexpr std::size_t kCountsAt = offsetof(TAlarmStore, DateCount);
constexpr std::size_t kTableAt[kAlarmKindCount] = {
    offsetof(TAlarmStore, DateAlarms), offsetof(TAlarmStore, DailyAlarms),
    offsetof(TAlarmStore, WeeklyAlarms), offsetof(TAlarmStore, CountdownAlarms),
    offsetof(TAlarmStore, BootCountdownAlarms)};

enum class TShape { Short, Absent, Whole };

struct TCase {
  TShape Shape = TShape::Whole;
  bool WasUnread = false;
  std::vector<std::uint8_t> File;  // empty when there is no file
};

TCase CaseFrom(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  TCase c;
  const std::uint8_t shape = in.Byte();
  const std::uint8_t fill = in.Byte();
  const std::uint32_t shortLength = in.U16() | static_cast<std::uint32_t>(in.Byte()) << 16;
  c.WasUnread = (shape & 0x80) != 0;
  const unsigned kind = shape & 7u;
  c.Shape = kind < 2 ? TShape::Short : kind == 2 ? TShape::Absent : TShape::Whole;
  if (c.Shape == TShape::Absent) return c;

  c.File.assign(kStoreSize + (shape >> 3), fill);
  const std::vector<std::uint8_t> tail = in.Take(kStoreSize - kCountsAt);
  std::copy(tail.begin(), tail.end(), c.File.begin() + static_cast<std::ptrdiff_t>(kCountsAt));
  const std::size_t part = in.Left() / kAlarmKindCount;
  for (std::size_t at : kTableAt) {
    const std::vector<std::uint8_t> bytes = in.Take(part);
    std::copy(bytes.begin(), bytes.end(), c.File.begin() + static_cast<std::ptrdiff_t>(at));
  }
  // Counted back from one byte short, so that small numbers land near the
  // size that matters.
  if (c.Shape == TShape::Short) c.File.resize(kStoreSize - 1 - shortLength % kStoreSize);
  return c;
}

bool SameStore(const TAlarmStore& a, const TAlarmStore& b) {
  return std::memcmp(&a, &b, kStoreSize) == 0;
}

// A store unlike anything the cases load: what a refused file must leave.
const TAlarmStore& Before() {
  static const auto before = [] {
    auto s = std::make_unique<TAlarmStore>();
    std::memset(s.get(), 0x5A, kStoreSize);
    s->DateCount = s->DailyCount = s->WeeklyCount = s->CountdownCount = s->BootCountdownCount = 7;
    return s;
  }();
  return *before;
}

void CheckWholeLoad(const TAlarmStore& store, const TCase& c, const TLoadResult& loaded,
                    const TAlarmFileState& file) {
  if (loaded.What != TLoadResult::TWhat::Loaded) FuzzFailure("a whole file was reported");
  if (file.Unread) FuzzFailure("a whole file is marked unread");
  if (std::memcmp(&store, c.File.data(), kCountsAt) != 0) {
    FuzzFailure("the tables differ from the file");
  }
  for (int k = 0; k < kAlarmKindCount; ++k) {
    std::uint16_t raw;
    std::memcpy(&raw, c.File.data() + kCountsAt + 2 * k, 2);
    const std::uint16_t expected = raw > kAlarmCapacity ? kAlarmCapacity : raw;
    if (AlarmCount(store, static_cast<TAlarmKind>(k)) != expected) {
      FuzzFailure("a count is not the file's, kept within the table");
    }
  }
  if (std::memcmp(store.Reserved, c.File.data() + offsetof(TAlarmStore, Reserved),
                  sizeof store.Reserved) != 0) {
    FuzzFailure("the reserved bytes differ from the file");
  }
}

void CheckRefusedLoad(const TAlarmStore& store, const TCase& c, const TLoadResult& loaded,
                      const TAlarmFileState& file) {
  if (!SameStore(store, Before())) FuzzFailure("a refused or missing file changed the store");
  if (c.Shape == TShape::Absent) {
    if (loaded.What != TLoadResult::TWhat::Absent) FuzzFailure("a missing file was not reported");
    if (file.Unread) FuzzFailure("a missing file is marked unread");
    return;
  }
  if (loaded.What != TLoadResult::TWhat::Damaged) FuzzFailure("a short file was not reported");
  if (!file.Unread) FuzzFailure("a short file is not marked unread");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring& dir = FuzzProgramDir();
  const TCase c = CaseFrom(data, size);
  if (c.Shape == TShape::Absent) {
    RemoveFuzzFile(kAlarmFileName);
  } else {
    WriteFuzzFile(kAlarmFileName, c.File.data(), c.File.size());
  }

  // One store for the whole run: a fresh 389 KB block every input would
  // spend the fuzzer's time on page faults.
  static const auto store = std::make_unique<TAlarmStore>();
  std::memcpy(store.get(), &Before(), kStoreSize);
  TAlarmFileState file{c.WasUnread};
  const TLoadResult loaded = LoadAlarms(*store, dir, file);
  if (c.Shape == TShape::Whole) {
    CheckWholeLoad(*store, c, loaded, file);
  } else {
    CheckRefusedLoad(*store, c, loaded, file);
  }

  // The next save, caught in memory: a file that was not read is kept
  // first, under the first kept name, as it was; then alarm.rec is the
  // store's image, byte for byte, and nothing else is left.
  TMemoryFileSystem saves;
  const TSaveResult saved = SaveAlarms(*store, dir, file, saves);
  if (!saved.Saved()) FuzzFailure("the store could not be saved");
  if (file.Unread) FuzzFailure("the file is still marked unread after a save");
  const std::wstring kept = dir + kKeptAlarmFileName;
  if (c.Shape == TShape::Short) {
    if (saved.KeptAs != kept) FuzzFailure("a short file was not kept");
    if (saves.Files[kept] != c.File) FuzzFailure("the kept copy differs");
  } else if (!saved.KeptAs.empty()) {
    FuzzFailure("a file that was read or missing was kept");
  }
  const std::vector<unsigned char>& written = saves.Files[dir + kAlarmFileName];
  if (written.size() != kStoreSize || std::memcmp(written.data(), store.get(), kStoreSize) != 0) {
    FuzzFailure("the saved file is not the store's image");
  }
  if (saves.Files.size() != (c.Shape == TShape::Short ? 2u : 1u)) {
    FuzzFailure("a save left another file behind");
  }
  return 0;
}
