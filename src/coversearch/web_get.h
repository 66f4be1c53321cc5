// TWebGet: one blocking fetch of a URL into memory, the one thing the image
// search needs from the network; the HTTP client is the real one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavio {

// Result pages and pictures are bounded; a larger body is an error.
inline constexpr size_t kMaxPageBytes = size_t{8} * 1024 * 1024;
inline constexpr size_t kMaxPictureBytes = size_t{32} * 1024 * 1024;

class TWebGet {
 public:
  virtual ~TWebGet() = default;
  // Appends the body to out only when the whole fetch succeeds; raises
  // EHttpError otherwise, out untouched.
  virtual void Get(const std::string& url, std::vector<uint8_t>& out, size_t maxBody) = 0;
};

}  // namespace tavio
