#include <gtest/gtest.h>

#include "fake_view_platform.h"
#include "raster/module_resources.h"
#include "view/caption_text.h"
#include "view/cover_drawing.h"
#include "view/movement_curve.h"
#include "view/slot_composition.h"

using namespace tavio;
using namespace tavio::test;

namespace {

// A cover whose rows and columns can be told apart: red = row, green = column.
TBitmap32 PatternCover(int32_t w, int32_t h) {
  TBitmap32 cover(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) cover.SetPixel(x, y, Color32(y % 256, x % 256, 77));
  return cover;
}

// Each channel of c scaled the way a blend with weight a onto black does.
TColor32 Scaled(TColor32 c, uint32_t a) {
  const auto ch = [&](uint32_t v) { return (v * a + 128) >> 8; };
  return (ch(AlphaOf(c)) << 24) | (ch(RedOf(c)) << 16) | (ch(GreenOf(c)) << 8) | ch(BlueOf(c));
}

}  // namespace

TEST(FillSlot, MirrorFadesTheBottomThirdWithMirrorAlpha78) {
  TBitmap32 cover = PatternCover(250, 250);
  const TBitmap32 original = cover;
  TBitmap32 slot(250, 333);
  ComposeSlot(slot, cover, 78);
  ASSERT_EQ(slot.Width(), 250);
  ASSERT_EQ(slot.Height(), 333);
  for (int32_t y : {0, 100, 249}) EXPECT_EQ(slot.GetPixel(100, y), cover.GetPixel(100, y)) << y;
  // Row 250 mirrors cover row 249 at full source alpha: A = 78.
  EXPECT_EQ(slot.GetPixel(100, 250), Scaled(original.GetPixel(100, 249), 78));
  // Row 251 mirrors row 248 with Fa 76, so A = 23; row 291 row 208 with Fa 39, A = 12.
  EXPECT_EQ(slot.GetPixel(100, 251), Scaled(SetAlpha(original.GetPixel(100, 248), 76), 23));
  EXPECT_EQ(slot.GetPixel(100, 291), Scaled(SetAlpha(original.GetPixel(100, 208), 39), 12));
  // The last row has Fa 0: black, except the edge columns the ramp leaves out.
  for (int32_t x : {2, 100, 248}) EXPECT_EQ(slot.GetPixel(x, 332), 0u) << x;
  for (int32_t x : {0, 1, 249}) EXPECT_EQ(slot.GetPixel(x, 332), Scaled(original.GetPixel(x, 167), 78)) << x;
  // The ramp lives in the cover itself; the last cover row keeps alpha 255.
  EXPECT_EQ(AlphaOf(cover.GetPixel(100, 248)), 76u);
  EXPECT_EQ(AlphaOf(cover.GetPixel(100, 249)), 255u);
  EXPECT_EQ(AlphaOf(cover.GetPixel(249, 248)), 255u);
}

TEST(FillSlot, RepeatedFillGivesTheSameSlot) {
  TBitmap32 cover = PatternCover(250, 250);
  TBitmap32 first, second;
  ComposeSlot(first, cover, 78);
  ComposeSlot(second, cover, 78);
  ASSERT_EQ(first.Height(), second.Height());
  EXPECT_TRUE(std::equal(first.Bits(), first.Bits() + 250 * 333, second.Bits()));
}

TEST(FillSlot, MirrorAlpha255CopiesTheLastRowAndRampsTheRest) {
  TBitmap32 cover = PatternCover(250, 250);
  const TBitmap32 original = cover;
  TBitmap32 slot;
  ComposeSlot(slot, cover, 255);
  EXPECT_EQ(slot.GetPixel(100, 250), original.GetPixel(100, 249));
  // Fa = 255 - Round(2 * 255 / 83) = 249 blends with weight 249 onto black.
  EXPECT_EQ(slot.GetPixel(100, 251), Scaled(SetAlpha(original.GetPixel(100, 248), 249), 249));
}

TEST(FillSlot, DefaultCoverGetsA300By400Slot) {
  TBitmap32 cover;
  LoadFromResourceName(cover, "MOSSEL");
  ASSERT_EQ(cover.Width(), 300);
  TBitmap32 slot(250, 333);
  ComposeSlot(slot, cover, 78);
  EXPECT_EQ(slot.Width(), 300);
  EXPECT_EQ(slot.Height(), 400);
  EXPECT_NE(slot.GetPixel(150, 300) & 0xFFFFFF, 0u);  // the mirror starts at row 300
}

TEST(FillSlot, TinyCoversHaveNoRamp) {
  for (int32_t side : {1, 2, 3, 4}) {
    TBitmap32 cover = PatternCover(side, side);
    const TBitmap32 original = cover;
    TBitmap32 slot;
    ComposeSlot(slot, cover, 78);
    EXPECT_EQ(slot.Width(), side);
    for (int32_t y = 0; y < side; ++y)
      for (int32_t x = 0; x < side; ++x) EXPECT_EQ(slot.GetPixel(x, y), original.GetPixel(x, y)) << side;
  }
}

TEST(Caption, FieldsInKeyOrderEachFollowedByASpace) {
  TAlbum album;
  album.Album = "Blue";
  album.Artist = "Joni";
  album.Year = 1971;
  album.Genre = "Folk";
  EXPECT_EQ(CaptionText(album, "Artist,Album"), "Joni Blue ");
  EXPECT_EQ(CaptionText(album, "Year,Genre,Album,Artist"), "1971 Folk Blue Joni ");
  EXPECT_EQ(CaptionText(album, ""), "");
  EXPECT_EQ(CaptionText(album, "album"), "");  // case-sensitive
  EXPECT_EQ(CaptionText(album, "Album,,Year"), "Blue ");  // stops at the empty item
  EXPECT_EQ(CaptionText(album, "Title,Album"), "Blue ");  // unknown items add nothing
}

TEST(Caption, IndexWrapsBothWaysOverTheLibrary) {
  TViewFixture f(4);
  EXPECT_EQ(f.view.CaptionOf(0), "Album 0 ");
  EXPECT_EQ(f.view.CaptionOf(-1), "Album 3 ");
  EXPECT_EQ(f.view.CaptionOf(5), "Album 1 ");
  // Further below zero than one library length still lands on an album.
  EXPECT_EQ(f.view.CaptionOf(-6), "Album 2 ");
  EXPECT_EQ(&f.view.CoverOf(-5), &f.view.CoverOf(3));
}

TEST(RestFrame, TenAlbumsStandAroundTheCurrentOne) {
  TViewFixture f(10, 0);
  const TBitmap32& frame = f.view.FrameBuffer;
  // Places at 1110 x 370: outer left 259, inner left 301, middle 428..682,
  // inner right 555 (far edge 696), outer right 597 (near edge 851).
  EXPECT_EQ(AlbumShown(frame.GetPixel(270, 150), 10), 8);
  EXPECT_EQ(AlbumShown(frame.GetPixel(320, 150), 10), 9);
  EXPECT_EQ(AlbumShown(frame.GetPixel(555, 150), 10), 0);
  EXPECT_EQ(AlbumShown(frame.GetPixel(750, 150), 10), 1);
  EXPECT_EQ(AlbumShown(frame.GetPixel(840, 150), 10), 2);
  EXPECT_EQ(frame.GetPixel(5, 5), 0u);
  for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(f.AlbumInSlot(k), (k + 7) % 10) << k;
  EXPECT_TRUE(f.platform.timerEnabled);
  EXPECT_EQ(f.platform.timerInterval, 200u);
}

TEST(RestFrame, EmptyLibraryDrawsAndFlushesNothing) {
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  TMarquelle2 view(platform, settings);
  view.Resize(300, 100);
  view.FrameBuffer.Clear(0xFF123456);
  view.RefillSlots();
  view.DrawRestFrame();
  EXPECT_EQ(platform.flushes, 0);
  EXPECT_EQ(view.FrameBuffer.GetPixel(0, 0), 0xFF123456u);
  EXPECT_FALSE(platform.timerEnabled);
}

TEST(RestFrame, ControlPanelSitsOnePixelFromTheBottomRightCorner) {
  TViewFixture f(3);
  f.view.UseControlPanel = true;
  f.view.DrawRestFrame();
  const TBitmap32& frame = f.view.FrameBuffer;
  ASSERT_EQ(f.view.PanelImage.Width(), 100);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 100; ++x)
      ASSERT_EQ(frame.GetPixel(1009 + x, 349 + y), f.view.PanelImage.GetPixel(x, y)) << x << "," << y;
  EXPECT_EQ(frame.GetPixel(1109, 369), 0u);
}

TEST(MovingFrame, HalfWayFrameDrawsEveryCoverBetweenItsPlaces) {
  TViewFixture f(10, 0);
  f.view.CurveA = 0;  // straight curve: k = Step
  f.view.CurveB = 1;
  f.view.StepCount = 50;
  f.view.CurveMode = kCurvePrevious;
  f.view.DrawMovingFrame(25);
  // The same frame drawn by hand with the interpolated places: the middle of
  // x 301 -> 428 is 364.5 at angle 65, and so on, in draw order 0 1 2 5 4 3.
  TBitmap32 want(1110, 370);
  TProjectiveTransformation t;
  TFloatRect source;
  const auto draw = [&](int32_t position, float x, float angle) {
    DrawCover(want, t, source, 254, f.view.SlotAt(position), x, 20, angle);
  };
  draw(0, 259, 20);
  draw(1, 280, 30);
  draw(2, 364.5f, 65);
  draw(5, 597, 160);
  draw(4, 576, 150);
  draw(3, 491.5f, 115);
  ASSERT_EQ(f.view.FrameBuffer.Width(), 1110);
  EXPECT_TRUE(std::equal(want.Bits(), want.Bits() + 1110 * 370, f.view.FrameBuffer.Bits()));
}
