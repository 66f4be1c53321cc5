#include "view/cover_drawing.h"

#include "raster/rounding.h"
#include "raster/transform_bitmap.h"

namespace tavio {

namespace {

// How far the far edge lies from the near one (dx), how tall it is (hgt) and
// how far it starts below the top (dy), for an angle of at most 90 degrees.
struct TTilt {
  float Dx, Hgt, Dy;
};

TTilt TiltFor(float side, float angle) {
  const float dx = side * angle / 90.0f;
  const float hgt = side * angle * 2.0f / 270.0f + side / 3.0f;
  return {dx, hgt, (side - hgt) / 2.0f};
}

}  // namespace

std::array<TFloatPoint, 4> CoverCorners(int32_t coverSide, float x, float top, float angle) {
  // Angles are whole degrees in practice; the fold keeps larger ones drawable.
  if (angle > 180.0f) angle = static_cast<float>(RoundClamped(angle, 0, INT32_MAX) % 180);
  const float s = static_cast<float>(coverSide);
  const float bottom = (s + top) * 4.0f / 3.0f;
  if (angle <= 90.0f) {
    const TTilt t = TiltFor(s, angle);
    return {{{x, top}, {x + t.Dx, top + t.Dy}, {x + t.Dx, (top + t.Dy + t.Hgt) * 4.0f / 3.0f}, {x, bottom}}};
  }
  const TTilt t = TiltFor(s, 180.0f - angle);
  return {{{s + x - t.Dx, top + t.Dy}, {s + x, top}, {s + x, bottom}, {s + x - t.Dx, (top + t.Dy + t.Hgt) * 4.0f / 3.0f}}};
}

namespace {

template <typename TSource>
void TransformSource(TBitmap32& frameBuffer, TProjectiveTransformation& t, TFloatRect& sourceRect,
                     const TSource& bitmap) {
  sourceRect = {0.0f, 0.0f, static_cast<float>(bitmap.Width()), static_cast<float>(bitmap.Height())};
  t.SetSourceRect(sourceRect);
  TransformBitmap(frameBuffer, bitmap, t);
}

}  // namespace

void TransformToBuffer(TBitmap32& frameBuffer, TProjectiveTransformation& t, TFloatRect& sourceRect,
                       const TBitmap32& bitmap) {
  TransformSource(frameBuffer, t, sourceRect, bitmap);
}

void TransformToBuffer(TBitmap32& frameBuffer, TProjectiveTransformation& t, TFloatRect& sourceRect,
                       const TColumnBitmap& bitmap) {
  TransformSource(frameBuffer, t, sourceRect, bitmap);
}

void DrawCover(TBitmap32& frameBuffer, TProjectiveTransformation& t, TFloatRect& sourceRect, int32_t coverSide,
               const TBitmap32& bitmap, float x, float top, float angle) {
  t.SetCorners(CoverCorners(coverSide, x, top, angle));
  TransformToBuffer(frameBuffer, t, sourceRect, bitmap);
}

void DrawCover(TBitmap32& frameBuffer, TProjectiveTransformation& t, TFloatRect& sourceRect, int32_t coverSide,
               const TColumnBitmap& bitmap, float x, float top, float angle) {
  t.SetCorners(CoverCorners(coverSide, x, top, angle));
  TransformToBuffer(frameBuffer, t, sourceRect, bitmap);
}

}  // namespace tavio
