// Conversion between ARGB colours and hue, saturation and lightness (each
// 0..1), in single precision; the cover bevel darkens edges through it.
#pragma once
#include "raster/color32.h"

namespace tavio {

struct THsl {
  float H = 0, S = 0, L = 0;
};

// Alpha is ignored.
THsl RGBToHSL(TColor32 c);
// The result is opaque.
TColor32 HSLToRGB(float h, float s, float l);

}  // namespace tavio
