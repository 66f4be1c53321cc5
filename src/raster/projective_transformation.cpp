#include "raster/projective_transformation.h"

#include <cmath>

#include "raster/rounding.h"

namespace tavio {

namespace {

TFloatMatrix Multiply(const TFloatMatrix& m, const TFloatMatrix& n) {
  TFloatMatrix r{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) r[i][j] = m[i][0] * n[0][j] + m[i][1] * n[1][j] + m[i][2] * n[2][j];
  }
  return r;
}

// Maps the unit square onto the quad: (0,0) to corner 0, (1,0) to corner 1,
// (1,1) to corner 2, (0,1) to corner 3.
TFloatMatrix UnitSquareToQuad(const std::array<TFloatPoint, 4>& c) {
  const float px = c[0].X - c[1].X + c[2].X - c[3].X;
  const float py = c[0].Y - c[1].Y + c[2].Y - c[3].Y;
  if (px == 0.0f && py == 0.0f) {
    return {{{c[1].X - c[0].X, c[2].X - c[1].X, c[0].X},
             {c[1].Y - c[0].Y, c[2].Y - c[1].Y, c[0].Y},
             {0.0f, 0.0f, 1.0f}}};
  }
  const float dx1 = c[1].X - c[2].X, dx2 = c[3].X - c[2].X;
  const float dy1 = c[1].Y - c[2].Y, dy2 = c[3].Y - c[2].Y;
  const float k = dx1 * dy2 - dx2 * dy1;
  if (k == 0.0f) return TFloatMatrix{};
  const float g = (px * dy2 - py * dx2) / k;
  const float h = (dx1 * py - dy1 * px) / k;
  return {{{c[1].X - c[0].X + g * c[1].X, c[3].X - c[0].X + h * c[3].X, c[0].X},
           {c[1].Y - c[0].Y + g * c[1].Y, c[3].Y - c[0].Y + h * c[3].Y, c[0].Y},
           {g, h, 1.0f}}};
}

// Source coordinates to the unit square. A source rectangle without area has
// no such map; the zero matrix then makes the inverse the identity.
TFloatMatrix NormaliseSource(const TFloatRect& r) {
  const float w = r.Right - r.Left, h = r.Bottom - r.Top;
  if (w == 0.0f || h == 0.0f) return TFloatMatrix{};
  return {{{1.0f / w, 0.0f, -r.Left / w}, {0.0f, 1.0f / h, -r.Top / h}, {0.0f, 0.0f, 1.0f}}};
}

float Determinant(const TFloatMatrix& m) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

TFloatMatrix Invert(const TFloatMatrix& m) {
  const float det = Determinant(m);
  // Near-singular (or NaN from absurd corners): the identity, as if nothing moved.
  if (!(std::fabs(det) >= 0.00001f)) return {{{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}}};
  TFloatMatrix r;
  r[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
  r[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
  r[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
  r[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
  r[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
  r[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
  r[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
  r[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
  r[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
  return r;
}

// Beyond the 16.16 range an entry wraps modulo 2^32, as a 32-bit conversion
// does. U, V and Z are sums that wrap the same way and whose true values at
// the drawn pixels stay in range, so they come out exact. (A clamped entry
// lost the far covers of large pictures: 1400 pixels wide at 160 degrees.)
int32_t ToFixed(float v) { return RoundWrapped(static_cast<double>(v) * 65536.0); }

}  // namespace

TProjectiveTransformation::TProjectiveTransformation()
    : corners_{{{0, 0}, {250, 0}, {250, 250}, {0, 250}}}, source_{0, 0, 250, 250} {}

void TProjectiveTransformation::SetCorner(int32_t index, TFloatPoint p) {
  corners_[index] = p;
  valid_ = false;
}

void TProjectiveTransformation::SetCorners(const std::array<TFloatPoint, 4>& corners) {
  corners_ = corners;
  valid_ = false;
}

void TProjectiveTransformation::SetSourceRect(const TFloatRect& rect) {
  source_ = rect;
  valid_ = false;
}

void TProjectiveTransformation::PrepareMatrices() {
  if (valid_) return;
  forward_ = Multiply(UnitSquareToQuad(corners_), NormaliseSource(source_));
  inverse_ = Invert(forward_);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) fixedInverse_[i][j] = ToFixed(inverse_[i][j]);
  }
  valid_ = true;
}

const TFloatMatrix& TProjectiveTransformation::Matrix() {
  PrepareMatrices();
  return forward_;
}

const TFloatMatrix& TProjectiveTransformation::InverseMatrix() {
  PrepareMatrices();
  return inverse_;
}

const TFixedMatrix& TProjectiveTransformation::FixedInverse() {
  PrepareMatrices();
  return fixedInverse_;
}

TFloatPoint TProjectiveTransformation::Transform(TFloatPoint s) {
  const TFloatMatrix& m = Matrix();
  const float x = m[0][0] * s.X + m[0][1] * s.Y + m[0][2];
  const float y = m[1][0] * s.X + m[1][1] * s.Y + m[1][2];
  const float z = m[2][0] * s.X + m[2][1] * s.Y + m[2][2];
  return {x / z, y / z};
}

}  // namespace tavio
