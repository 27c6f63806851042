// The system calls that reading and writing a file are made of, one method
// each. The program uses the system's; tests put a double in its place to
// make any one of them fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_io.h"

namespace fileio {

class TFileSystem {
 public:
  using Handle = std::intptr_t;

  virtual ~TFileSystem() = default;
  // Each returns 0 or the error number (platform/errors.h).
  // Creates `path` for writing; kErrFileExists when something of that name
  // (a file or a folder) is there already.
  virtual int CreateNew(const std::wstring& path, Handle& file) = 0;
  // Writes some of the bytes, at least one on success; `written` says how many.
  virtual int Write(Handle file, const void* data, std::size_t size, std::size_t& written) = 0;
  // Waits until the bytes written are on the disk.
  virtual int Flush(Handle file) = 0;
  virtual int Close(Handle file) = 0;
  // Moves `from` over `to` in one step: `to` is the old file or the new one.
  // On Windows a `to` that another program holds is waited for (kLockWaitMs).
  virtual int Replace(const std::wstring& from, const std::wstring& to) = 0;
  virtual void Remove(const std::wstring& path) = 0;
  // Reads the first `maxBytes` bytes of a file: ReadHead of platform/file_io.h.
  virtual ReadResult Read(const std::wstring& path, std::size_t maxBytes) = 0;
  // The entries of a folder (`folder` ends with a backslash): ListFolder of
  // platform/file_io.h. A missing or unreadable folder gives nothing.
  virtual std::vector<FolderEntry> List(const std::wstring& folder) = 0;
};

TFileSystem& SystemFileSystem();

// ReadAll, WriteNew and ReplaceAtomically of platform/file_io.h over the
// given calls.
inline ReadResult ReadAll(TFileSystem& fs, const std::wstring& path) {
  return fs.Read(path, static_cast<std::size_t>(-1));
}

// Whether a read that opened nothing found no file there: none of that
// name, or a folder. Asked of the read itself, so that a file system
// given in place of the system's answers for its own files.
bool NoFileThere(const ReadResult& read, const std::wstring& path);
int WriteNew(TFileSystem& fs, const std::wstring& path, const void* data, std::size_t size);
int ReplaceAtomically(TFileSystem& fs, const std::wstring& path, const void* data,
                      std::size_t size);

}  // namespace fileio
