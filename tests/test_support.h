// Helpers shared by the tests: a throw-away program folder and raw files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A fresh, empty folder that is removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder as the program names it: with a trailing separator.
  const std::wstring& ProgramDir() const { return programDir_; }
  std::filesystem::path Path(const std::wstring& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
  std::wstring programDir_;
};

void WriteBytes(const std::filesystem::path& file, const Bytes& bytes);
Bytes ReadBytes(const std::filesystem::path& file);

// Little-endian writers for building files from documented offsets.
void PutU16(Bytes& b, std::size_t offset, std::uint16_t v);
void PutDouble(Bytes& b, std::size_t offset, double v);
// A text field: length byte, then the Windows-1251 bytes.
void PutText(Bytes& b, std::size_t offset, const std::string& cp1251Bytes);

// A wav file of a 440 Hz tone as 8 kHz mono 16-bit PCM.
Bytes ToneWav(std::uint32_t samples);

#ifdef _WIN32
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

// Dispatches this thread's messages, where notices and ticks arrive, until
// done() or the time is up; false when the time ran out.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// Another program holding a file open with no sharing, as a backup or sync
// tool does: for `holdMs`, or until the guard ends when it is 0.
class HeldFile {
 public:
  HeldFile(const std::filesystem::path& path, int holdMs);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool Held() const { return handle_ != kNone; }
  void Release();

 private:
  static inline void* const kNone = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
  std::atomic<void*> handle_;
  std::thread release_;
};
#endif
