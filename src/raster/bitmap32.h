// TBitmap32 and TBitmap33: 32-bit ARGB bitmaps stored row by row from the
// top. Pixel access, size, clipping and blending parameters live here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "raster/color32.h"

namespace tavio {

struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  constexpr int32_t Width() const { return Right - Left; }
  constexpr int32_t Height() const { return Bottom - Top; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

// The overlap of a and b; empty rectangles come out with Right <= Left or
// Bottom <= Top.
constexpr TRect IntersectRect(const TRect& a, const TRect& b) {
  return {a.Left > b.Left ? a.Left : b.Left, a.Top > b.Top ? a.Top : b.Top,
          a.Right < b.Right ? a.Right : b.Right, a.Bottom < b.Bottom ? a.Bottom : b.Bottom};
}

class TBitmap32 {
 public:
  TBitmap32() = default;
  TBitmap32(int32_t width, int32_t height) { SetSize(width, height); }
  virtual ~TBitmap32() = default;
  TBitmap32(const TBitmap32&) = default;
  TBitmap32& operator=(const TBitmap32&) = default;
  TBitmap32(TBitmap32&&) noexcept = default;
  TBitmap32& operator=(TBitmap32&&) noexcept = default;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Negative sizes count as 0. A new size replaces the pixels with zeros and
  // resets ClipRect; the same size changes nothing. A size whose pixel array
  // cannot be addressed raises ERasterError and leaves the bitmap as it was.
  void SetSize(int32_t width, int32_t height);
  void Clear(TColor32 color);
  // Swaps row i with row Height - 1 - i.
  void FlipVertical();
  // Takes size and pixels of picture (which is left empty) and resets
  // ClipRect; MasterAlpha, OuterColor and the like stay as they are.
  void TakePixels(TBitmap32&& picture);

  TColor32 GetPixel(int32_t x, int32_t y) const { return Bits()[Index(x, y)]; }
  void SetPixel(int32_t x, int32_t y, TColor32 c) { Bits()[Index(x, y)] = c; }
  // Writable pixels: a bitmap that shares its pixels with a copy gets its own first.
  TColor32* Bits() { return OwnPixels(); }
  const TColor32* Bits() const { return bits_ ? bits_->data() : nullptr; }
  TColor32* Row(int32_t y) { return Bits() + static_cast<size_t>(y) * width_; }
  const TColor32* Row(int32_t y) const { return Bits() + static_cast<size_t>(y) * width_; }

  TRect BoundsRect() const { return {0, 0, width_, height_}; }
  // The pixels are shared with a copy: writing them would copy them first.
  bool SharesPixels() const { return bits_ && bits_.use_count() > 1; }
  // Bytes of pixels this bitmap holds alone (0 while they are shared).
  int64_t OwnPixelBytes() const {
    return bits_ && !SharesPixels() ? static_cast<int64_t>(bits_->size()) * sizeof(TColor32) : 0;
  }

  TRect ClipRect;
  int32_t MasterAlpha = 255;
  TColor32 OuterColor = 0;

 private:
  size_t Index(int32_t x, int32_t y) const { return static_cast<size_t>(y) * width_ + x; }
  TColor32* OwnPixels();

  int32_t width_ = 0;
  int32_t height_ = 0;
  // Copies share their pixels until one of them writes, so thousands of albums
  // can start from one placeholder picture without a copy each.
  std::shared_ptr<std::vector<TColor32>> bits_;
};

// A bitmap with a carousel position; slots use it, covers leave it 0.
class TBitmap33 : public TBitmap32 {
 public:
  using TBitmap32::TBitmap32;
  int32_t Position = 0;
};

}  // namespace tavio
