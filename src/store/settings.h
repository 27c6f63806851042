// The seven on/off values kept between runs. The record is also the exact
// image of config.cfg, so its size and every offset are part of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "store/file_result.h"

namespace fileio {
class TFileSystem;
}

inline constexpr wchar_t kConfigFileName[] = L"config.cfg";

// One byte each: 0 is false, any other byte is true. The program keeps and
// writes only 0 and 1, so a reader may also compare with true. At program
// start every value is false.
struct TSettings {
  std::uint8_t ListVisible = 0;
  std::uint8_t EditorVisible = 0;
  std::uint8_t AddMode = 0;
  std::uint8_t AutoLoad = 0;
  std::uint8_t EditOnClick = 0;
  std::uint8_t MinToTrayOnClose = 0;
  std::uint8_t ShowMessages = 0;
};

static_assert(sizeof(TSettings) == 7);
static_assert(offsetof(TSettings, ListVisible) == 0);
static_assert(offsetof(TSettings, EditorVisible) == 1);
static_assert(offsetof(TSettings, AddMode) == 2);
static_assert(offsetof(TSettings, AutoLoad) == 3);
static_assert(offsetof(TSettings, EditOnClick) == 4);
static_assert(offsetof(TSettings, MinToTrayOnClose) == 5);
static_assert(offsetof(TSettings, ShowMessages) == 6);

// Replaces all seven values with config.cfg's when the file holds at least
// seven bytes (later bytes are ignored). A missing file, or one that cannot
// be opened or read whole, changes nothing; the result says which.
TLoadResult ReadConfigFile(TSettings& settings, const std::wstring& programDir);
// The same over the given file system calls.
TLoadResult ReadConfigFile(TSettings& settings, const std::wstring& programDir,
                           fileio::TFileSystem& fs);

// Replaces config.cfg with the seven values. Returns 0, or the error number
// when the old file is left as it was; the caller decides how to tell.
int WriteConfigFile(const TSettings& settings, const std::wstring& programDir);
// The same over the given file system calls.
int WriteConfigFile(const TSettings& settings, const std::wstring& programDir,
                    fileio::TFileSystem& fs);
