#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

#include "fakes/fake_services.h"
#include "fakes/fault_file_system.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "store/alarm_file.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFileSize = 389616;

std::unique_ptr<TAlarmStore> ZeroStore() {
  auto s = std::make_unique<TAlarmStore>();
  std::memset(s.get(), 0, sizeof *s);
  return s;
}

// A store whose every byte is a recognisable non-zero pattern.
std::unique_ptr<TAlarmStore> SentinelStore() {
  auto s = std::make_unique<TAlarmStore>();
  std::memset(s.get(), 0x5A, sizeof *s);
  s->DateCount = s->DailyCount = s->WeeklyCount = s->CountdownCount = s->BootCountdownCount = 7;
  return s;
}

bool SameBytes(const TAlarmStore& a, const TAlarmStore& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// An alarm.rec laid out from the documented offsets, with random bytes in
// every place that is not significant (free slots, bytes past a text's
// length, the reserved bytes), so a save must carry them all back.
Bytes DocumentedFile() {
  Bytes b(kFileSize);
  std::mt19937 rng(1234);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  // Date record 2 of 3: "Подъём", 07:30, 10 March 2024.
  const std::size_t date2 = 0 + 1 * 784;
  PutText(b, date2 + 0, "\xCF\xEE\xE4\xFA\xB8\xEC");
  PutText(b, date2 + 256, "C:\\Tools\\run.cmd");
  PutText(b, date2 + 512, "");
  PutDouble(b, date2 + 768, 7.5 / 24);
  PutDouble(b, date2 + 776, 45361.0);
  // Daily record 1 of 1.
  PutText(b, 78400 + 256, "notes.txt");
  PutDouble(b, 78400 + 768, 0.0);
  // Weekly record 2 of 2: Sunday only, 06:00.
  const std::size_t week2 = 156000 + 784;
  for (int d = 0; d < 7; ++d) b[week2 + d] = d == 6 ? 1 : 0;
  PutText(b, week2 + 7, "Sunday");
  PutText(b, week2 + 519, "D:\\Apps\\Sound\\Rock\\song.mp3");
  b[week2 + 775] = 0xEE;
  PutDouble(b, week2 + 776, 0.25);
  // Countdown and boot countdown records 1.
  PutDouble(b, 234400 + 768, 45361.5);
  PutDouble(b, 312000 + 768, 1.0 / 24);
  PutU16(b, 389600, 3);
  PutU16(b, 389602, 1);
  PutU16(b, 389604, 2);
  PutU16(b, 389606, 1);
  PutU16(b, 389608, 100);
  return b;
}

class AlarmFile : public testing::Test {
 protected:
  TempDir dir;
  TAlarmFileState file;
  TLoadResult loaded;
  TSaveResult saved;
  void Load(TAlarmStore& s) { loaded = LoadAlarms(s, dir.ProgramDir(), file); }
  void Save(const TAlarmStore& s) { saved = SaveAlarms(s, dir.ProgramDir(), file); }
  fs::path File() const { return dir.Path(L"alarm.rec"); }
  fs::path BadFile() const { return dir.Path(L"alarm.rec.bad"); }
};

TEST_F(AlarmFile, DocumentedLayoutLoadsAndSavesBackByteForByte) {
  const Bytes original = DocumentedFile();
  WriteBytes(File(), original);
  auto s = ZeroStore();

  Load(*s);

  EXPECT_EQ(loaded.What, TLoadResult::TWhat::Loaded);
  EXPECT_EQ(s->DateCount, 3);
  EXPECT_EQ(s->DailyCount, 1);
  EXPECT_EQ(s->WeeklyCount, 2);
  EXPECT_EQ(s->CountdownCount, 1);
  EXPECT_EQ(s->BootCountdownCount, 100);
  EXPECT_EQ(FromShortString(s->DateAlarms[1].Msg), L"Подъём");
  EXPECT_EQ(FromShortString(s->DateAlarms[1].Exe), L"C:\\Tools\\run.cmd");
  EXPECT_EQ(s->DateAlarms[1].Mus.Len, 0);
  EXPECT_DOUBLE_EQ(s->DateAlarms[1].AlarmTime, 7.5 / 24);
  EXPECT_DOUBLE_EQ(s->DateAlarms[1].AlarmDate, 45361.0);
  EXPECT_EQ(FromShortString(s->DailyAlarms[0].Exe), L"notes.txt");
  EXPECT_EQ(FromShortString(s->WeeklyAlarms[1].Msg), L"Sunday");
  EXPECT_EQ(FromShortString(s->WeeklyAlarms[1].Mus), L"D:\\Apps\\Sound\\Rock\\song.mp3");
  EXPECT_EQ(s->WeeklyAlarms[1].Days[6], 1);
  EXPECT_EQ(s->WeeklyAlarms[1].Days[0], 0);
  EXPECT_DOUBLE_EQ(s->WeeklyAlarms[1].AlarmTime, 0.25);
  EXPECT_DOUBLE_EQ(s->CountdownAlarms[0].AlarmTime, 45361.5);
  EXPECT_DOUBLE_EQ(s->BootCountdownAlarms[0].AlarmTime, 1.0 / 24);

  fs::remove(File());
  Save(*s);
  EXPECT_EQ(ReadBytes(File()), original);
}

TEST_F(AlarmFile, FirstStartWithoutAFileLoadsNothingAndSaysNothing) {
  auto s = ZeroStore();
  Load(*s);
  EXPECT_TRUE(SameBytes(*s, *ZeroStore()));
  EXPECT_EQ(loaded.What, TLoadResult::TWhat::Absent);
  EXPECT_FALSE(fs::exists(BadFile()));
}

TEST_F(AlarmFile, FilesOfOtherLengths) {
  struct Case {
    const char* name;
    std::size_t size;
    bool loads;
  };
  const Case cases[] = {
      {"empty", 0, false},
      {"short", 1000, false},
      {"one byte short", kFileSize - 1, false},
      {"exact", kFileSize, true},
      {"longer", kFileSize + 100, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(BadFile());
    Bytes content = DocumentedFile();
    content.resize(c.size, 0x77);
    WriteBytes(File(), content);
    auto s = SentinelStore();

    Load(*s);
    EXPECT_FALSE(fs::exists(BadFile())) << "loading alone must change no file";

    if (c.loads) {
      EXPECT_EQ(loaded.What, TLoadResult::TWhat::Loaded);
      EXPECT_EQ(std::memcmp(s.get(), content.data(), kFileSize), 0);
      Save(*s);
      EXPECT_EQ(fs::file_size(File()), kFileSize);
      EXPECT_FALSE(fs::exists(BadFile()));
      EXPECT_TRUE(saved.KeptAs.empty());
    } else {
      EXPECT_EQ(loaded.What, TLoadResult::TWhat::Damaged);
      EXPECT_TRUE(SameBytes(*s, *SentinelStore())) << "a failed load changed the store";
      // The first save keeps the whole unread file before replacing it.
      Save(*s);
      ASSERT_TRUE(fs::exists(BadFile()));
      EXPECT_EQ(ReadBytes(BadFile()), content) << "the unread file was not kept";
      EXPECT_EQ(fs::file_size(File()), kFileSize);
      EXPECT_TRUE(saved.Saved());
      EXPECT_EQ(fs::path(saved.KeptAs), BadFile()) << "the result does not say where the copy is";
    }
  }
}

TEST_F(AlarmFile, KeptCopiesNeverReplaceEachOther) {
  // Three failed starts, each followed by a change: every old file survives.
  const Bytes olds[] = {Bytes(10, 1), Bytes(20, 2), Bytes(30, 3)};
  for (const Bytes& old : olds) {
    WriteBytes(File(), old);
    auto s = SentinelStore();
    Load(*s);
    ASSERT_TRUE(file.Unread);
    Save(*s);
    EXPECT_FALSE(file.Unread);
  }
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec.bad")), olds[0]);
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec.bad2")), olds[1]);
  EXPECT_EQ(ReadBytes(dir.Path(L"alarm.rec.bad3")), olds[2]);
  // A later save of a file that loaded keeps nothing more.
  auto s = ZeroStore();
  Load(*s);
  Save(*s);
  EXPECT_FALSE(fs::exists(dir.Path(L"alarm.rec.bad4")));
}

TEST_F(AlarmFile, AFileThatVanishedBeforeTheSaveNeedsNoCopy) {
  WriteBytes(File(), Bytes(5, 9));
  auto s = ZeroStore();
  Load(*s);
  fs::remove(File());
  Save(*s);
  EXPECT_FALSE(fs::exists(BadFile()));
  EXPECT_TRUE(saved.Saved());
  EXPECT_TRUE(saved.KeptAs.empty());
  EXPECT_EQ(fs::file_size(File()), kFileSize);
}

TEST_F(AlarmFile, StaleTemporaryFilesAndFoldersDoNotBlockASave) {
  // What a crashed save or another tool could leave where the temporary
  // file goes: the old fixed name as a folder, and stale entries under the
  // names this process tries first (read-only files and a folder).
  fs::create_directory(dir.Path(L"alarm.rec.tmp"));
  const std::wstring target = dir.ProgramDir() + L"alarm.rec";
  std::vector<fs::path> stale;
  for (unsigned attempt = 0; attempt < 3; ++attempt) {
    stale.push_back(fileio::TempFileName(target, attempt));
    if (attempt == 1) {
      fs::create_directory(stale.back());
    } else {
      WriteBytes(stale.back(), Bytes{7});
      fs::permissions(stale.back(), fs::perms::owner_read, fs::perm_options::replace);
    }
  }
  auto s = SentinelStore();
  Save(*s);
  auto loaded = ZeroStore();
  Load(*loaded);
  EXPECT_TRUE(SameBytes(*loaded, *s));
  for (const fs::path& p : stale) EXPECT_TRUE(fs::exists(p)) << "a stale entry was touched";
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path(L"")), fs::directory_iterator()), 5)
      << "a temporary file was left behind";
  for (const fs::path& p : stale) fs::permissions(p, fs::perms::owner_all, fs::perm_options::add);
}

TEST_F(AlarmFile, FileThatCannotBeOpenedLeavesTheStore) {
  WriteBytes(File(), DocumentedFile());
  auto s = SentinelStore();
  TFaultFileSystem denied;
  denied.FailAt = 1;
  denied.Error = kErrAccessDenied;
  loaded = LoadAlarms(*s, dir.ProgramDir(), file, denied);
  EXPECT_EQ(loaded.What, TLoadResult::TWhat::NotOpened);
  EXPECT_EQ(loaded.Error, kErrAccessDenied);
  EXPECT_TRUE(file.Unread);
  EXPECT_TRUE(SameBytes(*s, *SentinelStore()));
}

#ifdef _WIN32
TEST_F(AlarmFile, ALockLongerThanTheWaitIsReportedAndTheFileIsKeptAtTheNextSave) {
  const Bytes original = DocumentedFile();
  WriteBytes(File(), original);
  auto s = SentinelStore();
  {
    HeldFile held(File(), 0);
    ASSERT_TRUE(held.Held());
    const ULONGLONG start = GetTickCount64();
    Load(*s);
    EXPECT_GE(GetTickCount64() - start, static_cast<ULONGLONG>(fileio::kLockWaitMs - 100))
        << "the lock was not waited for";
  }
  EXPECT_EQ(loaded.What, TLoadResult::TWhat::NotOpened);
  EXPECT_NE(loaded.Error, 0);
  EXPECT_TRUE(SameBytes(*s, *SentinelStore()));
  EXPECT_EQ(ReadBytes(File()), original) << "a failed load touched the file";
  // The user's first change replaces the file, but only after keeping it.
  Save(*s);
  EXPECT_EQ(ReadBytes(BadFile()), original);
}

TEST_F(AlarmFile, ABriefLockIsWaitedOutOnLoadAndOnSave) {
  const Bytes original = DocumentedFile();
  WriteBytes(File(), original);
  auto s = ZeroStore();
  {
    HeldFile held(File(), 1000);
    ASSERT_TRUE(held.Held());
    Load(*s);
  }
  EXPECT_EQ(loaded.What, TLoadResult::TWhat::Loaded);
  EXPECT_EQ(std::memcmp(s.get(), original.data(), kFileSize), 0);
  EXPECT_FALSE(file.Unread);

  s->DateCount = 1;
  {
    HeldFile held(File(), 1000);
    ASSERT_TRUE(held.Held());
    Save(*s);
    EXPECT_TRUE(saved.Saved());
  }
  auto back = ZeroStore();
  Load(*back);
  EXPECT_EQ(back->DateCount, 1);
  EXPECT_FALSE(fs::exists(BadFile()));
}
#endif

TEST_F(AlarmFile, SaveIntoAMissingFolderFails) {
  auto s = ZeroStore();
  const std::wstring missing = dir.ProgramDir() + L"missing" + dir.ProgramDir().back();
  const TSaveResult r = SaveAlarms(*s, missing, file);
  EXPECT_FALSE(r.Saved());
  EXPECT_TRUE(r.Error == kErrPathNotFound || r.Error == kErrFileNotFound) << r.Error;
}

TEST_F(AlarmFile, RussianTextSurvivesARoundTrip) {
  auto s = ZeroStore();
  const std::wstring msg = L"Вставай!\rПора на работу — «сейчас же»";
  s->DailyCount = 1;
  ToShortString(msg, s->DailyAlarms[0].Msg);
  ToShortString(L"C:\\Музыка\\Утро.mp3", s->DailyAlarms[0].Mus);
  Save(*s);

  auto back = ZeroStore();
  Load(*back);
  EXPECT_EQ(FromShortString(back->DailyAlarms[0].Msg), msg);
  EXPECT_EQ(FromShortString(back->DailyAlarms[0].Mus), L"C:\\Музыка\\Утро.mp3");
}

TEST_F(AlarmFile, HugeCountsAreClampedToTheTables) {
  Bytes b = DocumentedFile();
  for (std::size_t off = 389600; off < 389610; off += 2) PutU16(b, off, 65535);
  WriteBytes(File(), b);
  auto s = ZeroStore();
  Load(*s);
  for (int k = 0; k < kAlarmKindCount; ++k) {
    const auto kind = static_cast<TAlarmKind>(k);
    ASSERT_EQ(AlarmCount(*s, kind), 100);
    // Every live record can be read; ASan would report a read past a table.
    std::size_t total = 0;
    for (std::uint16_t i = 1; i <= AlarmCount(*s, kind); ++i) {
      total += FromShortString(*AlarmActions(*s, kind, i).Msg).size();
    }
    EXPECT_GT(total, 0u);
  }
}

TEST(FindProgramDir, IsTheFolderOfTheExecutable) {
  const struct {
    const wchar_t* exe;
    const wchar_t* dir;
  } cases[] = {
      {L"D:\\Apps\\Alarm\\prog.exe", L"D:\\Apps\\Alarm\\"},
      {L"C:\\prog.exe", L"C:\\"},
      {L"C:\\Program Files\\Tivorra\\Tivorra.exe", L"C:\\Program Files\\Tivorra\\"},
      {L"\\\\server\\share\\Будильник\\t.exe", L"\\\\server\\share\\Будильник\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(FindProgramDir(c.exe), c.dir) << c.exe;
}

}  // namespace
