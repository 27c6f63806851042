// The Windows half.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/decimal_text.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/file_system.h"

namespace fileio {
namespace {

int FromLastError(DWORD e) {
  switch (e) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return kErrDiskFull;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return kErrAccessDenied;
    case ERROR_ALREADY_EXISTS: return kErrFileExists;
    default: return static_cast<int>(e);
  }
}

// What another program holding the file looks like; worth waiting for.
bool HeldByAnother(DWORD e) {
  return e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION || e == ERROR_ACCESS_DENIED;
}

// Runs `attempt` (which returns 0 or a system error) until it succeeds, fails
// for another reason, or the file has been held for kLockWaitMs.
template <typename F>
DWORD RetryWhileHeld(F attempt) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    const DWORD e = attempt();
    if (e == 0 || !HeldByAnother(e) || GetTickCount64() - start >= kLockWaitMs) return e;
    Sleep(kLockRetryMs);
  }
}

struct Handle {
  HANDLE h;
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

// Reads up to `maxBytes` from an open file into `r`.
void ReadInto(HANDLE f, std::size_t maxBytes, ReadResult& r) {
  std::size_t got = 0;
  for (;;) {
    if (got == r.data.size()) {
      if (got >= maxBytes) break;
      r.data.resize(got + std::min<std::size_t>(maxBytes - got, got < 65536 ? 65536 : got));
    }
    DWORD n = 0;
    const auto want = static_cast<DWORD>(std::min<std::size_t>(r.data.size() - got, 1u << 30));
    if (!ReadFile(f, r.data.data() + got, want, &n, nullptr)) {
      r.readFailed = true;
      r.error = FromLastError(GetLastError());
      break;
    }
    if (n == 0) break;
    got += n;
  }
  r.data.resize(got);
}

ReadResult Read(const std::wstring& path, std::size_t maxBytes) {
  ReadResult r;
  HANDLE h = INVALID_HANDLE_VALUE;
  const DWORD e = RetryWhileHeld([&]() -> DWORD {
    h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  });
  if (e != 0) {
    r.error = FromLastError(e);
    return r;
  }
  Handle f{h};
  r.opened = true;
  ReadInto(f.h, maxBytes, r);
  return r;
}

}  // namespace

bool FileExists(const std::wstring& path) {
  const DWORD attr = GetFileAttributesW(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

ReadResult ReadHead(const std::wstring& path, std::size_t maxBytes) { return Read(path, maxBytes); }

ReadResult ReadAll(const std::wstring& path) { return Read(path, static_cast<std::size_t>(-1)); }

std::wstring TempFileName(const std::wstring& path, unsigned attempt) {
  return path + L".~" + DecimalText(GetCurrentProcessId()) + L"-" + DecimalText(attempt) +
         L".tmp";
}

namespace {

class TWin32FileSystem : public TFileSystem {
 public:
  int CreateNew(const std::wstring& path, Handle& file) override {
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD e = GetLastError();
      // A folder of that name answers access denied.
      if (e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS ||
          (e == ERROR_ACCESS_DENIED &&
           GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)) {
        return kErrFileExists;
      }
      return FromLastError(e);
    }
    file = reinterpret_cast<Handle>(h);
    return 0;
  }
  int Write(Handle file, const void* data, std::size_t size, std::size_t& written) override {
    const auto want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD n = 0;
    if (!WriteFile(ToHandle(file), data, want, &n, nullptr)) return FromLastError(GetLastError());
    written = n;
    return 0;
  }
  int Flush(Handle file) override {
    return FlushFileBuffers(ToHandle(file)) ? 0 : FromLastError(GetLastError());
  }
  int Close(Handle file) override {
    return CloseHandle(ToHandle(file)) ? 0 : FromLastError(GetLastError());
  }
  int Replace(const std::wstring& from, const std::wstring& to) override {
    const DWORD e = RetryWhileHeld([&]() -> DWORD {
      return MoveFileExW(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                 ? 0
                 : GetLastError();
    });
    return e == 0 ? 0 : FromLastError(e);
  }
  void Remove(const std::wstring& path) override { DeleteFileW(path.c_str()); }
  ReadResult Read(const std::wstring& path, std::size_t maxBytes) override {
    return ReadHead(path, maxBytes);
  }
  std::vector<FolderEntry> List(const std::wstring& folder) override { return ListFolder(folder); }

 private:
  static HANDLE ToHandle(Handle file) { return reinterpret_cast<HANDLE>(file); }
};

}  // namespace

TFileSystem& SystemFileSystem() {
  static TWin32FileSystem fs;
  return fs;
}

std::vector<FolderEntry> ListFolder(const std::wstring& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return entries;
}

}  // namespace fileio
