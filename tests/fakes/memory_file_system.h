// Files held in memory, for runs that save thousands of times a second.
// Faults as a disk has them: the next calls fail (a full disk writes half
// of what it is given; a locked file cannot be replaced), and a power cut
// at a chosen call, after which the file system keeps what it had then,
// half of a write included, and ignores everything else.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

class TMemoryFileSystem : public fileio::TFileSystem {
 public:
  enum class TFault { None, DiskFull, Locked };

  // The next `calls` calls that can fail do, with `fault`.
  void FailNext(TFault fault, int calls) {
    fault_ = fault;
    failing_ = calls;
  }
  // The `call`-th call from now (1: the next) is the last: power is cut
  // while it runs.
  void CutPowerAt(int call) { cutAt_ = call; }
  bool PowerCut() const { return cut_; }
  // The machine starts again: open handles are gone, files stay.
  void Reboot();

  // The files as they lie on the disk now.
  std::map<std::wstring, std::vector<unsigned char>> Files;
  // Whether any call failed on purpose since `path` was last replaced.
  bool FaultedSince(const std::wstring& path) const {
    const auto it = faultsAtReplace_.find(path);
    return faults_ != (it == faultsAtReplace_.end() ? 0 : it->second);
  }

  int CreateNew(const std::wstring& path, Handle& file) override;
  int Write(Handle file, const void* data, std::size_t size, std::size_t& written) override;
  int Flush(Handle file) override;
  int Close(Handle file) override;
  int Replace(const std::wstring& from, const std::wstring& to) override;
  void Remove(const std::wstring& path) override;
  fileio::ReadResult Read(const std::wstring& path, std::size_t maxBytes) override;
  // The files directly in `folder` and the folders that hold files below
  // it, each once, in the order of their names. Nothing fails here.
  std::vector<fileio::FolderEntry> List(const std::wstring& folder) override;

 private:
  // Counts the call toward a power cut; true when the power is off by now
  // (the call does nothing, or part of it when `partly`).
  bool Dead();
  bool Failing();
  std::map<Handle, std::wstring> open_;
  Handle nextHandle_ = 1;
  TFault fault_ = TFault::None;
  int failing_ = 0;
  int faults_ = 0;  // calls failed on purpose
  std::map<std::wstring, int> faultsAtReplace_;
  int cutAt_ = 0;
  bool cut_ = false;
};
