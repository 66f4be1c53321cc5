// TReader: reads tagged integers and texts of the library data files through
// a 1024-byte buffer; every malformed or truncated value is an EDataFileError.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "library/data_stream.h"

namespace tavio {

class TReader {
 public:
  explicit TReader(TStream& stream) : stream_(stream) {}
  TReader(const TReader&) = delete;
  TReader& operator=(const TReader&) = delete;

  int32_t ReadInteger();
  // Every form comes back as UTF-8; the 8-bit forms are taken in the system
  // code page.
  std::string ReadString();

 private:
  uint8_t ReadByte();
  void ReadBytes(void* out, size_t count);
  uint32_t ReadLength();
  uint64_t Remaining() const { return (end_ - position_) + stream_.Remaining(); }
  // A length the rest of the file cannot hold is a broken file, not a request
  // to allocate gigabytes.
  std::string ReadText(uint64_t byteCount);

  TStream& stream_;
  uint8_t buffer_[1024];
  size_t position_ = 0;
  size_t end_ = 0;
};

}  // namespace tavio
