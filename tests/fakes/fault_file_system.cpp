#include "fakes/fault_file_system.h"

bool TFaultFileSystem::Fails(const char* name) {
  Calls.push_back(name);
  if (crashed_) return true;
  if (static_cast<int>(Calls.size()) != FailAt) return false;
  if (Crash) crashed_ = true;
  return true;
}

int TFaultFileSystem::CreateNew(const std::wstring& path, Handle& file) {
  if (Fails("CreateNew")) return Error;
  return real_.CreateNew(path, file);
}

int TFaultFileSystem::Write(Handle file, const void* data, std::size_t size, std::size_t& written) {
  const std::size_t piece = size < WriteChunk ? size : WriteChunk;
  const bool crashedBefore = crashed_;
  if (Fails("Write")) {
    // The failing write itself tears: half of its piece reaches the file.
    std::size_t ignored = 0;
    if (!crashedBefore && piece / 2 > 0) real_.Write(file, data, piece / 2, ignored);
    return Error;
  }
  return real_.Write(file, data, piece, written);
}

int TFaultFileSystem::Flush(Handle file) {
  if (Fails("Flush")) return Error;
  return real_.Flush(file);
}

int TFaultFileSystem::Close(Handle file) {
  // A handle is closed even when the close reports a failure, and a dead
  // process's handles are closed by the system: never leak the real one.
  const bool fails = Fails("Close");
  const int error = real_.Close(file);
  return fails ? Error : error;
}

int TFaultFileSystem::Replace(const std::wstring& from, const std::wstring& to) {
  if (Fails("Replace")) return Error;
  return real_.Replace(from, to);
}

void TFaultFileSystem::Remove(const std::wstring& path) {
  if (Fails("Remove")) return;
  real_.Remove(path);
}

fileio::ReadResult TFaultFileSystem::Read(const std::wstring& path, std::size_t maxBytes) {
  if (Fails("Read")) {
    fileio::ReadResult r;
    if (ReadOpens && !crashed_) {
      r = real_.Read(path, maxBytes);
      if (!r.opened) return r;
      r.data.resize(r.data.size() / 2);
      r.readFailed = true;
    }
    r.error = Error;
    return r;
  }
  return real_.Read(path, maxBytes);
}

std::vector<fileio::FolderEntry> TFaultFileSystem::List(const std::wstring& folder) {
  if (Fails("List")) return {};
  return real_.List(folder);
}
