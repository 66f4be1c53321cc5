// TCoverPicture: a picture on its way to becoming an album's cover, held as
// the JPEG data it was downloaded as or as a bitmap (pasted, a placeholder).
#pragma once
#include <cstdint>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio {

struct TCoverPicture {
  // Not empty: a JPEG picture, stored byte for byte.
  std::vector<uint8_t> Jpeg;
  // Used when Jpeg is empty.
  TBitmap32 Bitmap;

  bool Empty() const { return Jpeg.empty() && Bitmap.Empty(); }
};

}  // namespace tavio
