// THttpResponseReader: reads HTTP/1.1 responses from a byte source, with a
// bound on every line, count and length it reads (RFC 7230).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "coversearch/byte_source.h"

namespace tavio {

// True when more bytes after have would pass cap. Written so that it cannot
// wrap for any unsigned size (have + more can in a 32-bit process).
template <typename Size>
constexpr bool PassesCap(Size have, Size more, Size cap) {
  return have > cap || more > cap - have;
}

struct THttpLimits {
  size_t MaxLine = 65536;
  size_t MaxHeaders = 256;
  // A chunk-size line (hex digits and extensions) longer than this is broken.
  size_t MaxChunkLine = 1024;
};

// The reason phrase: the status line after its code.
std::string StatusTextOf(const std::string& statusLine);

struct THttpResponseHead {
  // The number between the status line's first and second blank; -1 if none.
  int32_t Code = -1;
  std::string StatusLine;
  std::vector<std::pair<std::string, std::string>> Headers;

  // The first header of that name (letter case ignored); null when absent.
  const std::string* Find(std::string_view name) const;
  // 1xx, 204 and 304 never carry a body.
  bool HasBody() const;
  // A Connection or Proxy-Connection header says "close".
  bool AsksToClose() const;
};

class THttpResponseReader {
 public:
  explicit THttpResponseReader(TByteSource& source, THttpLimits limits = {});

  // One status line and its headers. A close while the headers are read
  // ends them; a close before any byte of the status line is an error.
  THttpResponseHead ReadHead();
  // Appends the body to out as the head frames it: Content-Length, chunked or
  // up to the close. A body that would pass maxBody raises EHttpError; what
  // was read until then stays in out.
  void ReadBody(const THttpResponseHead& head, std::vector<uint8_t>& out, size_t maxBody);
  // The peer has closed the connection.
  bool Closed() const { return closed_; }
  // Bytes read from the source before the first line was complete.
  bool Started() const { return started_; }

 private:
  // Up to LF, a CR before it dropped; at a close, what came before it.
  std::string ReadLine(size_t maxLength, const char* what);
  bool Fill();
  void ReadExactly(size_t count, std::vector<uint8_t>& out, size_t maxBody, bool closeEndsIt);
  void ReadChunked(std::vector<uint8_t>& out, size_t maxBody);
  void ReadToClose(std::vector<uint8_t>& out, size_t maxBody);

  TByteSource& source_;
  THttpLimits limits_;
  std::vector<uint8_t> buffer_;
  size_t position_ = 0;
  bool closed_ = false;
  bool started_ = false;
};

}  // namespace tavio
