#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "settings/file_replace.h"

namespace tavio {
namespace {

[[noreturn]] void Fail(const std::string& path, const char* what) {
  throw std::runtime_error("Cannot write " + path + ": " + what + " (" + std::strerror(errno) + ")");
}

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t written = ::write(fd, contents.data(), contents.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    contents.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The rename is durable only once the folder entry is on disk too.
void SyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view contents) {
  const std::string temporary = path + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) Fail(temporary, "cannot create");
  bool ok = WriteAll(fd, contents) && ::fsync(fd) == 0;
  int writeErrno = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    writeErrno = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    errno = writeErrno;
    Fail(temporary, "write failed");
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameErrno = errno;
    ::unlink(temporary.c_str());
    errno = renameErrno;
    Fail(path, "cannot replace");
  }
  SyncFolderOf(path);
}

}  // namespace tavio
