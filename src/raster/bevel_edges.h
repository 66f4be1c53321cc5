// BevelEdges: darkens the two outermost pixel rings of a rectangle of a
// bitmap, the raised-edge look of every prepared cover.
#pragma once
#include "raster/bitmap32.h"

namespace tavio {

// The outer ring goes to a third of hue, saturation and lightness, the inner
// ring to two thirds; corner pixels are stepped by both the row and the column
// pass. Pixels become opaque. Nothing happens outside the bitmap or when the
// rectangle lies wholly outside its ClipRect.
void BevelEdges(TBitmap32& bitmap, const TRect& rect);

}  // namespace tavio
