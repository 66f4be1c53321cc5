#include "raster/bitmap32.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "raster/raster_error.h"

namespace tavio {

void TBitmap32::SetSize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  // In a 32-bit process width * height * 4 overflows long before int32 does.
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  if (pixels > PTRDIFF_MAX / sizeof(TColor32)) {
    throw ERasterError("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                       " is too large");
  }
  bits_ = std::make_shared<std::vector<TColor32>>(static_cast<size_t>(pixels), 0u);
  width_ = width;
  height_ = height;
  ClipRect = BoundsRect();
}

TColor32* TBitmap32::OwnPixels() {
  if (!bits_) return nullptr;
  if (bits_.use_count() > 1) bits_ = std::make_shared<std::vector<TColor32>>(*bits_);
  return bits_->data();
}

void TBitmap32::Clear(TColor32 color) {
  if (Empty()) return;
  if (bits_.use_count() > 1)
    bits_ = std::make_shared<std::vector<TColor32>>(bits_->size(), color);
  else
    std::fill(bits_->begin(), bits_->end(), color);
}

void TBitmap32::FlipVertical() {
  for (int32_t i = 0, j = height_ - 1; i < j; ++i, --j) std::swap_ranges(Row(i), Row(i) + width_, Row(j));
}

void TBitmap32::TakePixels(TBitmap32&& picture) {
  bits_ = std::move(picture.bits_);
  width_ = picture.width_;
  height_ = picture.height_;
  ClipRect = BoundsRect();
  picture.bits_.reset();
  picture.width_ = picture.height_ = 0;
  picture.ClipRect = {};
}

}  // namespace tavio
