#include "store/settings.h"

#include <cstring>

#include "platform/file_io.h"
#include "platform/file_system.h"

namespace {

// A byte of 2 from a hand-edited or foreign file means true as well; keeping
// it as 1 lets every reader compare with true and makes the next write a
// clean 0/1 record.
void NormaliseFlags(TSettings& settings) {
  auto* bytes = reinterpret_cast<std::uint8_t*>(&settings);
  for (std::size_t i = 0; i < sizeof(TSettings); ++i) bytes[i] = bytes[i] != 0 ? 1 : 0;
}

}  // namespace

TLoadResult ReadConfigFile(TSettings& settings, const std::wstring& programDir) {
  return ReadConfigFile(settings, programDir, fileio::SystemFileSystem());
}

TLoadResult ReadConfigFile(TSettings& settings, const std::wstring& programDir,
                           fileio::TFileSystem& fs) {
  const std::wstring path = programDir + kConfigFileName;
  const fileio::ReadResult r = fs.Read(path, sizeof(TSettings));
  if (fileio::NoFileThere(r, path)) return {TLoadResult::TWhat::Absent, 0};
  if (!r.opened) return {TLoadResult::TWhat::NotOpened, r.error};
  if (r.readFailed || r.data.size() < sizeof(TSettings)) {
    return {TLoadResult::TWhat::Damaged, r.error};
  }
  TSettings loaded;
  std::memcpy(&loaded, r.data.data(), sizeof(TSettings));
  NormaliseFlags(loaded);
  settings = loaded;
  return {};
}

int WriteConfigFile(const TSettings& settings, const std::wstring& programDir) {
  return WriteConfigFile(settings, programDir, fileio::SystemFileSystem());
}

int WriteConfigFile(const TSettings& settings, const std::wstring& programDir,
                    fileio::TFileSystem& fs) {
  return fileio::ReplaceAtomically(fs, programDir + kConfigFileName, &settings, sizeof(TSettings));
}
