#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "raster/projective_transformation.h"
#include "raster/rounding.h"
#include "raster/transform_bitmap.h"
#include "reference_transform.h"
#include "view/cover_drawing.h"

namespace tavio {
namespace {

TBitmap32 Numbered(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, 0xFF000000u | (static_cast<uint32_t>(y) << 12) | x);
  return b;
}

TProjectiveTransformation Quad(std::array<TFloatPoint, 4> c, const TBitmap32& src) {
  TProjectiveTransformation t;
  t.SetCorners(c);
  t.SetSourceRect({0, 0, static_cast<float>(src.Width()), static_cast<float>(src.Height())});
  return t;
}

TEST(TransformBitmap, UnitQuadReproducesTheSourceExactly) {
  const TBitmap32 src = Numbered(250, 250);
  TBitmap32 dst(300, 300);
  dst.Clear(0xDEADBEEFu);
  auto t = Quad({{{0, 0}, {250, 0}, {250, 250}, {0, 250}}}, src);
  EXPECT_EQ(TransformedBox(dst, t), (TRect{0, 0, 250, 250}));
  TransformBitmap(dst, src, t);
  for (int32_t y = 0; y < 250; ++y)
    for (int32_t x = 0; x < 250; ++x) ASSERT_EQ(dst.GetPixel(x, y), src.GetPixel(x, y)) << x << "," << y;
  EXPECT_EQ(dst.GetPixel(250, 10), 0xDEADBEEFu);
  EXPECT_EQ(dst.GetPixel(10, 250), 0xDEADBEEFu);
}

TEST(TransformBitmap, SmallQuadSamplesEveryTwentyFifthPixelInItsBox) {
  const TBitmap32 src = Numbered(250, 250);
  TBitmap32 dst(40, 40);
  dst.Clear(0xDEADBEEFu);
  auto t = Quad({{{10, 0}, {20, 0}, {20, 10}, {10, 10}}}, src);
  EXPECT_EQ(TransformedBox(dst, t), (TRect{10, 0, 20, 10}));
  TransformBitmap(dst, src, t);
  for (int32_t j = 0; j < 10; ++j)
    for (int32_t i = 10; i < 20; ++i) EXPECT_EQ(dst.GetPixel(i, j), src.GetPixel(25 * (i - 10), 25 * j));
  EXPECT_EQ(dst.GetPixel(9, 0), 0xDEADBEEFu);
  EXPECT_EQ(dst.GetPixel(20, 0), 0xDEADBEEFu);
  EXPECT_EQ(dst.GetPixel(10, 10), 0xDEADBEEFu);
}

TEST(TransformBitmap, WholeBoxIsWrittenWithTheOuterColourOutsideTheQuad) {
  TBitmap32 src(100, 100);
  src.Clear(0xFFFFFFFFu);
  TBitmap32 dst(120, 120);
  dst.Clear(0xFF00FF00u);
  auto t = Quad({{{0, 0}, {100, 40}, {100, 60}, {0, 100}}}, src);
  TransformBitmap(dst, src, t);
  EXPECT_EQ(dst.GetPixel(95, 5), 0u);  // inside the box, outside the quad
  EXPECT_EQ(dst.GetPixel(5, 50), 0xFFFFFFFFu);
  EXPECT_EQ(dst.GetPixel(110, 50), 0xFF00FF00u);
}

TEST(TransformBitmap, ClipRectLimitsTheWrittenBox) {
  const TBitmap32 src = Numbered(50, 50);
  TBitmap32 dst(60, 60);
  dst.ClipRect = {10, 10, 20, 20};
  auto t = Quad({{{0, 0}, {50, 0}, {50, 50}, {0, 50}}}, src);
  TransformBitmap(dst, src, t);
  EXPECT_EQ(dst.GetPixel(9, 15), 0u);
  EXPECT_EQ(dst.GetPixel(15, 15), src.GetPixel(15, 15));
  EXPECT_EQ(dst.GetPixel(20, 15), 0u);
}

TEST(TransformBitmap, DegenerateQuadsStillRunAndStayInTheBitmap) {
  const TBitmap32 src = Numbered(20, 20);
  TBitmap32 dst(30, 30);
  for (auto corners : {std::array<TFloatPoint, 4>{{{5, 5}, {5, 5}, {5, 5}, {5, 5}}},
                       std::array<TFloatPoint, 4>{{{0, 0}, {10, 10}, {20, 20}, {30, 30}}},
                       std::array<TFloatPoint, 4>{{{-1e30f, 0}, {1e30f, 0}, {1e30f, 1e30f}, {0, 1e30f}}}}) {
    auto t = Quad(corners, src);
    TransformBitmap(dst, src, t);
  }
  TBitmap32 empty;
  auto t = Quad({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}}, empty);
  TransformBitmap(dst, empty, t);
  EXPECT_EQ(dst.GetPixel(5, 5), 0u);
}

// The optimised rows (incremental U, V, Z; four pixels at a time) must give
// exactly what the formula gives pixel by pixel.
TEST(TransformBitmap, OptimisedRowsMatchThePerPixelFormulaOnRandomQuads) {
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<float> coord(-80.0f, 380.0f);
  std::uniform_int_distribution<int> side(1, 300);
  for (int round = 0; round < 120; ++round) {
    const TBitmap32 src = Numbered(side(rng), side(rng));
    std::array<TFloatPoint, 4> c;
    for (auto& p : c) p = {coord(rng), coord(rng)};
    if (round % 3 == 0) c[3] = {c[0].X + c[2].X - c[1].X, c[0].Y + c[2].Y - c[1].Y};  // parallelograms too
    TBitmap32 fast(300, 300), columns(300, 300), plain(300, 300);
    fast.Clear(0x11223344u);
    columns.Clear(0x11223344u);
    plain.Clear(0x11223344u);
    auto t = Quad(c, src);
    TransformBitmap(fast, src, t);
    TransformBitmap(columns, TColumnBitmap(src), t);
    reference::TransformBitmapPerPixel(plain, src, t);
    for (int32_t y = 0; y < 300; ++y) {
      for (int32_t x = 0; x < 300; ++x) {
        ASSERT_EQ(fast.GetPixel(x, y), plain.GetPixel(x, y)) << "round " << round << " at " << x << "," << y;
        ASSERT_EQ(columns.GetPixel(x, y), plain.GetPixel(x, y)) << "round " << round << " at " << x << "," << y;
      }
    }
  }
}

TEST(TransformBitmap, CarouselQuadsMatchThePerPixelFormula) {
  // A small slot, and one larger than the cover drawn from it.
  for (const auto& [w, h] : {std::pair{250, 333}, std::pair{1000, 1333}}) {
    const TBitmap32 slot = Numbered(w, h);
    const TColumnBitmap slotColumns(slot);
    for (int angle = 0; angle <= 360; angle += 5) {
      TBitmap32 fast(1110, 370), columns(1110, 370), plain(1110, 370);
      TProjectiveTransformation t;
      TFloatRect rect;
      DrawCover(fast, t, rect, 254, slot, 259.5f, 20, static_cast<float>(angle));
      DrawCover(columns, t, rect, 254, slotColumns, 259.5f, 20, static_cast<float>(angle));
      reference::TransformBitmapPerPixel(plain, slot, t);
      ASSERT_EQ(0, std::memcmp(fast.Bits(), plain.Bits(), 1110 * 370 * 4)) << angle;
      ASSERT_EQ(0, std::memcmp(columns.Bits(), plain.Bits(), 1110 * 370 * 4)) << w << " " << angle;
    }
  }
}

// A slot of a side x side cover (side x Round(4 side / 3)) in 8 x 8 blocks, each
// pixel carrying its block's number above 16 bits of position noise.
TBitmap32 BlockSlot(int32_t side) {
  TBitmap32 slot(side, Round(side * 4.0 / 3.0));
  for (int32_t y = 0; y < slot.Height(); ++y) {
    TColor32* row = slot.Row(y);
    const uint32_t blockRow = static_cast<uint32_t>(y * 8 / slot.Height()) * 8;
    for (int32_t x = 0; x < side; ++x)
      row[x] = 0xFF000000u | (blockRow + static_cast<uint32_t>(x * 8 / side)) << 16 | ((x * 31 + y) & 0xFFFF);
  }
  return slot;
}

TEST(TransformBitmap, LargeCoversAreDrawnWholeAtEveryPlaceAtRestAndMoving) {
  // The 1110 x 370 view's places, left to right; moving frames pass between them.
  const float xs[5] = {259, 301, 428, 555, 597}, angles[5] = {20, 40, 90, 140, 160};
  std::vector<std::pair<float, float>> places;
  for (int p = 0; p < 5; ++p) {
    places.push_back({xs[p], angles[p]});
    for (int k = 1; p < 4 && k < 4; ++k)
      places.push_back({xs[p] + (xs[p + 1] - xs[p]) * k / 4.0f, angles[p] + (angles[p + 1] - angles[p]) * k / 4.0f});
  }
  for (int32_t side : {300, 1000, 1400, 1800, 2500, 3000}) {
    const TBitmap32 slot = BlockSlot(side);
    const TColumnBitmap slotColumns(slot);
    for (const auto& [x, angle] : places) {
      TBitmap32 fast(1110, 370), columns(1110, 370), plain(1110, 370);
      TProjectiveTransformation t;
      TFloatRect rect;
      DrawCover(fast, t, rect, 254, slot, x, 20, angle);
      DrawCover(columns, t, rect, 254, slotColumns, x, 20, angle);
      reference::TransformBitmapPerPixel(plain, slot, t);
      ASSERT_EQ(0, std::memcmp(fast.Bits(), plain.Bits(), 1110 * 370 * 4)) << side << " at " << x << ", " << angle;
      ASSERT_EQ(0, std::memcmp(columns.Bits(), plain.Bits(), 1110 * 370 * 4)) << side << " at " << x << ", " << angle;
      // Each block's centre, carried forward, shows that block.
      for (uint32_t block = 0; block < 64; ++block) {
        const TFloatPoint at = t.Transform({(static_cast<float>(block % 8) + 0.5f) * static_cast<float>(side) / 8,
                                            (static_cast<float>(block / 8) + 0.5f) * static_cast<float>(slot.Height()) / 8});
        ASSERT_EQ(plain.GetPixel(Round(at.X), Round(at.Y)) >> 16 & 0xFF, block)
            << side << " at " << x << ", " << angle << ": block " << block;
      }
    }
  }
}

TEST(ProjectiveTransformation, CornerChangeInvalidatesAndForwardMapHitsCorners) {
  TProjectiveTransformation t;
  t.SetSourceRect({0, 0, 100, 50});
  t.SetCorners({{{10, 20}, {110, 40}, {100, 90}, {20, 70}}});
  EXPECT_FALSE(t.Valid());
  const TFloatPoint p = t.Transform({100, 50});
  EXPECT_TRUE(t.Valid());
  EXPECT_NEAR(p.X, 100, 1e-3);
  EXPECT_NEAR(p.Y, 90, 1e-3);
  t.SetCorner(2, {120, 90});
  EXPECT_FALSE(t.Valid());
  EXPECT_NEAR(t.Transform({100, 50}).X, 120, 1e-3);
}

TEST(ProjectiveTransformation, SingularMapsInvertToTheIdentity) {
  TProjectiveTransformation t;
  t.SetCorners({{{0, 0}, {10, 10}, {20, 20}, {30, 30}}});
  const TFixedMatrix& m = t.FixedInverse();
  EXPECT_EQ(m, (TFixedMatrix{{{65536, 0, 0}, {0, 65536, 0}, {0, 0, 65536}}}));
}

void ExpectCorners(const std::array<TFloatPoint, 4>& got, const std::array<TFloatPoint, 4>& want) {
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(got[i].X, want[i].X, 0.01) << "corner " << i;
    EXPECT_NEAR(got[i].Y, want[i].Y, 0.01) << "corner " << i;
  }
}

TEST(CoverCorners, TwentyDegreesTiltsTheFarEdgeAndScalesTopPlusSide) {
  ExpectCorners(CoverCorners(254, 259, 20, 20), {{{259, 20}, {315.44f, 85.85f}, {315.44f, 277.53f}, {259, 365.33f}}});
}

TEST(CoverCorners, AnglesAboveNinetyMirrorThoseBelowAndAbove180Fold) {
  ExpectCorners(CoverCorners(254, 597, 20, 160),
                {{{794.56f, 85.85f}, {851, 20}, {851, 365.33f}, {794.56f, 277.53f}}});
  for (float x : {259.0f, 597.0f}) {
    const auto a = CoverCorners(254, x, 20, 20), b = CoverCorners(254, x, 20, 160);
    const float centre = x + 127;
    // Mirror about the square's vertical centre line: corner 0 <-> 1, 3 <-> 2.
    EXPECT_FLOAT_EQ(a[0].X - centre, centre - b[1].X);
    EXPECT_FLOAT_EQ(a[1].X - centre, centre - b[0].X);
    EXPECT_FLOAT_EQ(a[1].Y, b[0].Y);
    EXPECT_FLOAT_EQ(a[2].Y, b[3].Y);
  }
  EXPECT_EQ(CoverCorners(254, 259, 20, 200), CoverCorners(254, 259, 20, 20));
  EXPECT_EQ(CoverCorners(254, 259, 20, 380), CoverCorners(254, 259, 20, 20));
}

TEST(CoverCorners, FaceOnIsTheFullRectangle) {
  ExpectCorners(CoverCorners(254, 428, 20, 90), {{{428, 20}, {682, 20}, {682, 365.33f}, {428, 365.33f}}});
}

}  // namespace
}  // namespace tavio
