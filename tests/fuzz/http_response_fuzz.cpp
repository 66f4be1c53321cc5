// libFuzzer target: HTTP responses as the client reads them, handed over in
// pieces whose size the input's first byte picks (as a socket splits them),
// a keep-alive connection's responses one after another.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "coversearch/http_error.h"
#include "coversearch/http_response_reader.h"

namespace {

class TPieces : public tavio::TByteSource {
 public:
  TPieces(const uint8_t* data, size_t size, size_t piece) : data_(data), size_(size), piece_(piece) {}
  size_t Read(uint8_t* buffer, size_t capacity) override {
    const size_t n = std::min({capacity, size_ - position_, piece_});
    std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return n;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t piece_;
  size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavio;
  if (size == 0) return 0;
  TPieces source(data + 1, size - 1, size_t{1} + data[0] % 64);
  THttpResponseReader reader(source);
  try {
    for (int response = 0; response < 4 && !reader.Closed(); ++response) {
      const THttpResponseHead head = reader.ReadHead();
      (void)head.AsksToClose();
      std::vector<uint8_t> body;
      reader.ReadBody(head, body, 1 << 20);
    }
  } catch (const EHttpError&) {
  }
  return 0;
}
