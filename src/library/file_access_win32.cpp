#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "library/file_access.h"
#include "text/wide_path_win32.h"

namespace tavio {

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileAt(const std::string& path) { return DeleteFileW(WidePath(path).c_str()) != 0; }

bool MoveFileReplacing(const std::string& from, const std::string& to) {
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool CreateFolderPath(const std::string& path) {
  const auto isFolder = [](const std::string& p) {
    const DWORD attributes = GetFileAttributesW(WidePath(p).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  };
  // Every prefix ending before a separator, shortest first; a drive or a
  // share's root simply fails to be created and exists already.
  for (size_t i = path.find_first_of("\\/"); i != std::string::npos; i = path.find_first_of("\\/", i + 1))
    if (i > 0) CreateDirectoryW(WidePath(path.substr(0, i)).c_str(), nullptr);
  CreateDirectoryW(WidePath(path).c_str(), nullptr);
  return isFolder(path);
}

std::FILE* CreateNewFile(const std::string& path) {
  // CREATE_NEW fails on any existing name, a symbolic link included.
  const HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "wb");
  if (!file) _close(fd);
  return file;
}

bool FlushToDisk(std::FILE* file) {
  return std::fflush(file) == 0 &&
         FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) != 0;
}

TRegularFile::TRegularFile(const std::string& path) {
  const HANDLE file =
      CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  handle_ = reinterpret_cast<intptr_t>(file);
  // Pipes, consoles and devices would block a read or answer nonsense.
  LARGE_INTEGER size;
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0) return;
  size_ = static_cast<uint64_t>(size.QuadPart);
  isOpen_ = true;
}

TRegularFile::~TRegularFile() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool TRegularFile::ReadAt(uint64_t position, void* buffer, uint64_t count) {
  if (!isOpen_ || position > size_ || count > size_ - position) return false;
  auto* out = static_cast<char*>(buffer);
  while (count > 0) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(position);
    at.OffsetHigh = static_cast<DWORD>(position >> 32);
    const DWORD chunk = static_cast<DWORD>(count < 0x40000000 ? count : 0x40000000);
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), out, chunk, &got, &at) || got == 0) return false;
    out += got;
    position += got;
    count -= got;
  }
  return true;
}

}  // namespace tavio
