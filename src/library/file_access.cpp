#include <stdexcept>

#include "library/file_access.h"

namespace tavio {

std::vector<uint8_t> ReadRegularFile(const std::string& path, uint64_t maxBytes) {
  TRegularFile file(path);
  if (!file.IsOpen()) throw std::runtime_error("Cannot open file: " + path);
  if (file.Size() > maxBytes) throw std::runtime_error("File is too large: " + path);
  std::vector<uint8_t> bytes(static_cast<size_t>(file.Size()));
  if (!file.ReadAt(0, bytes.data(), bytes.size())) throw std::runtime_error("Cannot read file: " + path);
  return bytes;
}

}  // namespace tavio
