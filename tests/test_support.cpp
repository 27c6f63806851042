#include "test_support.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> serial{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = fs::temp_directory_path() /
          ("tivorra-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
  fs::create_directories(path_);
#ifdef _WIN32
  programDir_ = path_.wstring() + L"\\";
#else
  programDir_ = path_.wstring() + L"/";
#endif
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void WriteBytes(const fs::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write test file");
}

Bytes ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read test file");
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutU16(Bytes& b, std::size_t offset, std::uint16_t v) {
  b.at(offset) = static_cast<std::uint8_t>(v & 0xFF);
  b.at(offset + 1) = static_cast<std::uint8_t>(v >> 8);
}

void PutDouble(Bytes& b, std::size_t offset, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  for (int i = 0; i < 8; ++i) b.at(offset + i) = static_cast<std::uint8_t>(bits >> (8 * i));
}

void PutText(Bytes& b, std::size_t offset, const std::string& cp1251Bytes) {
  b.at(offset) = static_cast<std::uint8_t>(cp1251Bytes.size());
  for (std::size_t i = 0; i < cp1251Bytes.size(); ++i) {
    b.at(offset + 1 + i) = static_cast<std::uint8_t>(cp1251Bytes[i]);
  }
}

Bytes ToneWav(std::uint32_t samples) {
  Bytes b;
  const auto put = [&b](std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const auto tag = [&b](const char* text) { b.insert(b.end(), text, text + 4); };
  tag("RIFF"), put(36 + 2 * samples, 4), tag("WAVE"), tag("fmt "), put(16, 4);
  put(1, 2), put(1, 2), put(8000, 4), put(16000, 4), put(2, 2), put(16, 2);
  tag("data"), put(2 * samples, 4);
  for (std::uint32_t i = 0; i < samples; ++i) {
    put(static_cast<std::uint16_t>(std::lround(8000 * std::sin(i * 440 * 6.2832 / 8000))), 2);
  }
  return b;
}

#ifdef _WIN32
#include <windows.h>

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (MSG msg; !done(); MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (!done() && std::chrono::steady_clock::now() >= end) return false;
  }
  return true;
}

HeldFile::HeldFile(const fs::path& path, int holdMs)
    : handle_(CreateFileW(path.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
  if (holdMs > 0) {
    release_ = std::thread([this, holdMs] {
      Sleep(static_cast<DWORD>(holdMs));
      Release();
    });
  }
}

HeldFile::~HeldFile() {
  if (release_.joinable()) release_.join();
  Release();
}

void HeldFile::Release() {
  void* h = handle_.exchange(kNone);
  if (h != kNone) CloseHandle(h);
}
#endif
