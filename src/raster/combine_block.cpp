#include "raster/combine_block.h"

#include <algorithm>
#include <cstring>

#include "raster/blend.h"

namespace tavio {

namespace {

// Offsets are taken in 64 bits so far-off positions clip instead of wrapping.
int32_t ClampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

void CombineBlock(TBitmap32& dst, int32_t dstX, int32_t dstY, const TRect& dstClip, const TBitmap32& src,
                  const TRect& srcRect, TDrawMode mode) {
  if (dst.Empty() || src.Empty()) return;
  if (mode == TDrawMode::dmBlend && src.MasterAlpha <= 0) return;
  const TRect clip = IntersectRect(dstClip, dst.BoundsRect());
  const TRect source = IntersectRect(srcRect, src.BoundsRect());
  if (clip.IsEmpty() || source.IsEmpty()) return;

  const int64_t offsetX = static_cast<int64_t>(dstX) - srcRect.Left;
  const int64_t offsetY = static_cast<int64_t>(dstY) - srcRect.Top;
  const TRect moved{ClampToInt32(source.Left + offsetX), ClampToInt32(source.Top + offsetY),
                    ClampToInt32(source.Right + offsetX), ClampToInt32(source.Bottom + offsetY)};
  const TRect target = IntersectRect(moved, clip);
  if (target.IsEmpty()) return;

  const int32_t srcX = static_cast<int32_t>(target.Left - offsetX);
  const int32_t width = target.Width();
  for (int32_t y = target.Top; y < target.Bottom; ++y) {
    const TColor32* from = src.Row(static_cast<int32_t>(y - offsetY)) + srcX;
    TColor32* to = dst.Row(y) + target.Left;
    if (mode == TDrawMode::dmOpaque) {
      std::memmove(to, from, static_cast<size_t>(width) * sizeof(TColor32));
    } else {
      for (int32_t i = 0; i < width; ++i) to[i] = BlendPixel(from[i], to[i], src.MasterAlpha);
    }
  }
}

}  // namespace tavio
