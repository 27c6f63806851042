// The Windows half.
#include <windows.h>

#include "platform/errors.h"
#include "platform/file_io.h"

namespace fileio {
namespace {

int FromLastError(DWORD e) {
  switch (e) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return kErrDiskFull;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return kErrAccessDenied;
    default: return static_cast<int>(e);
  }
}

struct Handle {
  HANDLE h;
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

}  // namespace

bool FileExists(const std::wstring& path) {
  const DWORD attr = GetFileAttributesW(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

ReadResult ReadHead(const std::wstring& path, std::size_t maxBytes) {
  ReadResult r;
  if (int fault = detail::TakeOpenFault()) {
    r.error = fault;
    return r;
  }
  Handle f{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (f.h == INVALID_HANDLE_VALUE) {
    r.error = FromLastError(GetLastError());
    return r;
  }
  r.opened = true;
  r.data.resize(maxBytes);
  std::size_t got = 0;
  while (got < maxBytes) {
    DWORD n = 0;
    if (!ReadFile(f.h, r.data.data() + got, static_cast<DWORD>(maxBytes - got), &n, nullptr)) {
      r.readFailed = true;
      r.error = FromLastError(GetLastError());
      break;
    }
    if (n == 0) break;
    got += n;
  }
  r.data.resize(got);
  return r;
}

int ReplaceAtomically(const std::wstring& path, const void* data, std::size_t size) {
  const std::wstring temp = path + L".tmp";
  int error = 0;
  {
    Handle f{CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (f.h == INVALID_HANDLE_VALUE) return FromLastError(GetLastError());
    const int fault = detail::TakeWriteFault();
    const std::size_t limit = fault ? size / 2 : size;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < limit) {
      DWORD n = 0;
      if (!WriteFile(f.h, bytes + done, static_cast<DWORD>(limit - done), &n, nullptr)) {
        error = FromLastError(GetLastError());
        break;
      }
      if (n == 0) {
        error = kErrDiskFull;
        break;
      }
      done += n;
    }
    if (!error && fault) error = fault;
    if (!error && !FlushFileBuffers(f.h)) error = FromLastError(GetLastError());
  }
  if (!error && !MoveFileExW(temp.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = FromLastError(GetLastError());
  }
  if (error) DeleteFileW(temp.c_str());
  return error;
}

}  // namespace fileio
