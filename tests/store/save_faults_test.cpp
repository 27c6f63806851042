// A save that fails at any of its system calls, by an error or by the
// process dying there, leaves alarm.rec as the old file or the new one,
// never a mix, and a failure is reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_services.h"
#include "fakes/fault_file_system.h"
#include "platform/errors.h"
#include "store/alarm_file.h"
#include "store/settings.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::unique_ptr<TAlarmStore> StoreFilledWith(std::uint8_t byte, std::uint16_t count) {
  auto s = std::make_unique<TAlarmStore>();
  std::memset(s.get(), byte, sizeof *s);
  s->DateCount = s->DailyCount = s->WeeklyCount = s->CountdownCount = s->BootCountdownCount = count;
  return s;
}

Bytes BytesOf(const TAlarmStore& s) {
  const auto* b = reinterpret_cast<const std::uint8_t*>(&s);
  return Bytes(b, b + sizeof s);
}

std::vector<std::wstring> FilesIn(const TempDir& dir) {
  std::vector<std::wstring> names;
  for (const auto& e : fs::directory_iterator(dir.Path(L""))) {
    names.push_back(e.path().filename().wstring());
  }
  return names;
}

bool IsTemporary(const std::wstring& name) {
  return name.size() > 4 && name.compare(name.size() - 4, 4, L".tmp") == 0;
}

// The kept copies of an unread alarm.rec in the folder, by content.
std::vector<Bytes> KeptCopies(const TempDir& dir) {
  std::vector<Bytes> kept;
  for (unsigned n = 1; n <= 5; ++n) {
    const fs::path p = dir.Path(KeptAlarmFileName(n));
    if (fs::exists(p)) kept.push_back(ReadBytes(p));
  }
  return kept;
}

// The error each kind of call fails with, as the system would give it.
const std::map<std::string, int> kErrorOf = {
    {"CreateNew", kErrAccessDenied}, {"Write", kErrDiskFull}, {"Flush", 1117}, {"Close", 1117},
    {"Replace", kErrAccessDenied},
};

// What was in the folder before the save.
enum class TBefore { Nothing, GoodFile, UnreadFile };

const char* Name(TBefore b) {
  switch (b) {
    case TBefore::Nothing:
      return "first save";
    case TBefore::GoodFile:
      return "over a good file";
    case TBefore::UnreadFile:
      break;
  }
  return "over a file that could not be read";
}

struct TFolder {
  TempDir dir;
  TAlarmFileState file;
};

// Sets up the folder and the file state as the program would have them
// after its load at start.
void Prepare(TFolder& f, TBefore before, const Bytes& good, const Bytes& damaged) {
  if (before == TBefore::GoodFile) WriteBytes(f.dir.Path(L"alarm.rec"), good);
  if (before == TBefore::UnreadFile) WriteBytes(f.dir.Path(L"alarm.rec"), damaged);
  auto loaded = StoreFilledWith(0, 0);
  LoadAlarms(*loaded, f.dir.ProgramDir(), f.file);
}

TEST(SaveFaults, TheFileIsWholeOnTheDiskBeforeItReplacesTheOldOne) {
  TFolder f;
  TFaultFileSystem disk;
  EXPECT_TRUE(SaveAlarms(*StoreFilledWith(0x22, 9), f.dir.ProgramDir(), f.file, disk).Saved());
  const std::vector<std::string> expected = {"CreateNew", "Write", "Write", "Write",
                                             "Write",     "Flush", "Close", "Replace"};
  EXPECT_EQ(disk.Calls, expected);
}

TEST(SaveFaults, AlarmRecIsTheOldOrTheNewFileAfterAFailureAtEveryCall) {
  const auto newStore = StoreFilledWith(0x22, 9);
  const Bytes good = BytesOf(*StoreFilledWith(0x11, 3));
  const Bytes damaged(1000, 0x33);
  const Bytes newBytes = BytesOf(*newStore);

  int injected = 0;
  int lost = 0;
  for (const TBefore before : {TBefore::Nothing, TBefore::GoodFile, TBefore::UnreadFile}) {
    // The calls of a save that goes through, from the same start.
    std::vector<std::string> sequence;
    {
      TFolder f;
      Prepare(f, before, good, damaged);
      TFaultFileSystem disk;
      EXPECT_TRUE(SaveAlarms(*newStore, f.dir.ProgramDir(), f.file, disk).Saved());
      sequence = disk.Calls;
    }
    for (const bool crash : {false, true}) {
      for (std::size_t k = 1; k <= sequence.size(); ++k) {
        SCOPED_TRACE(std::string(crash ? "crash" : "error") + " at " + sequence[k - 1] + " (call " +
                     std::to_string(k) + "), " + Name(before));
        TFolder f;
        Prepare(f, before, good, damaged);
        const std::vector<std::wstring> filesBefore = FilesIn(f.dir);
        TFaultFileSystem disk;
        disk.FailAt = static_cast<int>(k);
        disk.Crash = crash;
        disk.Error = kErrorOf.at(sequence[k - 1]);
        ++injected;

        const TSaveResult r = SaveAlarms(*newStore, f.dir.ProgramDir(), f.file, disk);
        EXPECT_FALSE(r.Saved()) << "the failed save reported success";
        EXPECT_EQ(r.Error, disk.Error);
        EXPECT_FALSE(InOutErrorText(r.Error).empty());

        const fs::path rec = f.dir.Path(L"alarm.rec");
        bool kept = true;
        switch (before) {
          case TBefore::Nothing:
            EXPECT_FALSE(fs::exists(rec)) << "a failed first save left an alarm.rec";
            break;
          case TBefore::GoodFile:
            kept = ReadBytes(rec) == good;
            EXPECT_TRUE(kept) << "alarm.rec is not the old file";
            break;
          case TBefore::UnreadFile:
            kept = ReadBytes(rec) == damaged;
            EXPECT_TRUE(kept) << "alarm.rec is not the old file";
            if (!crash) {
              // A copy that is there is whole; a crash may tear one, but
              // alarm.rec still holds the bytes.
              for (const Bytes& copy : KeptCopies(f.dir)) EXPECT_EQ(copy, damaged);
            }
            break;
        }
        if (!kept) ++lost;
        if (!crash) {
          // A save that could tidy up left nothing new but a whole kept copy.
          for (const std::wstring& name : FilesIn(f.dir)) {
            EXPECT_FALSE(IsTemporary(name)) << "a temporary file was left behind";
          }
          EXPECT_GE(FilesIn(f.dir).size(), filesBefore.size());
        }

        // Whatever a crash left behind does not stand in the way of the next
        // save, and an unread file's bytes survive it in a kept copy.
        EXPECT_TRUE(SaveAlarms(*newStore, f.dir.ProgramDir(), f.file).Saved());
        EXPECT_EQ(ReadBytes(rec), newBytes);
        for (const std::wstring& name : FilesIn(f.dir)) {
          EXPECT_TRUE(name == L"alarm.rec" || name.rfind(L"alarm.rec.bad", 0) == 0 ||
                      (crash && IsTemporary(name)))
              << "unexpected file left: " << fs::path(name).string();
        }
        if (before == TBefore::UnreadFile) {
          const std::vector<Bytes> copies = KeptCopies(f.dir);
          const bool survived = std::find(copies.begin(), copies.end(), damaged) != copies.end();
          if (!survived) ++lost;
          EXPECT_TRUE(survived) << "the unread file's bytes are gone";
        }
      }
    }
  }
  EXPECT_EQ(lost, 0);
  std::printf("save faults: %d injected, %d files lost\n", injected, lost);
}

TEST(SaveFaults, ConfigCfgIsTheOldOrTheNewFileAfterAFailureAtEveryCall) {
  const Bytes oldBytes = {1, 0, 0, 1, 0, 0, 0};
  const TSettings next{0, 1, 1, 1, 1, 1, 1};
  for (const bool crash : {false, true}) {
    for (int k = 1; k <= 5; ++k) {
      SCOPED_TRACE(std::string(crash ? "crash" : "error") + " at call " + std::to_string(k));
      TempDir dir;
      WriteBytes(dir.Path(L"config.cfg"), oldBytes);
      TFaultFileSystem disk;
      disk.FailAt = k;
      disk.Crash = crash;
      disk.Error = kErrDiskFull;
      EXPECT_EQ(WriteConfigFile(next, dir.ProgramDir(), disk), kErrDiskFull);
      ASSERT_GE(disk.Calls.size(), static_cast<std::size_t>(k)) << "the fault was never reached";
      EXPECT_EQ(ReadBytes(dir.Path(L"config.cfg")), oldBytes);
      if (!crash) {
        EXPECT_EQ(FilesIn(dir).size(), 1u);
      }
    }
  }
}

}  // namespace
