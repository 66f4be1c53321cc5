#include "raster/bevel_edges.h"

#include "raster/hsl.h"

namespace tavio {

namespace {

// The outer ring takes a third of each component, the inner ring two thirds;
// written as divisions, since multiplying by a rounded 1/3 gives other floats.
float Outer(float c) { return c / 3.0f; }
float Inner(float c) { return 2.0f * c / 3.0f; }

template <float (*Scale)(float)>
void Step(TBitmap32& bitmap, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return;
  const THsl hsl = RGBToHSL(bitmap.GetPixel(x, y));
  bitmap.SetPixel(x, y, HSLToRGB(Scale(hsl.H), Scale(hsl.S), Scale(hsl.L)));
}

}  // namespace

void BevelEdges(TBitmap32& bitmap, const TRect& rect) {
  const TRect r = IntersectRect(rect, bitmap.BoundsRect());
  if (r.IsEmpty() || IntersectRect(r, bitmap.ClipRect).IsEmpty()) return;
  const int32_t l = r.Left, t = r.Top, right = r.Right - 1, b = r.Bottom - 1;
  const auto outer = [&](int32_t x, int32_t y) { Step<Outer>(bitmap, x, y); };
  const auto inner = [&](int32_t x, int32_t y) { Step<Inner>(bitmap, x, y); };
  for (int32_t x = l; x <= right; ++x) {
    outer(x, t);
    inner(x, t + 1);
    inner(x, b - 1);
    outer(x, b);
  }
  for (int32_t y = t; y <= b; ++y) {
    outer(l, y);
    inner(l + 1, y);
    inner(right - 1, y);
    outer(right, y);
  }
}

}  // namespace tavio
