// A music file opened read-only for a tag reader: its size, and reads that
// are checked against that size before anything is allocated or read.
#pragma once
#include <cstdint>
#include <fstream>
#include <string>

namespace tavio {

class TTagFile {
 public:
  // A missing or unreadable file gives IsOpen() false.
  explicit TTagFile(const std::string& fileName);

  bool IsOpen() const { return isOpen_; }
  uint64_t Size() const { return size_; }

  // Reads count bytes at position; false (and nothing read) when they do not
  // all lie inside the file or the read fails.
  bool ReadAt(uint64_t position, void* buffer, uint64_t count);

 private:
  std::ifstream stream_;
  uint64_t size_ = 0;
  bool isOpen_ = false;
};

}  // namespace tavio
