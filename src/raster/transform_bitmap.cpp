#include "raster/transform_bitmap.h"

#include <algorithm>
#include <cmath>

#include "raster/rounding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavio {

namespace {

constexpr int32_t kOne = 65536;
// Far beyond any bitmap; keeps the box arithmetic away from overflow.
constexpr int32_t kBoxLimit = 1 << 30;

// FixedMul of an entry with an integer coordinate times 65536 is exactly
// entry * coordinate; the 32-bit result wraps like the original's.
int32_t FixedTimes(int32_t entry, int32_t coordinate) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(entry) * coordinate));
}

int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// The homogeneous values U, V, Z at the first pixel of a row, and how much
// each grows per pixel to the right (exactly: the products are integers).
struct TRowStart {
  int32_t U, V, Z;
};

TRowStart RowStart(const TFixedMatrix& m, int32_t i, int32_t j) {
  return {WrapAdd(WrapAdd(FixedTimes(m[0][0], i), FixedTimes(m[0][1], j)), m[0][2]),
          WrapAdd(WrapAdd(FixedTimes(m[1][0], i), FixedTimes(m[1][1], j)), m[1][2]),
          WrapAdd(WrapAdd(FixedTimes(m[2][0], i), FixedTimes(m[2][1], j)), m[2][2])};
}

// The source pixel that homogeneous values U, V, Z fall on; false when they
// fall outside a width x height source (or Z is 0).
bool SourcePixel(int32_t u, int32_t v, int32_t z, int32_t width, int32_t height, int32_t& sx, int32_t& sy) {
  if (z == 0) return false;
  if (z != kOne) {
    const float s = 65536.0f / static_cast<float>(z);
    u = RoundOrIndefinite(static_cast<float>(u) * s);
    v = RoundOrIndefinite(static_cast<float>(v) * s);
  }
  sx = SourceCoordinate(u);
  sy = SourceCoordinate(v);
  return static_cast<uint32_t>(sx) < static_cast<uint32_t>(width) &&
         static_cast<uint32_t>(sy) < static_cast<uint32_t>(height);
}

TColor32 Sample(const TBitmap32& src, int32_t u, int32_t v, int32_t z) {
  int32_t sx = 0, sy = 0;
  return SourcePixel(u, v, z, src.Width(), src.Height(), sx, sy) ? src.Row(sy)[sx] : src.OuterColor;
}

TColor32 Sample(const TColumnBitmap& src, int32_t u, int32_t v, int32_t z) {
  int32_t sx = 0, sy = 0;
  return SourcePixel(u, v, z, src.Width(), src.Height(), sx, sy) ? src.Column(sx)[sy] : src.OuterColor;
}

// One destination column of count pixels from its top, stride pixels apart;
// U, V, Z grow by du, dv, dz per row down.
void ColumnDown(TColor32* out, size_t stride, int32_t count, const TColumnBitmap& src, TRowStart s, int32_t du,
                int32_t dv, int32_t dz) {
  for (int32_t k = 0; k < count; ++k, out += stride) {
    *out = Sample(src, s.U, s.V, s.Z);
    s = {WrapAdd(s.U, du), WrapAdd(s.V, dv), WrapAdd(s.Z, dz)};
  }
}

// Z is 65536 everywhere (an affine map): no division at all.
void AffineRow(TColor32* out, int32_t count, const TBitmap32& src, TRowStart s, int32_t du, int32_t dv) {
  const uint32_t w = static_cast<uint32_t>(src.Width()), h = static_cast<uint32_t>(src.Height());
  uint32_t u = static_cast<uint32_t>(s.U) + 32767u, v = static_cast<uint32_t>(s.V) + 32767u;
  for (int32_t k = 0; k < count; ++k) {
    const uint32_t sx = static_cast<uint32_t>(static_cast<int32_t>(u) >> 16);
    const uint32_t sy = static_cast<uint32_t>(static_cast<int32_t>(v) >> 16);
    out[k] = (sx < w && sy < h) ? src.Row(static_cast<int32_t>(sy))[sx] : src.OuterColor;
    u += static_cast<uint32_t>(du);
    v += static_cast<uint32_t>(dv);
  }
}

#if defined(__SSE2__)
// Where four (u, v, z) lanes sample a width x height source: the source
// pixel of each lane and whether it lies inside. Every operation is the
// scalar one lane by lane: cvtdq2ps, divps, mulps and cvtps2dq round to
// nearest-even like the scalar conversions, and cvtps2dq yields INT32_MIN out
// of range like RoundOrIndefinite.
struct TSampleLanes {
  __m128i sx, sy, inside;
};

TSampleLanes SampleLanes(__m128i u, __m128i v, __m128i z, int32_t width, int32_t height) {
  const __m128 scale = _mm_div_ps(_mm_set1_ps(65536.0f), _mm_cvtepi32_ps(z));
  const __m128i affine = _mm_cmpeq_epi32(z, _mm_set1_epi32(kOne));
  const __m128i ur = _mm_cvtps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(u), scale));
  const __m128i vr = _mm_cvtps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(v), scale));
  const __m128i uu = _mm_or_si128(_mm_and_si128(affine, u), _mm_andnot_si128(affine, ur));
  const __m128i vv = _mm_or_si128(_mm_and_si128(affine, v), _mm_andnot_si128(affine, vr));
  const __m128i half = _mm_set1_epi32(32767);
  const __m128i sx = _mm_srai_epi32(_mm_add_epi32(uu, half), 16);
  const __m128i sy = _mm_srai_epi32(_mm_add_epi32(vv, half), 16);
  // Unsigned sx < width as a signed compare of both sides moved by 2^31.
  const __m128i bias = _mm_set1_epi32(INT32_MIN);
  const __m128i wBiased = _mm_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(width) ^ 0x80000000u));
  const __m128i hBiased = _mm_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(height) ^ 0x80000000u));
  const __m128i inX = _mm_cmpgt_epi32(wBiased, _mm_xor_si128(sx, bias));
  const __m128i inY = _mm_cmpgt_epi32(hBiased, _mm_xor_si128(sy, bias));
  const __m128i zeroZ = _mm_cmpeq_epi32(z, _mm_setzero_si128());
  return {sx, sy, _mm_andnot_si128(zeroZ, _mm_and_si128(inX, inY))};
}

// Four pixels at a time, lane by lane the scalar arithmetic (SampleLanes).
void ProjectiveRow(TColor32* out, int32_t count, const TBitmap32& src, TRowStart s, int32_t du, int32_t dv,
                   int32_t dz) {
  const auto ramp = [&](int32_t start, int32_t step) {
    // step * lane wraps like the scalar sums; SSE2 has no 32-bit multiply.
    return _mm_add_epi32(_mm_set1_epi32(start),
                         _mm_set_epi32(FixedTimes(step, 3), FixedTimes(step, 2), step, 0));
  };
  __m128i u = ramp(s.U, du), v = ramp(s.V, dv), z = ramp(s.Z, dz);
  const __m128i du4 = _mm_set1_epi32(FixedTimes(du, 4)), dv4 = _mm_set1_epi32(FixedTimes(dv, 4)),
                dz4 = _mm_set1_epi32(FixedTimes(dz, 4));
  const TColor32* bits = src.Bits();
  const int32_t width = src.Width();
  const TColor32 outer = src.OuterColor;
  alignas(16) int32_t xs[4], ys[4], inside[4];
  int32_t k = 0;
  for (; k + 4 <= count; k += 4) {
    const TSampleLanes lanes = SampleLanes(u, v, z, width, src.Height());
    _mm_store_si128(reinterpret_cast<__m128i*>(xs), lanes.sx);
    _mm_store_si128(reinterpret_cast<__m128i*>(ys), lanes.sy);
    _mm_store_si128(reinterpret_cast<__m128i*>(inside), lanes.inside);
    for (int l = 0; l < 4; ++l) out[k + l] = inside[l] ? bits[static_cast<size_t>(ys[l]) * width + xs[l]] : outer;
    u = _mm_add_epi32(u, du4);
    v = _mm_add_epi32(v, dv4);
    z = _mm_add_epi32(z, dz4);
  }
  int32_t tail[3][4];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(tail[0]), u);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(tail[1]), v);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(tail[2]), z);
  for (int l = 0; k < count; ++k, ++l) out[k] = Sample(src, tail[0][l], tail[1][l], tail[2][l]);
}

// Four neighbouring destination columns at once, row by row down the box;
// the lanes are the columns, each reading its own source column in order.
// The same sampling as ProjectiveRow (SampleLanes), so the pixels are the same.
void ColumnStrip(TColor32* out, size_t stride, int32_t count, const TColumnBitmap& src, TRowStart s,
                 const int32_t down[3], const int32_t right[3]) {
  const auto ramp = [&](int32_t start, int32_t step) {
    return _mm_add_epi32(_mm_set1_epi32(start),
                         _mm_set_epi32(FixedTimes(step, 3), FixedTimes(step, 2), step, 0));
  };
  __m128i u = ramp(s.U, right[0]), v = ramp(s.V, right[1]), z = ramp(s.Z, right[2]);
  const __m128i du = _mm_set1_epi32(down[0]), dv = _mm_set1_epi32(down[1]), dz = _mm_set1_epi32(down[2]);
  const __m128i height = _mm_set1_epi32(src.Height());
  const TColor32* bits = src.Column(0);
  const TColor32 outer = src.OuterColor;
  alignas(16) int32_t at[4], inside[4];
  for (int32_t k = 0; k < count; ++k, out += stride) {
    const TSampleLanes lanes = SampleLanes(u, v, z, src.Width(), src.Height());
    const __m128i sx = lanes.sx, sy = lanes.sy;
    // sx * height + sy; only read where the lane is inside, and there it
    // fits: SSE2 multiplies the even lanes, so twice.
    const __m128i even = _mm_mul_epu32(sx, height);
    const __m128i odd = _mm_mul_epu32(_mm_srli_si128(sx, 4), height);
    const __m128i products = _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                                                _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
    _mm_store_si128(reinterpret_cast<__m128i*>(at), _mm_add_epi32(products, sy));
    _mm_store_si128(reinterpret_cast<__m128i*>(inside), lanes.inside);
    for (int l = 0; l < 4; ++l) out[l] = inside[l] ? bits[static_cast<uint32_t>(at[l])] : outer;
    u = _mm_add_epi32(u, du);
    v = _mm_add_epi32(v, dv);
    z = _mm_add_epi32(z, dz);
  }
}
#else
void ProjectiveRow(TColor32* out, int32_t count, const TBitmap32& src, TRowStart s, int32_t du, int32_t dv,
                   int32_t dz) {
  for (int32_t k = 0; k < count; ++k) {
    out[k] = Sample(src, s.U, s.V, s.Z);
    s = {WrapAdd(s.U, du), WrapAdd(s.V, dv), WrapAdd(s.Z, dz)};
  }
}
#endif

// Columns: four at a time where SSE2 is there, the rest one by one.
void TransformColumns(TBitmap32& dst, const TRect& box, const TColumnBitmap& src, const TFixedMatrix& m) {
  const size_t stride = static_cast<size_t>(dst.Width());
  const int32_t down[3] = {m[0][1], m[1][1], m[2][1]};
  const int32_t right[3] = {m[0][0], m[1][0], m[2][0]};
  TColor32* top = dst.Row(box.Top);
  int32_t i = box.Left;
#if defined(__SSE2__)
  for (; i + 4 <= box.Right; i += 4)
    ColumnStrip(top + i, stride, box.Height(), src, RowStart(m, i, box.Top), down, right);
#endif
  for (; i < box.Right; ++i)
    ColumnDown(top + i, stride, box.Height(), src, RowStart(m, i, box.Top), down[0], down[1], down[2]);
}

}  // namespace

TRect TransformedBox(const TBitmap32& dst, const TProjectiveTransformation& t) {
  const auto& c = t.Corners();
  for (const TFloatPoint& p : c) {
    if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return {};
  }
  const float minX = std::min({c[0].X, c[1].X, c[2].X, c[3].X});
  const float maxX = std::max({c[0].X, c[1].X, c[2].X, c[3].X});
  const float minY = std::min({c[0].Y, c[1].Y, c[2].Y, c[3].Y});
  const float maxY = std::max({c[0].Y, c[1].Y, c[2].Y, c[3].Y});
  const TRect box{RoundClamped(minX - 0.5f, -kBoxLimit, kBoxLimit), RoundClamped(minY - 0.5f, -kBoxLimit, kBoxLimit),
                  RoundClamped(maxX + 0.5f, -kBoxLimit, kBoxLimit), RoundClamped(maxY + 0.5f, -kBoxLimit, kBoxLimit)};
  const TRect clipped = IntersectRect(IntersectRect(box, dst.ClipRect), dst.BoundsRect());
  return clipped.IsEmpty() ? TRect{} : clipped;
}

void TransformBitmap(TBitmap32& dst, const TBitmap32& src, TProjectiveTransformation& t) {
  const TRect box = TransformedBox(dst, t);
  if (box.IsEmpty()) return;
  const TFixedMatrix& m = t.FixedInverse();
  const bool affine = m[2][0] == 0 && m[2][1] == 0 && m[2][2] == kOne;
  for (int32_t j = box.Top; j < box.Bottom; ++j) {
    const TRowStart s = RowStart(m, box.Left, j);
    TColor32* out = dst.Row(j) + box.Left;
    if (affine) {
      AffineRow(out, box.Width(), src, s, m[0][0], m[1][0]);
    } else {
      ProjectiveRow(out, box.Width(), src, s, m[0][0], m[1][0], m[2][0]);
    }
  }
}

void TransformBitmap(TBitmap32& dst, const TColumnBitmap& src, TProjectiveTransformation& t) {
  const TRect box = TransformedBox(dst, t);
  if (box.IsEmpty()) return;
  TransformColumns(dst, box, src, t.FixedInverse());
}

}  // namespace tavio
