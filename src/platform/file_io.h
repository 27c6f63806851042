// Whole-file reads and atomic replacement, the only file access the stored
// records need. Paths are the program's own (backslashes); on Linux the
// backslashes are taken as folder separators.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fileio {

// True for an existing file, false for a folder or nothing.
bool FileExists(const std::wstring& path);

struct ReadResult {
  bool opened = false;      // false: `error` says why the file could not be opened
  bool readFailed = false;  // opened, but reading stopped with `error`
  int error = 0;
  std::vector<unsigned char> data;  // the bytes read, at most the asked number
};

// How long a file that another program holds open (a backup, a sync tool, a
// virus scan) is waited for before its open or replacement fails. Windows
// reports such a file with a sharing or lock violation, or access denied;
// those are retried every kLockRetryMs until the time is up. Other errors
// fail at once.
inline constexpr int kLockWaitMs = 2000;
inline constexpr int kLockRetryMs = 50;

// Reads the first `maxBytes` bytes of a file (fewer when it is shorter).
ReadResult ReadHead(const std::wstring& path, std::size_t maxBytes);

// Reads a whole file, however long.
ReadResult ReadAll(const std::wstring& path);

// Creates `path`, which must not exist yet, with `data`. Returns 0,
// kErrFileExists when something of that name is there (it is left alone),
// or another error number; a failed write removes what it created.
// This and ReplaceAtomically are made of the calls in platform/file_system.h.
int WriteNew(const std::wstring& path, const void* data, std::size_t size);

// Writes `data` to a temporary file of its own in the same folder, flushes
// it and moves it over `path`. Returns 0, or the error number when the old
// file is left as it was; the temporary file is removed then.
int ReplaceAtomically(const std::wstring& path, const void* data, std::size_t size);

// The name of this process's `attempt`-th temporary file for replacing
// `path`. A save takes the first one that can be created, so a stale file or
// a folder in the way only moves it on to the next.
std::wstring TempFileName(const std::wstring& path, unsigned attempt);
inline constexpr unsigned kTempAttempts = 100;

// One entry of a folder, as the file system enumerates it.
struct FolderEntry {
  std::wstring name;
  bool isFolder = false;
};

// Every entry of `folder` (which ends with a separator) in the file
// system's own order, "." and ".." included where the system reports them.
// A missing or unreadable folder gives nothing.
std::vector<FolderEntry> ListFolder(const std::wstring& folder);

}  // namespace fileio
