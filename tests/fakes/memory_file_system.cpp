#include "fakes/memory_file_system.h"

#include <algorithm>

#include "platform/errors.h"

void TMemoryFileSystem::Reboot() {
  open_.clear();
  cut_ = false;
  cutAt_ = 0;
  failing_ = 0;
}

bool TMemoryFileSystem::Dead() {
  if (cut_) return true;
  if (cutAt_ > 0 && --cutAt_ == 0) cut_ = true;
  return false;
}

bool TMemoryFileSystem::Failing() {
  if (failing_ <= 0) return false;
  --failing_;
  ++faults_;
  return true;
}

int TMemoryFileSystem::CreateNew(const std::wstring& path, Handle& file) {
  if (Dead()) return kErrAccessDenied;
  if (cut_) return kErrAccessDenied;
  if (Files.count(path)) return kErrFileExists;
  Files[path];
  file = nextHandle_++;
  open_[file] = path;
  return 0;
}

int TMemoryFileSystem::Write(Handle file, const void* data, std::size_t size,
                             std::size_t& written) {
  written = 0;
  const bool dying = !cut_ && cutAt_ == 1;
  if (Dead() && !dying) return kErrAccessDenied;
  const auto it = open_.find(file);
  if (it == open_.end()) return kErrAccessDenied;
  std::vector<unsigned char>& bytes = Files[it->second];
  const auto* p = static_cast<const unsigned char*>(data);
  // The power goes, or the disk fills, halfway through.
  if (dying || (fault_ == TFault::DiskFull && Failing())) {
    bytes.insert(bytes.end(), p, p + size / 2);
    return dying ? kErrAccessDenied : kErrDiskFull;
  }
  bytes.insert(bytes.end(), p, p + size);
  written = size;
  return 0;
}

int TMemoryFileSystem::Flush(Handle) { return Dead() || cut_ ? kErrAccessDenied : 0; }

int TMemoryFileSystem::Close(Handle file) {
  if (Dead() || cut_) return kErrAccessDenied;
  open_.erase(file);
  return 0;
}

int TMemoryFileSystem::Replace(const std::wstring& from, const std::wstring& to) {
  if (Dead() || cut_) return kErrAccessDenied;
  if (fault_ == TFault::Locked && Failing()) {
    return kErrAccessDenied;
  }
  const auto it = Files.find(from);
  if (it == Files.end()) return kErrFileNotFound;
  Files[to] = std::move(it->second);
  Files.erase(from);
  faultsAtReplace_[to] = faults_;
  return 0;
}

void TMemoryFileSystem::Remove(const std::wstring& path) {
  if (Dead() || cut_) return;
  Files.erase(path);
}

fileio::ReadResult TMemoryFileSystem::Read(const std::wstring& path, std::size_t maxBytes) {
  fileio::ReadResult r;
  const auto it = Files.find(path);
  if (it == Files.end()) {
    r.error = kErrFileNotFound;
    return r;
  }
  r.opened = true;
  const std::size_t n = std::min(maxBytes, it->second.size());
  r.data.assign(it->second.begin(), it->second.begin() + static_cast<std::ptrdiff_t>(n));
  return r;
}

std::vector<fileio::FolderEntry> TMemoryFileSystem::List(const std::wstring& folder) {
  std::vector<fileio::FolderEntry> entries;
  for (const auto& [path, bytes] : Files) {
    if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) continue;
    const std::wstring rest = path.substr(folder.size());
    const std::size_t slash = rest.find(L'\\');
    fileio::FolderEntry e{rest.substr(0, slash), slash != std::wstring::npos};
    if (entries.empty() || entries.back().name != e.name) entries.push_back(std::move(e));
  }
  return entries;
}
