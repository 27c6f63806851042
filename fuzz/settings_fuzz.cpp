// config.cfg of any content: the loader takes seven bytes or refuses the
// file, keeps only clean on/off values whatever the settings held before,
// and what it took saves as exactly those seven values and loads back the
// same. A refused file is reported and changes nothing.
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "store/settings.h"

namespace {

bool SameSettings(const TSettings& a, const TSettings& b) {
  return std::memcmp(&a, &b, sizeof(TSettings)) == 0;
}

std::vector<std::uint8_t> Bytes(const TSettings& s) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(&s);
  return std::vector<std::uint8_t>(p, p + sizeof s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring& dir = FuzzProgramDir();
  WriteFuzzFile(kConfigFileName, data, size);

  // Two different starting points: a file that is taken leaves no trace of
  // either, one that is refused leaves each as it was.
  const TSettings before[] = {{1, 0, 1, 0, 1, 0, 1}, {0, 1, 0, 1, 0, 1, 0}};
  TSettings loaded[2] = {before[0], before[1]};
  for (int i = 0; i < 2; ++i) {
    const TLoadResult read = ReadConfigFile(loaded[i], dir);
    if (size < sizeof(TSettings)) {
      if (read.What != TLoadResult::TWhat::Damaged) FuzzFailure("a short file was not reported");
      if (!SameSettings(loaded[i], before[i])) FuzzFailure("a refused file changed the settings");
    } else if (read.What != TLoadResult::TWhat::Loaded) {
      FuzzFailure("a whole file was reported");
    }
  }
  if (size < sizeof(TSettings)) return 0;
  if (!SameSettings(loaded[0], loaded[1])) FuzzFailure("a load kept something of the old values");
  const std::vector<std::uint8_t> values = Bytes(loaded[0]);
  for (std::size_t i = 0; i < sizeof(TSettings); ++i) {
    if (values[i] != (data[i] != 0 ? 1 : 0)) FuzzFailure("a value is not the file's, as 0 or 1");
  }

  // Saved: the file is the seven values, and reads back as them.
  if (WriteConfigFile(loaded[0], dir) != 0) FuzzFailure("the settings could not be saved");
  if (ReadFuzzFile(kConfigFileName) != values) {
    FuzzFailure("the saved file is not the seven values");
  }
  TSettings again = before[1];
  if (ReadConfigFile(again, dir).What != TLoadResult::TWhat::Loaded ||
      !SameSettings(loaded[0], again)) {
    FuzzFailure("saved settings do not load back the same");
  }
  return 0;
}
