#include "fuzz/fuzz_support.h"

#include <fcntl.h>
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
  // Written over the old bytes and then cut to length, so that a file of
  // the same size keeps its pages instead of freeing and taking them anew.
  const int fd = ::open((gFolder / name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) FuzzFailure("cannot open the input file");
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n <= 0) FuzzFailure("cannot write the input file");
    done += static_cast<std::size_t>(n);
  }
  if (::ftruncate(fd, static_cast<off_t>(size)) != 0 || ::close(fd) != 0) {
    FuzzFailure("cannot write the input file");
  }
}

std::vector<std::uint8_t> ReadFuzzFile(const wchar_t* name) {
  FuzzProgramDir();
  std::ifstream in(gFolder / name, std::ios::binary | std::ios::ate);
  if (!in) FuzzFailure("cannot open a file the code under test wrote");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in) FuzzFailure("cannot read a file the code under test wrote");
  return bytes;
}

void RemoveFuzzFile(const wchar_t* name) {
  FuzzProgramDir();
  std::error_code ignored;
  fs::remove(gFolder / name, ignored);
}

void FuzzFailure(const char* what) {
  std::fprintf(stderr, "fuzz target: %s\n", what);
  std::abort();
}
