// Writing a new file and replacing one, the same on both halves.
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/file_system.h"

namespace fileio {
namespace {

int WriteAll(TFileSystem& fs, TFileSystem::Handle file, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::size_t done = 0;
  while (done < size) {
    std::size_t n = 0;
    if (const int error = fs.Write(file, bytes + done, size - done, n)) return error;
    // A write that takes nothing would loop for ever; a full disk does that.
    if (n == 0) return kErrDiskFull;
    done += n;
  }
  return 0;
}

}  // namespace

int WriteNew(TFileSystem& fs, const std::wstring& path, const void* data, std::size_t size) {
  TFileSystem::Handle file{};
  if (const int error = fs.CreateNew(path, file)) return error;
  int error = WriteAll(fs, file, data, size);
  if (!error) error = fs.Flush(file);
  const int closeError = fs.Close(file);
  if (!error) error = closeError;
  if (error) fs.Remove(path);
  return error;
}

int ReplaceAtomically(TFileSystem& fs, const std::wstring& path, const void* data,
                      std::size_t size) {
  std::wstring temp;
  int error = kErrFileExists;
  for (unsigned attempt = 0; attempt < kTempAttempts && error == kErrFileExists; ++attempt) {
    temp = TempFileName(path, attempt);
    error = WriteNew(fs, temp, data, size);
  }
  if (error) return error;
  error = fs.Replace(temp, path);
  if (error) fs.Remove(temp);
  return error;
}

int WriteNew(const std::wstring& path, const void* data, std::size_t size) {
  return WriteNew(SystemFileSystem(), path, data, size);
}

int ReplaceAtomically(const std::wstring& path, const void* data, std::size_t size) {
  return ReplaceAtomically(SystemFileSystem(), path, data, size);
}

bool NoFileThere(const ReadResult& read, const std::wstring& path) {
  if (read.opened) return false;
  return read.error == kErrFileNotFound || read.error == kErrPathNotFound || !FileExists(path);
}

}  // namespace fileio
