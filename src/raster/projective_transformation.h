// TProjectiveTransformation: the four-corner projective map from a source
// rectangle onto a destination quad, with its inverse in 16.16 fixed point.
#pragma once
#include <array>
#include <cstdint>

namespace tavio {

struct TFloatPoint {
  float X = 0, Y = 0;
  friend bool operator==(const TFloatPoint&, const TFloatPoint&) = default;
};

struct TFloatRect {
  float Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const TFloatRect&, const TFloatRect&) = default;
};

// Row-major; a point (x, y) maps to the column (x, y, 1) multiplied from the left.
using TFloatMatrix = std::array<std::array<float, 3>, 3>;
using TFixedMatrix = std::array<std::array<int32_t, 3>, 3>;

// Corner 0 receives the source's top-left, 1 its top-right, 2 its
// bottom-right and 3 its bottom-left. Changing a corner or the source
// rectangle invalidates the matrices; they are rebuilt on the next query.
class TProjectiveTransformation {
 public:
  TProjectiveTransformation();

  TFloatPoint Corner(int32_t index) const { return corners_[index]; }
  void SetCorner(int32_t index, TFloatPoint p);
  void SetCorners(const std::array<TFloatPoint, 4>& corners);
  const std::array<TFloatPoint, 4>& Corners() const { return corners_; }

  const TFloatRect& SourceRect() const { return source_; }
  void SetSourceRect(const TFloatRect& rect);

  bool Valid() const { return valid_; }
  const TFloatMatrix& Matrix();
  const TFloatMatrix& InverseMatrix();
  // Rows (a, b, c), (d, e, f), (p, q, r): a destination point (x, y) gives the
  // homogeneous source values U = a x + b y + c, V = d x + e y + f, Z = p x + q y + r.
  const TFixedMatrix& FixedInverse();

  // Where a source point lands (x / z, y / z of the forward matrix).
  TFloatPoint Transform(TFloatPoint source);

 private:
  void PrepareMatrices();

  std::array<TFloatPoint, 4> corners_;
  TFloatRect source_;
  bool valid_ = false;
  TFloatMatrix forward_{};
  TFloatMatrix inverse_{};
  TFixedMatrix fixedInverse_{};
};

}  // namespace tavio
