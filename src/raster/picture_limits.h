// The largest pictures the decoders accept and the largest bitmap they decode
// into, checked before any allocation: a hostile header must not make a
// 32-bit process reserve gigabytes.
#pragma once
#include <cstdint>
#include <string>

#include "raster/raster_error.h"

namespace tavio {

// The size a picture may declare.
constexpr int64_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t{64} * 1024 * 1024;
// The largest bitmap a picture becomes (64 MB of pixels): JPEGs above it are
// decoded scaled down, other formats are refused.
constexpr int64_t kMaxDecodedPixels = int64_t{16} * 1024 * 1024;
// A 16-megapixel 32-bit bitmap with its headers is a little over 64 MB; no
// picture file we accept is larger.
constexpr int64_t kMaxPictureFileBytes = kMaxDecodedPixels * 4 + 1024 * 1024;

inline void CheckPictureSize(int64_t width, int64_t height) {
  if (width <= 0 || height <= 0) {
    throw ERasterError("Picture has no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")");
  }
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels) {
    throw ERasterError("Picture size " + std::to_string(width) + " x " + std::to_string(height) +
                       " exceeds the limit of " + std::to_string(kMaxPictureSide) + " pixels a side and " +
                       std::to_string(kMaxPicturePixels / (1024 * 1024)) + " megapixels");
  }
}

// For formats decoded at full size only.
inline void CheckFullSizeDecode(int64_t width, int64_t height) {
  CheckPictureSize(width, height);
  if (width * height > kMaxDecodedPixels) {
    throw ERasterError("Picture size " + std::to_string(width) + " x " + std::to_string(height) +
                       " exceeds the limit of " + std::to_string(kMaxDecodedPixels / (1024 * 1024)) +
                       " megapixels for this format");
  }
}

}  // namespace tavio
