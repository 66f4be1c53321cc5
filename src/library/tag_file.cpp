#include "library/tag_file.h"

#include <cstring>

namespace tavio {

TTagFile::TTagFile(const std::string& fileName) : stream_(fileName, std::ios::binary) {
  if (!stream_) return;
  stream_.seekg(0, std::ios::end);
  const std::streamoff end = stream_.tellg();
  if (!stream_ || end < 0) return;
  size_ = static_cast<uint64_t>(end);
  isOpen_ = true;
}

bool TTagFile::ReadAt(uint64_t position, void* buffer, uint64_t count) {
  if (!isOpen_ || position > size_ || count > size_ - position) return false;
  if (count == 0) return true;
  stream_.clear();
  stream_.seekg(static_cast<std::streamoff>(position));
  stream_.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
  return static_cast<uint64_t>(stream_.gcount()) == count;
}

bool TTagBytes::ReadAt(uint64_t position, void* buffer, uint64_t count) {
  if (position > bytes_.size() || count > bytes_.size() - position) return false;
  if (count > 0) std::memcpy(buffer, bytes_.data() + position, static_cast<size_t>(count));
  return true;
}

}  // namespace tavio
