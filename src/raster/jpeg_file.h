// JPEG pictures through libjpeg: decoding from memory (opaque pixels) and
// encoding baseline colour JPEGs to memory or to a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio {

// Raises ERasterError for data libjpeg cannot decode, for data that ends
// before the picture does, and for pictures beyond the size limits.
TBitmap32 DecodeJpeg(const uint8_t* data, size_t size);

// Baseline, three-component YCbCr; alpha is dropped.
std::vector<uint8_t> EncodeJpeg(const TBitmap32& bitmap, int quality = 90);
void SaveJpegFile(const TBitmap32& bitmap, const std::string& path, int quality = 90);

}  // namespace tavio
