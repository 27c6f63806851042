#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>

#include "fakes/fake_services.h"
#include "fakes/fault_file_system.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "store/settings.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

Bytes BytesOf(const TSettings& s) {
  Bytes b(sizeof s);
  std::memcpy(b.data(), &s, sizeof s);
  return b;
}

// Values no file in these tests holds, so any change shows.
TSettings Sentinel() { return {1, 0, 1, 0, 1, 0, 1}; }

class SettingsFile : public testing::Test {
 protected:
  TempDir dir;
  fs::path File() const { return dir.Path(L"config.cfg"); }
};

TEST_F(SettingsFile, EachValueIsWrittenToItsOwnByteAndReadBack) {
  std::uint8_t TSettings::*const fields[] = {&TSettings::ListVisible, &TSettings::EditorVisible,
                                             &TSettings::AddMode,     &TSettings::AutoLoad,
                                             &TSettings::EditOnClick, &TSettings::MinToTrayOnClose,
                                             &TSettings::ShowMessages};
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    SCOPED_TRACE(i);
    TSettings written;
    written.*fields[i] = 1;
    WriteConfigFile(written, dir.ProgramDir());

    Bytes expected(7, 0);
    expected[i] = 1;
    EXPECT_EQ(ReadBytes(File()), expected);

    TSettings read = Sentinel();
    EXPECT_EQ(ReadConfigFile(read, dir.ProgramDir()).What, TLoadResult::TWhat::Loaded);
    EXPECT_EQ(BytesOf(read), expected);
  }
}

TEST_F(SettingsFile, FilesOfOtherContents) {
  struct Case {
    const char* name;
    Bytes file;
    Bytes loaded;  // empty: damaged, and the settings are kept
  };
  const Case cases[] = {
      {"empty", {}, {}},
      {"three bytes", {1, 1, 1}, {}},
      {"one byte short", {0, 1, 0, 1, 0, 1}, {}},
      {"any non-zero byte is true", {2, 0, 255, 1, 0, 0x80, 0}, {1, 0, 1, 1, 0, 1, 0}},
      {"bytes after the seventh", {0, 1, 0, 1, 0, 1, 0, 1, 1, 1}, {0, 1, 0, 1, 0, 1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(File(), c.file);
    TSettings s = Sentinel();

    const TLoadResult r = ReadConfigFile(s, dir.ProgramDir());

    if (c.loaded.empty()) {
      EXPECT_EQ(r.What, TLoadResult::TWhat::Damaged);
      EXPECT_EQ(BytesOf(s), BytesOf(Sentinel()));
    } else {
      EXPECT_EQ(r.What, TLoadResult::TWhat::Loaded);
      EXPECT_EQ(BytesOf(s), c.loaded);
      WriteConfigFile(s, dir.ProgramDir());
      EXPECT_EQ(ReadBytes(File()), c.loaded);
    }
  }
}

TEST_F(SettingsFile, AMissingFileChangesNothing) {
  TSettings s = Sentinel();
  EXPECT_EQ(ReadConfigFile(s, dir.ProgramDir()).What, TLoadResult::TWhat::Absent);
  EXPECT_EQ(BytesOf(s), BytesOf(Sentinel()));
}

TEST_F(SettingsFile, AFileThatCannotBeOpenedChangesNothing) {
  WriteBytes(File(), Bytes(7, 0));
  TSettings s = Sentinel();
  TFaultFileSystem denied;
  denied.FailAt = 1;
  denied.Error = kErrAccessDenied;
  const TLoadResult r = ReadConfigFile(s, dir.ProgramDir(), denied);
  EXPECT_EQ(r.What, TLoadResult::TWhat::NotOpened);
  EXPECT_EQ(r.Error, kErrAccessDenied);
  EXPECT_EQ(denied.Calls, std::vector<std::string>{"Read"});
  EXPECT_EQ(BytesOf(s), BytesOf(Sentinel()));
}

TEST_F(SettingsFile, FailedWriteKeepsTheOldFileWholeAndSaysWhy) {
  const Bytes original = {0, 0, 0, 1, 0, 0, 0};
  WriteBytes(File(), original);
  TFaultFileSystem disk;
  disk.FailAt = 2;  // the write
  disk.Error = kErrDiskFull;
  EXPECT_EQ(WriteConfigFile(Sentinel(), dir.ProgramDir(), disk), kErrDiskFull);
  ASSERT_EQ(disk.Calls.at(1), "Write");
  EXPECT_EQ(ReadBytes(File()), original);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path(L"")), fs::directory_iterator()), 1)
      << "a temporary file was left behind";
}

}  // namespace
