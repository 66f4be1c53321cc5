#include "raster/bitmap32.h"

#include <algorithm>

namespace tavio {

void TBitmap32::SetSize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  std::vector<TColor32> fresh(static_cast<size_t>(width) * height, 0u);
  bits_.swap(fresh);
  width_ = width;
  height_ = height;
  ClipRect = BoundsRect();
}

void TBitmap32::Clear(TColor32 color) { std::fill(bits_.begin(), bits_.end(), color); }

}  // namespace tavio
