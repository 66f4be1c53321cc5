// The pixel layer's platform parts: module bitmaps found in the running
// module, text drawn (or, natively, left out) and the platform loader.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "raster/file_bytes.h"
#include "raster/module_resources.h"
#include "raster/picture_file.h"
#include "raster/raster_error.h"
#include "raster/text_painter.h"
#include "support/png_encoder.h"
#include "view/prepare_cover.h"

namespace tavio {
namespace {

TEST(PlatformRaster, ModuleBitmapsAreFoundInThisModule) {
  TBitmap32 panel;
  LoadFromResourceName(panel, "SCHALTER");
  EXPECT_EQ(panel.Width(), 100);
  EXPECT_EQ(panel.Height(), 20);
  EXPECT_EQ(panel.GetPixel(0, 0) >> 24, 255u);
  TBitmap32 cover;
  LoadFromResourceName(cover, "MOSSEL");
  EXPECT_EQ(cover.Width(), 300);
  EXPECT_EQ(cover.GetPixel(10, 10), kOpaqueWhite);
  TBitmap32 none;
  LoadFromResourceName(none, "NOIMAGE");
  EXPECT_EQ(none.Width(), 120);
  EXPECT_EQ(none.Height(), 120);
}

TEST(PlatformRaster, TitleTextIsDrawnOnWindowsOnlyAndKeepsAlpha) {
  TBitmap32 b(120, 30);
  b.Clear(kOpaqueWhite);
  PaintText(b, 6, 6, "Title", {{"ARIAL", 12, true}, kOpaqueBlack, true, kOpaqueWhite});
  int changed = 0;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) {
      ASSERT_EQ(b.GetPixel(x, y) >> 24, 255u);
      changed += b.GetPixel(x, y) != kOpaqueWhite;
    }
#if defined(_WIN32)
  EXPECT_GT(changed, 20);
  for (int32_t y = 0; y < b.Height(); ++y) EXPECT_EQ(b.GetPixel(2, y), kOpaqueWhite);  // nothing left of x = 6
#else
  EXPECT_EQ(changed, 0);
#endif
  // Partly or wholly outside the bitmap: clipped, no crash.
  PaintText(b, -50, -5, "Clipped text", {});
  PaintText(b, 500, 500, "Outside", {});
}

TEST(PlatformRaster, GifGoesThroughThePlatformLoader) {
  const std::vector<uint8_t> gif = {
      'G', 'I', 'F', '8', '9', 'a',  // signature and version
      1, 0, 1, 0,                    // logical screen 1 x 1
      0x80, 0, 0,                    // global colour table of 2 entries
      0xFF, 0x00, 0x00,              // colour 0: red
      0x00, 0x00, 0x00,              // colour 1: black
      0x2C, 0, 0, 0, 0, 1, 0, 1, 0,  // image descriptor at (0, 0), 1 x 1
      0,                             // no local colour table
      2, 2, 0x44, 0x01, 0,           // LZW minimum code size 2, one block: index 0
      0x3B,                          // trailer
  };
  // Known by its content too when it is named as a JPEG.
  for (const char* name : {"tavio_platform_loader.gif", "tavio_gif_named.jpg"}) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    WriteFileBytes(path, gif);
    TBitmap32 b;
#if defined(_WIN32)
    LoadFromFile(b, path);
    EXPECT_EQ(b.Width(), 1) << name;
    EXPECT_EQ(b.GetPixel(0, 0), 0xFFFF0000u) << name;
#else
    EXPECT_THROW(LoadFromFile(b, path), ERasterError) << name;
#endif
    std::filesystem::remove(path);
  }
}

// The static libspng of the Windows build decodes as Debian's does natively.
TEST(PlatformRaster, PngNamedJpgLoadsInEveryBuild) {
  TBitmap32 picture(5, 3);
  picture.Clear(Color32(0x20, 0x40, 0x60, 0x80));
  picture.SetPixel(4, 2, Color32(1, 2, 3));
  const std::string path = (std::filesystem::temp_directory_path() / "tavio_png_named.jpg").string();
  WriteFileBytes(path, test::EncodePng(picture, true, true));
  TBitmap32 b;
  LoadFromFile(b, path);
  std::filesystem::remove(path);
  ASSERT_EQ(b.Width(), 5);
  EXPECT_EQ(b.GetPixel(0, 0), Color32(0x8F, 0x9F, 0xAF));  // half over white
  EXPECT_EQ(b.GetPixel(4, 2), Color32(1, 2, 3));
}

TEST(PlatformRaster, BrokenPictureGetsTheDefaultCoverWithItsTitle) {
  const std::string path = (std::filesystem::temp_directory_path() / "tavio_broken_folder.jpg").string();
  WriteFileBytes(path, {0xFF, 0xD8, 0xFF, 0xE0, 0x00});
  TBitmap33 cover;
  PrepareCoverInto(cover, path, "Broken Cover");
  std::filesystem::remove(path);
  ASSERT_EQ(cover.Width(), 300);
  int inked = 0;  // the title band, white on the default picture itself
  for (int32_t y = 8; y < 24; ++y)
    for (int32_t x = 8; x < 150; ++x) inked += cover.GetPixel(x, y) != kOpaqueWhite;
#if defined(_WIN32)
  EXPECT_GT(inked, 50);
#else
  EXPECT_EQ(inked, 0);
#endif
}

}  // namespace
}  // namespace tavio
