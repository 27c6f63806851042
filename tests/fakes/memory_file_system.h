// A file system held in memory: the files a save creates, writes and moves
// end up in `Files`, by path, and nothing touches the disk. For callers that
// save many times a second and then look at exactly what was written.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/file_system.h"

class TMemoryFileSystem : public fileio::TFileSystem {
 public:
  std::map<std::wstring, std::vector<unsigned char>> Files;

  int CreateNew(const std::wstring& path, Handle& file) override {
    if (Files.count(path) != 0) return kErrFileExists;
    Files[path];
    open_.push_back(path);
    file = static_cast<Handle>(open_.size());
    return 0;
  }
  int Write(Handle file, const void* data, std::size_t size, std::size_t& written) override {
    std::vector<unsigned char>& bytes = Files[open_.at(static_cast<std::size_t>(file) - 1)];
    const auto* from = static_cast<const unsigned char*>(data);
    bytes.insert(bytes.end(), from, from + size);
    written = size;
    return 0;
  }
  int Flush(Handle) override { return 0; }
  int Close(Handle file) override {
    open_.at(static_cast<std::size_t>(file) - 1).clear();
    return 0;
  }
  int Replace(const std::wstring& from, const std::wstring& to) override {
    const auto it = Files.find(from);
    if (it == Files.end()) return kErrFileNotFound;
    Files[to] = std::move(it->second);
    Files.erase(from);
    return 0;
  }
  void Remove(const std::wstring& path) override { Files.erase(path); }
  fileio::ReadResult Read(const std::wstring& path, std::size_t maxBytes) override {
    fileio::ReadResult r;
    const auto it = Files.find(path);
    if (it == Files.end()) {
      r.error = kErrFileNotFound;
      return r;
    }
    r.opened = true;
    const std::size_t n = it->second.size() < maxBytes ? it->second.size() : maxBytes;
    r.data.assign(it->second.begin(), it->second.begin() + static_cast<std::ptrdiff_t>(n));
    return r;
  }

 private:
  std::vector<std::wstring> open_;  // by handle - 1; empty once closed
};
