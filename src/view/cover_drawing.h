// Placing a cover in the carousel: the four corners for a place and angle,
// and drawing a bitmap through the view's one transformation into the frame.
#pragma once
#include <array>
#include <cstdint>

#include "raster/bitmap32.h"
#include "raster/column_bitmap.h"
#include "raster/projective_transformation.h"

namespace tavio {

// The corners of a cover whose reference square (side coverSide) has its left
// edge at x and its top at top, tilted by angle degrees: below 90 the near
// edge is on the left, above 90 on the right; above 180 the angle folds back
// to Round(angle) mod 180. The quad is 4/3 as tall as the square (the slot's
// mirror below the cover), the 4/3 applying to top + coverSide.
std::array<TFloatPoint, 4> CoverCorners(int32_t coverSide, float x, float top, float angle);

// Sets sourceRect to the whole bitmap, hands it to t and draws the bitmap
// through t into frameBuffer.
void TransformToBuffer(TBitmap32& frameBuffer, TProjectiveTransformation& t, TFloatRect& sourceRect,
                       const TBitmap32& bitmap);
// The same from a bitmap's column copy: the same pixels, faster for large ones.
void TransformToBuffer(TBitmap32& frameBuffer, TProjectiveTransformation& t, TFloatRect& sourceRect,
                       const TColumnBitmap& bitmap);

// Sets t's corners from CoverCorners, then TransformToBuffer.
void DrawCover(TBitmap32& frameBuffer, TProjectiveTransformation& t, TFloatRect& sourceRect, int32_t coverSide,
               const TBitmap32& bitmap, float x, float top, float angle);
void DrawCover(TBitmap32& frameBuffer, TProjectiveTransformation& t, TFloatRect& sourceRect, int32_t coverSide,
               const TColumnBitmap& bitmap, float x, float top, float angle);

}  // namespace tavio
