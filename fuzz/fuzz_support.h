// Shared by the fuzz targets: a private program folder for the loaders,
// which read their files from it, a reader of the fuzzer's input, and a
// stop that libFuzzer reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// A folder made once per process (in memory where the system has
// /dev/shm), removed at exit. With the trailing separator, as ProgramDir.
const std::wstring& FuzzProgramDir();

// Replaces `name` in that folder with the bytes.
void WriteFuzzFile(const wchar_t* name, const std::uint8_t* data, std::size_t size);
// The whole file `name` of that folder; a failure to read it is a finding.
std::vector<std::uint8_t> ReadFuzzFile(const wchar_t* name);
// Removes `name` from that folder when it is there.
void RemoveFuzzFile(const wchar_t* name);

// A broken promise of the code under test: print it and abort, which
// libFuzzer records as a finding with the input that led to it.
[[noreturn]] void FuzzFailure(const char* what);

// Takes an input apart front to back, little-endian. Past the end every
// read gives zeros, so any input, however short, is a whole case.
class TFuzzInput {
 public:
  TFuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t Left() const { return size_ - at_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Bytes(2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Bytes(4)); }
  std::uint64_t U64() { return Bytes(8); }
  double Double() {
    const std::uint64_t bits = U64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  // The next `n` bytes as they are (fewer at the end).
  std::vector<std::uint8_t> Take(std::size_t n) {
    n = n < Left() ? n : Left();
    std::vector<std::uint8_t> out(data_ + at_, data_ + at_ + n);
    at_ += n;
    return out;
  }
  std::vector<std::uint8_t> Rest() { return Take(Left()); }

 private:
  std::uint64_t Bytes(int n) {
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<std::uint64_t>(Byte()) << (8 * i);
    return v;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};
