// The system's file calls with one of them failing on purpose. Calls are
// numbered from 1 in the order they are made; call `FailAt` fails with
// `Error`. A failing write first writes half of what it was given, as a
// full disk does. With `Crash`, that call and every later one do nothing
// and fail, as if the process had died there: nothing is cleaned up.
// Writes go through in pieces of at most `WriteChunk` bytes, so a save of
// a large file is several writes, each a place to fail.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/file_system.h"

class TFaultFileSystem : public fileio::TFileSystem {
 public:
  int FailAt = 0;  // 0: nothing fails
  int Error = 0;
  bool Crash = false;
  std::size_t WriteChunk = 100000;
  // A failing read opens the file and stops with half its bytes, as a bad
  // sector or a network drive that drops does; otherwise it opens nothing.
  bool ReadOpens = false;
  std::vector<std::string> Calls;  // "CreateNew", "Write", ... in order

  int CreateNew(const std::wstring& path, Handle& file) override;
  int Write(Handle file, const void* data, std::size_t size, std::size_t& written) override;
  int Flush(Handle file) override;
  int Close(Handle file) override;
  int Replace(const std::wstring& from, const std::wstring& to) override;
  void Remove(const std::wstring& path) override;
  // A failing read opens nothing, as a file held or denied (see ReadOpens).
  fileio::ReadResult Read(const std::wstring& path, std::size_t maxBytes) override;
  // A failing listing finds nothing, as an unreadable folder.
  std::vector<fileio::FolderEntry> List(const std::wstring& folder) override;

 private:
  // Records the call; true when it is to fail (and `crashed_` from then on).
  bool Fails(const char* name);
  fileio::TFileSystem& real_ = fileio::SystemFileSystem();
  bool crashed_ = false;
};
