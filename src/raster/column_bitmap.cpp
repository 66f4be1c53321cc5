#include "raster/column_bitmap.h"

#include <algorithm>

namespace tavio {

void TColumnBitmap::Assign(const TBitmap32& bitmap) {
  width_ = bitmap.Width();
  height_ = bitmap.Height();
  OuterColor = bitmap.OuterColor;
  bits_.resize(static_cast<size_t>(width_) * height_);
  // Blocks small enough that both their rows and their columns stay cached.
  constexpr int32_t kBlock = 32;
  for (int32_t y0 = 0; y0 < height_; y0 += kBlock) {
    const int32_t y1 = std::min(y0 + kBlock, height_);
    for (int32_t x0 = 0; x0 < width_; x0 += kBlock) {
      const int32_t x1 = std::min(x0 + kBlock, width_);
      for (int32_t y = y0; y < y1; ++y) {
        const TColor32* row = bitmap.Row(y);
        for (int32_t x = x0; x < x1; ++x) bits_[static_cast<size_t>(x) * height_ + y] = row[x];
      }
    }
  }
}

}  // namespace tavio
