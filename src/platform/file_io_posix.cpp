// The Linux half, used by the native build and its tests.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/decimal_text.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/file_system.h"

namespace fileio {
namespace {

std::string NativePath(const std::wstring& path) {
  std::string out;
  for (wchar_t wc : path) {
    unsigned long c = static_cast<unsigned long>(wc);
    if (c == '\\') c = '/';
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

int FromErrno(int e) {
  switch (e) {
    case ENOENT: return kErrFileNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case EMFILE:
    case ENFILE: return kErrTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return kErrAccessDenied;
    case ENOSPC:
    case EDQUOT: return kErrDiskFull;
    default: return e;
  }
}

}  // namespace

bool FileExists(const std::wstring& path) {
  struct stat st {};
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

ReadResult Read(const std::wstring& path, std::size_t maxBytes) {
  ReadResult r;
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    r.error = FromErrno(errno);
    return r;
  }
  r.opened = true;
  std::size_t got = 0;
  for (;;) {
    if (got == r.data.size()) {
      if (got >= maxBytes) break;
      r.data.resize(got + std::min<std::size_t>(maxBytes - got, got < 65536 ? 65536 : got));
    }
    const ssize_t n = ::read(fd, r.data.data() + got, r.data.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.readFailed = true;
      r.error = FromErrno(errno);
      break;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  r.data.resize(got);
  ::close(fd);
  return r;
}

}  // namespace

// Linux has no mandatory sharing locks, so nothing here waits for another
// program: only Windows needs kLockWaitMs.
ReadResult ReadHead(const std::wstring& path, std::size_t maxBytes) { return Read(path, maxBytes); }

ReadResult ReadAll(const std::wstring& path) { return Read(path, static_cast<std::size_t>(-1)); }

std::wstring TempFileName(const std::wstring& path, unsigned attempt) {
  return path + L".~" + DecimalText(::getpid()) + L"-" + DecimalText(attempt) + L".tmp";
}

namespace {

class TPosixFileSystem : public TFileSystem {
 public:
  int CreateNew(const std::wstring& path, Handle& file) override {
    const int fd =
        ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return errno == EEXIST ? kErrFileExists : FromErrno(errno);
    file = fd;
    return 0;
  }
  int Write(Handle file, const void* data, std::size_t size, std::size_t& written) override {
    ssize_t n;
    do {
      n = ::write(static_cast<int>(file), data, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return FromErrno(errno);
    written = static_cast<std::size_t>(n);
    return 0;
  }
  int Flush(Handle file) override {
    return ::fsync(static_cast<int>(file)) == 0 ? 0 : FromErrno(errno);
  }
  int Close(Handle file) override {
    return ::close(static_cast<int>(file)) == 0 ? 0 : FromErrno(errno);
  }
  int Replace(const std::wstring& from, const std::wstring& to) override {
    return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0 ? 0 : FromErrno(errno);
  }
  void Remove(const std::wstring& path) override { ::unlink(NativePath(path).c_str()); }
  ReadResult Read(const std::wstring& path, std::size_t maxBytes) override {
    return ReadHead(path, maxBytes);
  }
  std::vector<FolderEntry> List(const std::wstring& folder) override { return ListFolder(folder); }
};

}  // namespace

TFileSystem& SystemFileSystem() {
  static TPosixFileSystem fs;
  return fs;
}

namespace {

// File names on Linux are UTF-8; anything else reads as one character a byte.
std::wstring WideName(const std::string& s) {
  std::wstring out;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (i + static_cast<std::size_t>(extra) >= s.size()) extra = 0;
    unsigned long v = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) v = (v << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(static_cast<wchar_t>(v));
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

}  // namespace

std::vector<FolderEntry> ListFolder(const std::wstring& folder) {
  std::vector<FolderEntry> entries;
  const std::string path = NativePath(folder);
  DIR* dir = opendir(path.empty() ? "." : path.c_str());
  if (!dir) return entries;
  while (const dirent* e = readdir(dir)) {
    struct stat st{};
    const bool isFolder = stat((path + "/" + e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    entries.push_back({WideName(e->d_name), isFolder});
  }
  closedir(dir);
  return entries;
}

}  // namespace fileio
