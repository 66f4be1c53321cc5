#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "library/file_access.h"

namespace tavio {

bool FileExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DeleteFileAt(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool CreateFolderPath(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return std::filesystem::is_directory(path, error);
}

std::FILE* CreateNewFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) ::close(fd);
  return file;
}

bool FlushToDisk(std::FILE* file) { return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0; }

TRegularFile::TRegularFile(const std::string& path) {
  // Checked before the open, which would block on a pipe without a writer,
  // and after it, on what was really opened.
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  handle_ = fd;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return;
  size_ = static_cast<uint64_t>(info.st_size);
  isOpen_ = true;
}

TRegularFile::~TRegularFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool TRegularFile::ReadAt(uint64_t position, void* buffer, uint64_t count) {
  if (!isOpen_ || position > size_ || count > size_ - position) return false;
  auto* out = static_cast<char*>(buffer);
  while (count > 0) {
    const ssize_t got = ::pread(static_cast<int>(handle_), out, static_cast<size_t>(count), static_cast<off_t>(position));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    position += static_cast<uint64_t>(got);
    count -= static_cast<uint64_t>(got);
  }
  return true;
}

}  // namespace tavio
