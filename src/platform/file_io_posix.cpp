// The Linux half, used by the native build and its tests.
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/errors.h"
#include "platform/file_io.h"

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

ReadResult ReadHead(const std::wstring& path, std::size_t maxBytes) {
  ReadResult r;
  if (int fault = detail::TakeOpenFault()) {
    r.error = fault;
    return r;
  }
  const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    r.error = FromErrno(errno);
    return r;
  }
  r.opened = true;
  r.data.resize(maxBytes);
  std::size_t got = 0;
  while (got < maxBytes) {
    const ssize_t n = ::read(fd, r.data.data() + got, maxBytes - got);
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

int ReplaceAtomically(const std::wstring& path, const void* data, std::size_t size) {
  const std::string target = NativePath(path);
  const std::string temp = target + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return FromErrno(errno);

  int error = 0;
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::size_t done = 0;
  const int fault = detail::TakeWriteFault();
  const std::size_t limit = fault ? size / 2 : size;
  while (done < limit) {
    const ssize_t n = ::write(fd, bytes + done, limit - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = FromErrno(errno);
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (!error && fault) error = fault;
  if (!error && ::fsync(fd) != 0) error = FromErrno(errno);
  if (::close(fd) != 0 && !error) error = FromErrno(errno);
  if (!error && ::rename(temp.c_str(), target.c_str()) != 0) error = FromErrno(errno);
  if (error) ::unlink(temp.c_str());
  return error;
}

}  // namespace fileio
