// Windows bitmaps: .bmp files and the packed DIBs of bitmap resources decoded
// from memory, and .bmp files written from a bitmap.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio {

// 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or top-down, BI_RGB or
// BI_BITFIELDS. 32-bit pixels keep their stored alpha, all others get 255.
// Raises ERasterError for anything else or for truncated data.
TBitmap32 DecodeBmpFile(const uint8_t* data, size_t size);
// The same starting at the info header (no file header): a bitmap resource.
TBitmap32 DecodePackedDib(const uint8_t* data, size_t size);

enum class TBmpRowOrder { TopDown, BottomUp };

// A .bmp file with a BITMAPINFOHEADER, BI_RGB; bitsPerPixel 32 (alpha kept)
// or 24 (alpha dropped).
std::vector<uint8_t> EncodeBmp(const TBitmap32& bitmap, int bitsPerPixel, TBmpRowOrder order);
void SaveBmpFile(const TBitmap32& bitmap, const std::string& path, int bitsPerPixel = 32,
                 TBmpRowOrder order = TBmpRowOrder::BottomUp);

}  // namespace tavio
