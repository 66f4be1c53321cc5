// TransformBitmap: draws a bitmap through a projective transformation,
// nearest-neighbour, writing every pixel of the quad's bounding box.
#pragma once
#include <cstdint>

#include "raster/bitmap32.h"
#include "raster/column_bitmap.h"
#include "raster/projective_transformation.h"

namespace tavio {

// The box is Round(min - 0.5) .. Round(max + 0.5) of the corners, clipped to
// dst's ClipRect and bounds. Each pixel (i, j) of the box takes the source
// pixel its integer coordinate maps back to, or src.OuterColor where that
// lies outside src; all four channels are copied.
void TransformBitmap(TBitmap32& dst, const TBitmap32& src, TProjectiveTransformation& t);

// The same pixels from the column copy of src, written down the box's columns:
// every destination pixel gets exactly the value the other form gives it.
void TransformBitmap(TBitmap32& dst, const TColumnBitmap& src, TProjectiveTransformation& t);

// The box TransformBitmap writes, already clipped; empty when nothing is drawn.
TRect TransformedBox(const TBitmap32& dst, const TProjectiveTransformation& t);

// The source coordinate of a homogeneous value already divided by Z: the
// half-way point rounds down. Wrapping addition, as the 32-bit original.
constexpr int32_t SourceCoordinate(int32_t u) {
  return static_cast<int32_t>(static_cast<uint32_t>(u) + 32767u) >> 16;
}

}  // namespace tavio
