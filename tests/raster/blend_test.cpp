#include <gtest/gtest.h>

#include <utility>

#include "raster/bitmap32.h"
#include "raster/blend.h"
#include "raster/combine_block.h"
#include "raster/raster_error.h"

namespace tavio {
namespace {

TEST(BlendPixel, MasterAlphaScalesSourceAlphaWithBiasAndShift) {
  // A = (129 * 78) >> 8 = 39; alpha (128 * 39 + 128) >> 8 = 20, red (255 * 39 + 128) >> 8 = 39.
  EXPECT_EQ(BlendPixel(0x80FF0000u, 0u, 78), 0x14270000u);
}

TEST(BlendPixel, TrivialCasesCopyOrKeep) {
  EXPECT_EQ(BlendPixel(0xFF123456u, 0xFF654321u, 255), 0xFF123456u);
  EXPECT_EQ(BlendPixel(0x00123456u, 0xFF654321u, 255), 0xFF654321u);
  // Master alpha beyond the range blends as its limit.
  EXPECT_EQ(BlendPixel(0xFF123456u, 0xFF654321u, 1000), 0xFF123456u);
  EXPECT_EQ(BlendPixel(0xFF123456u, 0xFF654321u, -5), 0xFF654321u);
  // (1 + 1) * 100 >> 8 = 0: nothing left to blend.
  EXPECT_EQ(BlendPixel(0x01FFFFFFu, 0x80000000u, 100), 0x80000000u);
}

TEST(BlendPixel, EachChannelMatchesTheFormulaWithoutCarryBetweenChannels) {
  const TColor32 f = 0x7FFF01FEu, b = 0xFF00FF01u;
  const uint32_t a = 0x7F;
  auto ch = [&](int shift) { return ((((f >> shift) & 255) * a + ((b >> shift) & 255) * (256 - a) + 128) >> 8) << shift; };
  EXPECT_EQ(BlendPixel(f, b, 255), ch(24) | ch(16) | ch(8) | ch(0));
}

TBitmap32 RowNumbered(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, 0xFF000000u | (y << 8) | x);
  return b;
}

TEST(CombineBlock, SourceRectTopLandsOnDestinationPosition) {
  const TBitmap32 src = RowNumbered(10, 40);
  TBitmap32 dst(10, 20);
  CombineBlock(dst, 0, 0, dst.BoundsRect(), src, {0, 20, 10, 30}, TDrawMode::dmOpaque);
  for (int32_t y = 0; y < 10; ++y) EXPECT_EQ(dst.GetPixel(3, y), src.GetPixel(3, y + 20)) << y;
  EXPECT_EQ(dst.GetPixel(3, 10), 0u);
}

TEST(CombineBlock, ClipsSourceAndDestinationWithoutShiftingTheBlock) {
  const TBitmap32 src = RowNumbered(8, 8);
  TBitmap32 dst(6, 6);
  // The source rect starts left of and above src: the unclipped corner (-2, -2)
  // stays on (1, 1), so src (0, 0) lands on (3, 3); the clip keeps x < 5.
  CombineBlock(dst, 1, 1, {0, 0, 5, 6}, src, {-2, -2, 6, 6}, TDrawMode::dmOpaque);
  EXPECT_EQ(dst.GetPixel(3, 3), src.GetPixel(0, 0));
  EXPECT_EQ(dst.GetPixel(4, 5), src.GetPixel(1, 2));
  EXPECT_EQ(dst.GetPixel(5, 5), 0u);
  EXPECT_EQ(dst.GetPixel(2, 3), 0u);
  // Entirely outside: nothing, no crash.
  CombineBlock(dst, 100, -100, dst.BoundsRect(), src, src.BoundsRect(), TDrawMode::dmOpaque);
  CombineBlock(dst, INT32_MAX, INT32_MIN, dst.BoundsRect(), src, {INT32_MIN, 0, 4, 4}, TDrawMode::dmOpaque);
}

TEST(CombineBlock, BlendUsesSourceMasterAlphaAndZeroDoesNothing) {
  TBitmap32 src(2, 1);
  src.Clear(0x80FF0000u);
  src.MasterAlpha = 78;
  TBitmap32 dst(2, 1);
  CombineBlock(dst, 0, 0, dst.BoundsRect(), src, src.BoundsRect(), TDrawMode::dmBlend);
  EXPECT_EQ(dst.GetPixel(1, 0), 0x14270000u);
  src.MasterAlpha = 0;
  dst.Clear(0);
  CombineBlock(dst, 0, 0, dst.BoundsRect(), src, src.BoundsRect(), TDrawMode::dmBlend);
  EXPECT_EQ(dst.GetPixel(0, 0), 0u);
}

TEST(Bitmap32, SizeChangeZeroesAndResetsClipButSameSizeKeepsPixels) {
  TBitmap32 b(3, 2);
  b.Clear(0xFFFFFFFFu);
  b.ClipRect = {1, 1, 2, 2};
  b.SetSize(3, 2);
  EXPECT_EQ(b.GetPixel(0, 0), 0xFFFFFFFFu);
  b.SetSize(-4, 7);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 7);
  EXPECT_TRUE(b.Empty());
  b.SetSize(2, 2);
  EXPECT_EQ(b.GetPixel(1, 1), 0u);
  EXPECT_EQ(b.ClipRect, (TRect{0, 0, 2, 2}));
}

TEST(Bitmap32, SizeThatOverflowsAnAllocationIsRefusedAndKeepsTheBitmap) {
  TBitmap32 b(2, 2);
  b.Clear(7);
  EXPECT_THROW(b.SetSize(INT32_MAX, INT32_MAX), ERasterError);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.GetPixel(1, 1), 7u);
}

TEST(Bitmap32, FlipVerticalSwapsRowsAndLeavesTheMiddleRow) {
  TBitmap32 b = RowNumbered(2, 3);
  b.FlipVertical();
  EXPECT_EQ(b.GetPixel(1, 0), 0xFF000201u);
  EXPECT_EQ(b.GetPixel(1, 1), 0xFF000101u);
  EXPECT_EQ(b.GetPixel(1, 2), 0xFF000001u);
}

TEST(Color32, SetAlphaClampsTheAlpha) {
  EXPECT_EQ(SetAlpha(0x12345678u, 300), 0xFF345678u);
  EXPECT_EQ(SetAlpha(0x12345678u, -1), 0x00345678u);
  EXPECT_EQ(SetAlpha(0x12345678u, 60), 0x3C345678u);
}

TEST(Bitmap32, CopiesSharePixelsUntilOneOfThemWrites) {
  TBitmap32 original(4, 3);
  original.Clear(0xFF112233u);
  TBitmap32 copy = original;
  EXPECT_EQ(std::as_const(copy).Bits(), std::as_const(original).Bits());  // no pixel copy yet
  copy.SetPixel(1, 1, 0xFFFFFFFFu);
  EXPECT_EQ(original.GetPixel(1, 1), 0xFF112233u);
  EXPECT_EQ(copy.GetPixel(1, 1), 0xFFFFFFFFu);
  TBitmap32 second = original;
  second.FlipVertical();
  second.Clear(0);
  EXPECT_EQ(original.GetPixel(0, 0), 0xFF112233u);
  EXPECT_EQ(second.GetPixel(3, 2), 0u);
}

}  // namespace
}  // namespace tavio
