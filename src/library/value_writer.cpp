#include "library/value_writer.h"

#include <algorithm>
#include <cstring>

#include "library/value_tags.h"
#include "text/utf8.h"

namespace tavio {

void TWriter::WriteByte(uint8_t byte) { WriteBytes(&byte, 1); }

void TWriter::WriteBytes(const void* data, size_t count) {
  const auto* source = static_cast<const uint8_t*>(data);
  while (count > 0) {
    if (used_ == sizeof buffer_) Flush();
    const size_t take = std::min(count, sizeof buffer_ - used_);
    std::memcpy(buffer_ + used_, source, take);
    used_ += take;
    source += take;
    count -= take;
  }
}

void TWriter::WriteLittleEndian(uint32_t value, int byteCount) {
  for (int i = 0; i < byteCount; ++i) WriteByte(static_cast<uint8_t>(value >> (8 * i)));
}

void TWriter::WriteInteger(int32_t value) {
  if (value >= -128 && value <= 127) {
    WriteByte(value_tag::kInt8);
    WriteLittleEndian(static_cast<uint32_t>(value), 1);
  } else if (value >= -32768 && value <= 32767) {
    WriteByte(value_tag::kInt16);
    WriteLittleEndian(static_cast<uint32_t>(value), 2);
  } else {
    WriteByte(value_tag::kInt32);
    WriteLittleEndian(static_cast<uint32_t>(value), 4);
  }
}

// The 8-bit forms hold ASCII only: every other text has always been written
// as UTF-8, which is what the text already is.
void TWriter::WriteString(std::string_view text) {
  if (!IsAscii(text)) {
    WriteByte(value_tag::kUtf8String);
    WriteLittleEndian(static_cast<uint32_t>(text.size()), 4);
    WriteBytes(text.data(), text.size());
  } else if (text.size() <= 255) {
    WriteByte(value_tag::kString);
    WriteByte(static_cast<uint8_t>(text.size()));
    WriteBytes(text.data(), text.size());
  } else {
    WriteByte(value_tag::kLString);
    WriteLittleEndian(static_cast<uint32_t>(text.size()), 4);
    WriteBytes(text.data(), text.size());
  }
}

void TWriter::Flush() {
  if (used_ == 0) return;
  const size_t count = used_;
  used_ = 0;
  stream_.Write(buffer_, count);
}

}  // namespace tavio
