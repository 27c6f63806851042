// config.cfg of any content: the loader takes seven bytes or refuses the
// file, keeps only clean on/off values, and what it took saves back the same.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "store/settings.h"

namespace {

bool SameSettings(const TSettings& a, const TSettings& b) {
  return std::memcmp(&a, &b, sizeof(TSettings)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring& dir = FuzzProgramDir();
  WriteFuzzFile(kConfigFileName, data, size);

  const TSettings before{1, 0, 1, 0, 1, 0, 1};
  TSettings settings = before;
  const TLoadResult read = ReadConfigFile(settings, dir);

  if (size < sizeof(TSettings)) {
    if (read.What != TLoadResult::TWhat::Damaged) FuzzFailure("a short file was not reported");
    if (!SameSettings(settings, before)) FuzzFailure("a refused file changed the settings");
    return 0;
  }
  if (read.What != TLoadResult::TWhat::Loaded) FuzzFailure("a whole file was reported");
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&settings);
  for (std::size_t i = 0; i < sizeof(TSettings); ++i) {
    if (bytes[i] != (data[i] != 0 ? 1 : 0)) FuzzFailure("a value is not the file's, as 0 or 1");
  }

  if (WriteConfigFile(settings, dir) != 0) FuzzFailure("the settings could not be saved");
  TSettings again{};
  if (ReadConfigFile(again, dir).What != TLoadResult::TWhat::Loaded ||
      !SameSettings(settings, again)) {
    FuzzFailure("saved settings do not load back the same");
  }
  return 0;
}
