// Tivorra.state and Tivorra.ini, the files the program keeps beside
// alarm.rec for itself, under a failure at any of their system calls: by
// an error or by the process dying there. Each is then the old file or the
// new one, never a mix; a failure is reported; only a dead process leaves a
// temporary file, and that does not stand in the way of the next save.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fault_file_system.h"
#include "platform/errors.h"
#include "store/program_state.h"
#include "store/signal_settings.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::wstring> FilesIn(const TempDir& dir) {
  std::vector<std::wstring> names;
  for (const auto& e : fs::directory_iterator(dir.Path(L""))) {
    names.push_back(e.path().filename().wstring());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool IsTemporary(const std::wstring& name) {
  return name.size() > 4 && name.compare(name.size() - 4, 4, L".tmp") == 0;
}

// The error each kind of call fails with, as the system would give it.
const std::map<std::string, int> kErrorOf = {
    {"Read", kErrAccessDenied},
    {"CreateNew", kErrAccessDenied},
    {"Write", kErrDiskFull},
    {"Flush", 1117},
    {"Close", 1117},
    {"Replace", kErrAccessDenied},
};

// One fault: where, how, and what was in the folder before.
struct TFault {
  std::size_t call;  // 1-based
  bool crash;
  bool fileBefore;
};

std::string Describe(const TFault& f, const std::vector<std::string>& sequence) {
  return std::string(f.crash ? "crash" : "error") + " at " + sequence[f.call - 1] + " (call " +
         std::to_string(f.call) + "), " + (f.fileBefore ? "over the old file" : "first save");
}

// Every fault of a sequence of calls: each call in turn, by an error and
// by a crash.
std::vector<TFault> EveryFault(std::size_t calls, bool fileBefore) {
  std::vector<TFault> faults;
  for (const bool crash : {false, true}) {
    for (std::size_t k = 1; k <= calls; ++k) faults.push_back({k, crash, fileBefore});
  }
  return faults;
}

void Arm(TFaultFileSystem& disk, const TFault& f, const std::vector<std::string>& sequence) {
  disk.FailAt = static_cast<int>(f.call);
  disk.Crash = f.crash;
  disk.Error = kErrorOf.at(sequence[f.call - 1]);
}

// Small pieces, so that even these short files take several writes.
constexpr std::size_t kChunk = 16;

TProgramState OldState() {
  TProgramState s;
  s.LastExamined = 3974112000LL;
  s.Snoozes = {{{akDaily, 3, 0x0123456789abcdefULL}, 1765180800000LL, 0}};
  return s;
}

TProgramState NewState() {
  TProgramState s;
  s.LastExamined = 3974112600LL;
  s.Snoozes = {{{akDaily, 3, 0x0123456789abcdefULL}, 1765181100000LL, 1},
               {{akWeekly, 7, 0xfedcba9876543210ULL}, 1765181400000LL, 0}};
  return s;
}

Bytes StateBytes(const TProgramState& s) {
  const std::vector<unsigned char> b = FormatProgramState(s);
  return Bytes(b.begin(), b.end());
}

TEST(OwnFileFaults, TivorraStateIsTheOldOrTheNewFileAfterAFailureAtEveryCall) {
  const Bytes oldBytes = StateBytes(OldState());
  const Bytes newBytes = StateBytes(NewState());
  int injected = 0;
  for (const bool fileBefore : {false, true}) {
    std::vector<std::string> sequence;
    {
      TempDir dir;
      if (fileBefore) WriteBytes(dir.Path(kStateFileName), oldBytes);
      TFaultFileSystem disk;
      disk.WriteChunk = kChunk;
      ASSERT_EQ(SaveProgramState(NewState(), dir.ProgramDir(), disk), 0);
      sequence = disk.Calls;
    }
    // Whole on the disk before it takes the old one's place.
    const std::vector<std::string> expected = {"CreateNew", "Write", "Write", "Write",  "Write",
                                               "Write",     "Flush", "Close", "Replace"};
    ASSERT_EQ(sequence, expected);

    for (const TFault& f : EveryFault(sequence.size(), fileBefore)) {
      SCOPED_TRACE(Describe(f, sequence));
      TempDir dir;
      if (fileBefore) WriteBytes(dir.Path(kStateFileName), oldBytes);
      const std::vector<std::wstring> filesBefore = FilesIn(dir);
      TFaultFileSystem disk;
      disk.WriteChunk = kChunk;
      Arm(disk, f, sequence);
      ++injected;

      EXPECT_EQ(SaveProgramState(NewState(), dir.ProgramDir(), disk), disk.Error);
      if (fileBefore) {
        EXPECT_EQ(ReadBytes(dir.Path(kStateFileName)), oldBytes) << "not the old file";
        const TStateLoad load = LoadProgramState(dir.ProgramDir());
        EXPECT_FALSE(load.Damaged);
        EXPECT_EQ(load.State, OldState());
      } else {
        EXPECT_FALSE(fs::exists(dir.Path(kStateFileName))) << "a failed first save left a file";
      }
      if (!f.crash) {
        EXPECT_EQ(FilesIn(dir), filesBefore) << "something was left behind";
      }

      // The next save goes through whatever a crash left.
      EXPECT_EQ(SaveProgramState(NewState(), dir.ProgramDir()), 0);
      EXPECT_EQ(ReadBytes(dir.Path(kStateFileName)), newBytes);
      for (const std::wstring& name : FilesIn(dir)) {
        EXPECT_TRUE(name == kStateFileName || (f.crash && IsTemporary(name)))
            << "unexpected file left: " << fs::path(name).string();
      }
    }
  }
  std::printf("Tivorra.state save faults: %d injected\n", injected);
}

TEST(OwnFileFaults, ADamagedTivorraStateStaysAndIsKeptAsideWholeOrNotAtAll) {
  // Too short for a state: kept aside at the load, byte for byte.
  const Bytes damaged = {'T', 'V', 'R', 'S', 'T', 'A', 'T', 'E', 1,  0,  0,  0,  9,
                         0,   0,   0,   7,   7,   7,   7,   7,   7,  7,  7,  42, 42,
                         42,  42,  42,  42,  42,  42,  42,  42,  42, 42, 42, 42, 42};
  std::vector<std::string> sequence;
  {
    TempDir dir;
    WriteBytes(dir.Path(kStateFileName), damaged);
    TFaultFileSystem disk;
    disk.WriteChunk = kChunk;
    const TStateLoad load = LoadProgramState(dir.ProgramDir(), disk);
    ASSERT_TRUE(load.Damaged);
    ASSERT_EQ(load.KeptAs, dir.ProgramDir() + kStateFileName + L".bad");
    sequence = disk.Calls;
  }
  const std::vector<std::string> expected = {"Read",  "Read",  "CreateNew", "Write",
                                             "Write", "Write", "Flush",     "Close"};
  ASSERT_EQ(sequence, expected);

  for (const TFault& f : EveryFault(sequence.size(), true)) {
    SCOPED_TRACE(Describe(f, sequence));
    TempDir dir;
    WriteBytes(dir.Path(kStateFileName), damaged);
    TFaultFileSystem disk;
    disk.WriteChunk = kChunk;
    Arm(disk, f, sequence);

    const TStateLoad load = LoadProgramState(dir.ProgramDir(), disk);
    EXPECT_TRUE(load.Damaged);
    EXPECT_EQ(load.State, TProgramState{}) << "nothing is taken from a damaged file";
    EXPECT_TRUE(load.KeptAs.empty()) << "a copy that failed is named";
    EXPECT_EQ(ReadBytes(dir.Path(kStateFileName)), damaged);
    if (!f.crash) {
      EXPECT_EQ(FilesIn(dir), std::vector<std::wstring>{kStateFileName}) << "a torn copy was left";
    }

    // The next start keeps the bytes, past whatever a crash tore.
    const TStateLoad next = LoadProgramState(dir.ProgramDir());
    ASSERT_FALSE(next.KeptAs.empty());
    EXPECT_EQ(ReadBytes(fs::path(next.KeptAs)), damaged);
  }
}

// A file written by hand: a comment, another section, Cyrillic in
// Windows-1251, Windows line breaks. A save must keep all of it.
Bytes HandWrittenIni() {
  const std::string text =
      "; \xC1\xF3\xE4\xE8\xEB\xFC\xED\xE8\xEA\r\n[Signal]\r\nSnoozeMinutes=30\r\n"
      "FadeSeconds=5\r\n\r\n[Other]\r\nName=\xC4\xEE\xEC\r\n";
  return Bytes(text.begin(), text.end());
}

TEST(OwnFileFaults, TivorraIniIsTheOldOrTheNewFileAfterAFailureAtEveryCall) {
  int injected = 0;
  for (const bool fileBefore : {false, true}) {
    const TSignalSettings old = fileBefore ? TSignalSettings{30, 10, 1, 50, 5} : TSignalSettings{};
    const TSignalSettings now{45, 2, 0, 50, 5};
    // What a save that goes through writes, and its calls.
    Bytes newBytes;
    std::vector<std::string> sequence;
    {
      TempDir dir;
      if (fileBefore) WriteBytes(dir.Path(kSignalFileName), HandWrittenIni());
      ASSERT_EQ(ReadSignalSettings(dir.ProgramDir()), old);
      TFaultFileSystem disk;
      disk.WriteChunk = kChunk;
      ASSERT_EQ(WriteSignalSettings(old, now, dir.ProgramDir(), disk), 0);
      ASSERT_EQ(ReadSignalSettings(dir.ProgramDir()), now);
      newBytes = ReadBytes(dir.Path(kSignalFileName));
      sequence = disk.Calls;
    }
    ASSERT_GE(sequence.size(), 6u);
    EXPECT_EQ(sequence.front(), "Read") << "the old lines are read before anything is written";
    EXPECT_EQ(sequence.back(), "Replace");

    for (const TFault& f : EveryFault(sequence.size(), fileBefore)) {
      SCOPED_TRACE(Describe(f, sequence));
      TempDir dir;
      if (fileBefore) WriteBytes(dir.Path(kSignalFileName), HandWrittenIni());
      const std::vector<std::wstring> filesBefore = FilesIn(dir);
      TFaultFileSystem disk;
      disk.WriteChunk = kChunk;
      Arm(disk, f, sequence);
      ++injected;

      EXPECT_EQ(WriteSignalSettings(old, now, dir.ProgramDir(), disk), disk.Error);
      if (fileBefore) {
        EXPECT_EQ(ReadBytes(dir.Path(kSignalFileName)), HandWrittenIni()) << "not the old file";
      } else {
        EXPECT_FALSE(fs::exists(dir.Path(kSignalFileName))) << "a failed first save left a file";
      }
      EXPECT_EQ(ReadSignalSettings(dir.ProgramDir()), old);
      if (!f.crash) {
        EXPECT_EQ(FilesIn(dir), filesBefore) << "something was left behind";
      }

      EXPECT_EQ(WriteSignalSettings(old, now, dir.ProgramDir()), 0);
      EXPECT_EQ(ReadBytes(dir.Path(kSignalFileName)), newBytes);
      for (const std::wstring& name : FilesIn(dir)) {
        EXPECT_TRUE(name == kSignalFileName || (f.crash && IsTemporary(name)))
            << "unexpected file left: " << fs::path(name).string();
      }
    }
  }
  std::printf("Tivorra.ini save faults: %d injected\n", injected);
}

TEST(OwnFileFaults, ATivorraIniThatCannotBeReadIsNotReplaced) {
  const struct {
    const char* what;
    int error;
    bool opens;  // opened, then the read broke off
  } cases[] = {
      {"access denied", kErrAccessDenied, false},
      {"held by another program", 32, false},
      {"locked", 33, false},
      {"too many open files", kErrTooManyOpenFiles, false},
      {"a bad sector partway", 23, true},
      {"a network drive gone partway", 59, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    WriteBytes(dir.Path(kSignalFileName), HandWrittenIni());
    TFaultFileSystem disk;
    disk.FailAt = 1;
    disk.Error = c.error;
    disk.ReadOpens = c.opens;

    EXPECT_EQ(WriteSignalSettings({30, 10, 1, 50, 5}, {45, 2, 0, 50, 5}, dir.ProgramDir(), disk),
              c.error);
    EXPECT_EQ(disk.Calls, std::vector<std::string>{"Read"}) << "something was written";
    EXPECT_EQ(ReadBytes(dir.Path(kSignalFileName)), HandWrittenIni());
    EXPECT_EQ(FilesIn(dir), std::vector<std::wstring>{kSignalFileName});

    // Read at start the same way, it gives the defaults and changes nothing.
    TFaultFileSystem again;
    again.FailAt = 1;
    again.Error = c.error;
    again.ReadOpens = c.opens;
    EXPECT_EQ(ReadSignalSettings(dir.ProgramDir(), again), TSignalSettings{});
    EXPECT_EQ(ReadBytes(dir.Path(kSignalFileName)), HandWrittenIni());
  }
}

}  // namespace
