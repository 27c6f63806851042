#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path gFolder;

void RemoveFolder() {
  std::error_code ignored;
  fs::remove_all(gFolder, ignored);
}

fs::path MakeFolder() {
  std::error_code e;
  const fs::path base =
      fs::is_directory("/dev/shm", e) ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string pattern = (base / "tivorra-fuzz-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) FuzzFailure("cannot make the program folder");
  gFolder = pattern;
  std::atexit(RemoveFolder);
  return gFolder;
}

}  // namespace

const std::wstring& FuzzProgramDir() {
  static const std::wstring dir = MakeFolder().wstring() + L"/";
  return dir;
}

void WriteFuzzFile(const wchar_t* name, const std::uint8_t* data, std::size_t size) {
  FuzzProgramDir();
  std::ofstream out(gFolder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) FuzzFailure("cannot write the input file");
}

void FuzzFailure(const char* what) {
  std::fprintf(stderr, "fuzz target: %s\n", what);
  std::abort();
}
