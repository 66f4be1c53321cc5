// TWriter: writes tagged integers and texts of the library data files through
// a 1024-byte buffer. Flush must be called at the end; it throws on failure.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "library/data_stream.h"

namespace tavio {

class TWriter {
 public:
  explicit TWriter(TStream& stream) : stream_(stream) {}
  TWriter(const TWriter&) = delete;
  TWriter& operator=(const TWriter&) = delete;

  // The smallest of the 1-, 2- and 4-byte forms that holds the value.
  void WriteInteger(int32_t value);
  // ASCII texts in the 8-bit forms; any other UTF-8 text as UTF-8.
  void WriteString(std::string_view text);
  void Flush();

 private:
  void WriteByte(uint8_t byte);
  void WriteBytes(const void* data, size_t count);
  void WriteLittleEndian(uint32_t value, int byteCount);

  TStream& stream_;
  uint8_t buffer_[1024];
  size_t used_ = 0;
};

}  // namespace tavio
