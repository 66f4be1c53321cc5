// TByteSource: where the bytes of an HTTP response come from. The client
// reads a socket through it; tests and the fuzzer read from memory.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tavio {

class TByteSource {
 public:
  virtual ~TByteSource() = default;
  // Waits for at least one byte; returns 0 once the peer has closed. Raises
  // EHttpError when the wait times out or the connection breaks.
  virtual size_t Read(uint8_t* buffer, size_t capacity) = 0;
};

}  // namespace tavio
