// The transform written the plain way, one pixel at a time straight from the
// formula, for checking the optimised TransformBitmap against it (tests and
// the transform benchmark).
#pragma once
#include <cstdint>

#include "raster/bitmap32.h"
#include "raster/projective_transformation.h"
#include "raster/rounding.h"
#include "raster/transform_bitmap.h"

namespace tavio::reference {

// The 64-bit product shifted right by 16, taken as a 32-bit value.
inline int32_t FixedMul(int32_t a, int64_t x) { return static_cast<int32_t>((static_cast<int64_t>(a) * x) >> 16); }

inline int32_t Sum32(int32_t a, int32_t b, int32_t c) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b) + static_cast<uint32_t>(c));
}

inline void TransformBitmapPerPixel(TBitmap32& dst, const TBitmap32& src, TProjectiveTransformation& t) {
  const TRect box = TransformedBox(dst, t);
  if (box.IsEmpty()) return;
  const TFixedMatrix& m = t.FixedInverse();
  for (int32_t j = box.Top; j < box.Bottom; ++j) {
    for (int32_t i = box.Left; i < box.Right; ++i) {
      const int64_t x = int64_t{i} * 65536, y = int64_t{j} * 65536;
      const int32_t z = Sum32(FixedMul(m[2][0], x), FixedMul(m[2][1], y), m[2][2]);
      int32_t u = Sum32(FixedMul(m[0][0], x), FixedMul(m[0][1], y), m[0][2]);
      int32_t v = Sum32(FixedMul(m[1][0], x), FixedMul(m[1][1], y), m[1][2]);
      TColor32 sample = src.OuterColor;
      if (z != 0) {
        if (z != 65536) {
          const float s = 65536.0f / static_cast<float>(z);
          u = RoundOrIndefinite(static_cast<float>(u) * s);
          v = RoundOrIndefinite(static_cast<float>(v) * s);
        }
        const int32_t sx = SourceCoordinate(u), sy = SourceCoordinate(v);
        if (sx >= 0 && sx < src.Width() && sy >= 0 && sy < src.Height()) sample = src.GetPixel(sx, sy);
      }
      dst.SetPixel(i, j, sample);
    }
  }
}

}  // namespace tavio::reference
