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

// Reads the first `maxBytes` bytes of a file (fewer when it is shorter).
ReadResult ReadHead(const std::wstring& path, std::size_t maxBytes);

// Writes `data` to a temporary file in the same folder, flushes it and moves
// it over `path`. Returns 0, or the error number when the old file is left
// as it was.
int ReplaceAtomically(const std::wstring& path, const void* data, std::size_t size);

// Test hooks: the next open for reading, or the next write, fails with
// `errorCode` inside the real code path (the write after half of the data).
void FailNextOpenForTesting(int errorCode);
void FailNextWriteForTesting(int errorCode);

// Shared by both halves.
namespace detail {
int TakeOpenFault();
int TakeWriteFault();
}  // namespace detail

}  // namespace fileio
