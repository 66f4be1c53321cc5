// CombineBlock: copies or blends a rectangle of one bitmap into another,
// clipped to both bitmaps and to a destination clip rectangle.
#pragma once
#include <cstdint>

#include "raster/bitmap32.h"

namespace tavio {

enum class TDrawMode { dmOpaque, dmBlend };

// The top-left corner of srcRect as passed lands on (dstX, dstY). Clipping:
// dstClip against dst's bounds, srcRect against src's bounds, then the moved
// source block against the clipped dstClip. dmBlend uses src.MasterAlpha.
void CombineBlock(TBitmap32& dst, int32_t dstX, int32_t dstY, const TRect& dstClip, const TBitmap32& src,
                  const TRect& srcRect, TDrawMode mode);

}  // namespace tavio
