// JPEG pictures through libjpeg: decoding from memory (opaque pixels) and
// encoding baseline colour JPEGs to memory or to a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio {

// Pictures above kMaxDecodedPixels come out scaled by 1/2, 1/4 or 1/8, the
// largest that fits. Raises ERasterError for data libjpeg cannot decode, for
// data that ends before the picture's last scan, for pictures beyond the size
// limits and for pictures that need more memory or scans than any real cover.
TBitmap32 DecodeJpeg(const uint8_t* data, size_t size);

// Baseline, three-component YCbCr; alpha is dropped.
std::vector<uint8_t> EncodeJpeg(const TBitmap32& bitmap, int quality = 90);
void SaveJpegFile(const TBitmap32& bitmap, const std::string& path, int quality = 90);

}  // namespace tavio
