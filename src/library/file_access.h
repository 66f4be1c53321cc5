// Existence tests, deletion and replacement of files by UTF-8 path: Windows
// paths with backslashes on Win32 (any depth), used as given natively; and the
// one way the library opens a file to read it, which takes regular files
// only, so a named pipe called "song.mp3" cannot block a read for ever.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tavio {

// False for folders and for anything that cannot be examined.
bool FileExists(const std::string& path);
// True when the file was deleted.
bool DeleteFileAt(const std::string& path);
// Renames from to to, replacing an existing to in one step; true on success.
bool MoveFileReplacing(const std::string& from, const std::string& to);
// Creates the folder with every missing parent; true when it exists afterwards.
bool CreateFolderPath(const std::string& path);
// Opens a new file for binary writing; null when anything at all has that
// name already (a file, a folder, a link, dangling or not, never followed).
std::FILE* CreateNewFile(const std::string& path);
// Flushes the file's buffers and has the system put its data on the disk.
bool FlushToDisk(std::FILE* file);

// A regular file opened for reading. Anything else at the path (a folder, a
// pipe, a device) is not opened: natively the type is checked before and
// after a non-blocking open, on Win32 a handle that is not a disk file is
// closed again.
class TRegularFile {
 public:
  // A missing, unreadable or irregular file gives IsOpen() false.
  explicit TRegularFile(const std::string& path);
  ~TRegularFile();
  TRegularFile(const TRegularFile&) = delete;
  TRegularFile& operator=(const TRegularFile&) = delete;

  bool IsOpen() const { return isOpen_; }
  // The size when it was opened.
  uint64_t Size() const { return size_; }
  // Reads count bytes at position; false when they do not all lie inside the
  // file or the read fails (the buffer may then hold part of them).
  bool ReadAt(uint64_t position, void* buffer, uint64_t count);

 private:
  intptr_t handle_ = -1;
  uint64_t size_ = 0;
  bool isOpen_ = false;
};

// The whole regular file. Raises std::runtime_error naming the path when it
// cannot be opened or read, or holds more than maxBytes.
std::vector<uint8_t> ReadRegularFile(const std::string& path, uint64_t maxBytes);

}  // namespace tavio
