#include "library/value_reader.h"

#include <algorithm>
#include <cstring>

#include "library/data_file_error.h"
#include "library/value_tags.h"
#include "text/code_page.h"
#include "text/utf16.h"

namespace tavio {

static EDataFileError ReadPastEnd() { return EDataFileError("Read beyond end of file"); }
static EDataFileError InvalidValue() { return EDataFileError("Invalid property value"); }

uint8_t TReader::ReadByte() {
  uint8_t byte;
  ReadBytes(&byte, 1);
  return byte;
}

void TReader::ReadBytes(void* out, size_t count) {
  auto* dest = static_cast<uint8_t*>(out);
  while (count > 0) {
    if (position_ == end_) {
      position_ = 0;
      end_ = stream_.Read(buffer_, sizeof buffer_);
      if (end_ == 0) throw ReadPastEnd();
    }
    const size_t take = std::min(count, end_ - position_);
    std::memcpy(dest, buffer_ + position_, take);
    position_ += take;
    dest += take;
    count -= take;
  }
}

uint32_t TReader::ReadLength() {
  uint8_t bytes[4];
  ReadBytes(bytes, 4);
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

std::string TReader::ReadText(uint64_t byteCount) {
  if (byteCount > Remaining()) throw ReadPastEnd();
  std::string text(static_cast<size_t>(byteCount), '\0');
  ReadBytes(text.data(), text.size());
  return text;
}

int32_t TReader::ReadInteger() {
  switch (ReadByte()) {
    case value_tag::kInt8:
      return static_cast<int8_t>(ReadByte());
    case value_tag::kInt16: {
      uint8_t bytes[2];
      ReadBytes(bytes, 2);
      return static_cast<int16_t>(bytes[0] | bytes[1] << 8);
    }
    case value_tag::kInt32:
      return static_cast<int32_t>(ReadLength());
    default:
      throw InvalidValue();
  }
}

std::string TReader::ReadString() {
  switch (ReadByte()) {
    // Older builds wrote 8-bit texts in the system code page; ours are ASCII.
    case value_tag::kString:
      return AnsiToUtf8(ReadText(ReadByte()));
    case value_tag::kLString:
      return AnsiToUtf8(ReadText(ReadLength()));
    // Kept byte for byte, even where it is not valid UTF-8: natively a path
    // is whatever bytes the file system gave, and it must still open.
    case value_tag::kUtf8String:
      return ReadText(ReadLength());
    case value_tag::kWString: {
      const std::string bytes = ReadText(uint64_t{ReadLength()} * 2);
      std::u16string units(bytes.size() / 2, u'\0');
      for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                         static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
      return Utf16ToUtf8(units);
    }
    default:
      throw InvalidValue();
  }
}

}  // namespace tavio
