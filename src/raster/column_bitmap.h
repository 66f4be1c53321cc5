// TColumnBitmap: a copy of a bitmap's pixels kept column by column. Drawn
// through a transformation down the destination's columns, a large picture is
// then read in order instead of one cache line per pixel.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio {

class TColumnBitmap {
 public:
  TColumnBitmap() = default;
  explicit TColumnBitmap(const TBitmap32& bitmap) { Assign(bitmap); }

  // Size, pixels and OuterColor of bitmap; the memory is reused when it fits.
  void Assign(const TBitmap32& bitmap);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Pixel (x, y) of the bitmap is Column(x)[y].
  const TColor32* Column(int32_t x) const { return bits_.data() + static_cast<size_t>(x) * height_; }

  TColor32 OuterColor = 0;

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<TColor32> bits_;
};

}  // namespace tavio
