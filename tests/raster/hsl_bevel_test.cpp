#include <gtest/gtest.h>

#include "raster/bevel_edges.h"
#include "raster/hsl.h"

namespace tavio {
namespace {

TEST(Hsl, GreyHasNoHueOrSaturationAndRoundTrips) {
  const THsl hsl = RGBToHSL(0xFF808080u);
  EXPECT_EQ(hsl.H, 0.0f);
  EXPECT_EQ(hsl.S, 0.0f);
  EXPECT_NEAR(hsl.L, 0.50196f, 1e-5);
  EXPECT_EQ(HSLToRGB(hsl.H, hsl.S, hsl.L), 0xFF808080u);
}

TEST(Hsl, EveryColourOfAGridRoundTripsAndComesBackOpaque) {
  for (uint32_t r = 0; r < 256; r += 15)
    for (uint32_t g = 0; g < 256; g += 17)
      for (uint32_t b = 0; b < 256; b += 51) {
        const TColor32 c = Color32(r, g, b, 0x40);
        const THsl hsl = RGBToHSL(c);
        ASSERT_EQ(HSLToRGB(hsl.H, hsl.S, hsl.L), c | 0xFF000000u) << std::hex << c;
      }
}

TEST(Hsl, HueOfPrimaryColours) {
  EXPECT_NEAR(RGBToHSL(0xFFFF0000u).H, 0.0f, 1e-6);
  EXPECT_NEAR(RGBToHSL(0xFF00FF00u).H, 1.0f / 3.0f, 1e-6);
  EXPECT_NEAR(RGBToHSL(0xFF0000FFu).H, 2.0f / 3.0f, 1e-6);
  EXPECT_NEAR(RGBToHSL(0xFFFF00FFu).H, 5.0f / 6.0f, 1e-6);  // negative hue wraps
}

TEST(BevelEdges, WhiteCoverGetsThirdsAndCornersSteppedTwice) {
  TBitmap32 cover(250, 250);
  cover.Clear(kOpaqueWhite);
  BevelEdges(cover, cover.BoundsRect());
  EXPECT_EQ(cover.GetPixel(0, 100), 0xFF555555u);
  EXPECT_EQ(cover.GetPixel(1, 100), 0xFFAAAAAAu);
  EXPECT_EQ(cover.GetPixel(0, 0), 0xFF1C1C1Cu);
  EXPECT_EQ(cover.GetPixel(1, 0), 0xFF393939u);
  EXPECT_EQ(cover.GetPixel(1, 1), 0xFF717171u);
  EXPECT_EQ(cover.GetPixel(249, 249), 0xFF1C1C1Cu);
  EXPECT_EQ(cover.GetPixel(248, 100), 0xFFAAAAAAu);
  EXPECT_EQ(cover.GetPixel(100, 249), 0xFF555555u);
  EXPECT_EQ(cover.GetPixel(100, 100), kOpaqueWhite);
  EXPECT_EQ(cover.GetPixel(2, 2), kOpaqueWhite);
}

TEST(BevelEdges, ColouredEdgeShiftsHueTowardsRed) {
  TBitmap32 cover(10, 10);
  cover.Clear(0xFF0000FFu);  // blue, hue 2/3
  BevelEdges(cover, cover.BoundsRect());
  const THsl edge = RGBToHSL(cover.GetPixel(0, 5));
  EXPECT_NEAR(edge.H, 2.0f / 9.0f, 0.01);
}

TEST(BevelEdges, TinyAndOutsideRectanglesStayInsideTheBitmap) {
  for (int32_t side : {1, 2, 3}) {
    TBitmap32 b(side, side);
    b.Clear(kOpaqueWhite);
    BevelEdges(b, b.BoundsRect());
    EXPECT_NE(b.GetPixel(0, 0), kOpaqueWhite);
  }
  // Height 3: the middle row is the inner row of both edges, stepped twice.
  TBitmap32 three(5, 3);
  three.Clear(kOpaqueWhite);
  BevelEdges(three, three.BoundsRect());
  EXPECT_EQ(three.GetPixel(2, 1), 0xFF717171u);

  TBitmap32 b(10, 10);
  b.Clear(kOpaqueWhite);
  BevelEdges(b, {20, 20, 30, 30});
  BevelEdges(b, {-5, -5, 0, 0});
  b.ClipRect = {0, 0, 5, 5};
  BevelEdges(b, {6, 6, 10, 10});
  for (int32_t y = 0; y < 10; ++y)
    for (int32_t x = 0; x < 10; ++x) ASSERT_EQ(b.GetPixel(x, y), kOpaqueWhite);
  // A rectangle reaching past the bitmap bevels the part inside.
  BevelEdges(b, {-3, -3, 5, 5});
  EXPECT_EQ(b.GetPixel(0, 2), 0xFF555555u);
  EXPECT_EQ(b.GetPixel(4, 2), 0xFF555555u);
}

}  // namespace
}  // namespace tavio
