// Whole files read into and written from memory by UTF-8 path (of any depth
// on Windows), capped at the largest picture file the decoders accept.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tavio {

// Raises ERasterError for a missing, unreadable or oversized file.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
// Raises ERasterError when the file cannot be created or written.
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace tavio
