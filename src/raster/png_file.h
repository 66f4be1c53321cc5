// PNG pictures through libspng, decoded from memory. Transparent parts are
// laid on white: covers are opaque everywhere else in the view.
#pragma once
#include <cstddef>
#include <cstdint>

#include "raster/bitmap32.h"

namespace tavio {

// Every colour type and bit depth, interlaced or not, with tRNS transparency;
// the result is opaque. Raises ERasterError for data libspng cannot decode
// (truncated, bad checksums of critical chunks) and for pictures beyond the
// size limits, checked before the bitmap is allocated.
TBitmap32 DecodePng(const uint8_t* data, size_t size);

}  // namespace tavio
