#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "library/album.h"
#include "raster/bmp_file.h"
#include "raster/file_bytes.h"
#include "raster/jpeg_file.h"
#include "raster/module_resources.h"
#include "raster/picture_file.h"
#include "raster/raster_error.h"
#include "support/hostile_files.h"
#include "support/temp_folder.h"
#include "view/prepare_cover.h"

namespace tavio {
namespace {


std::string Malformed(const char* name) { return std::string(TAVIO_TEST_DATA) + "/malformed/" + name; }

class PictureFiles : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return temp_.Path() + name; }

  test::TTempFolder temp_;
};

TBitmap32 Pattern(int32_t w, int32_t h) {
  TBitmap32 b(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, Color32(x * 9 & 255, y * 7 & 255, (x + y) & 255, (x * 31 + y) & 255));
  return b;
}

TBitmap32 Opaque(TBitmap32 b) {
  for (int32_t i = 0; i < b.Width() * b.Height(); ++i) b.Bits()[i] |= 0xFF000000u;
  return b;
}

void ExpectSamePixels(const TBitmap32& a, const TBitmap32& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x) ASSERT_EQ(a.GetPixel(x, y), b.GetPixel(x, y)) << x << "," << y;
}

TEST_F(PictureFiles, Bmp32KeepsAlphaInBothRowOrdersAnd24IsOpaque) {
  const TBitmap32 picture = Pattern(13, 7);  // odd width: 24-bit rows need padding
  for (TBmpRowOrder order : {TBmpRowOrder::TopDown, TBmpRowOrder::BottomUp}) {
    SaveBmpFile(picture, Path("a.bmp"), 32, order);
    TBitmap32 loaded;
    LoadFromFile(loaded, Path("a.bmp"));
    ExpectSamePixels(loaded, picture);
    SaveBmpFile(picture, Path("b.BMP"), 24, order);
    LoadFromFile(loaded, Path("b.BMP"));
    ExpectSamePixels(loaded, Opaque(picture));
  }
}

// A 3 x 2 bitmap of each palette depth; rows bottom-up, padded to 4 bytes.
TEST(BmpDecoder, PaletteDepthsPickTheirEntries) {
  const std::vector<uint8_t> header = {
      'B', 'M',                // signature
      0, 0, 0, 0,              // file size (unused)
      0, 0, 0, 0,              // reserved
      0, 0, 0, 0,              // pixel offset: 0, derived from the palette
      40, 0, 0, 0,             // biSize
      3, 0, 0, 0,              // width
      2, 0, 0, 0,              // height, bottom-up
      1, 0,                    // planes
  };
  const std::vector<uint8_t> rest = {
      0, 0, 0, 0,              // BI_RGB
      0, 0, 0, 0,              // image size
      0, 0, 0, 0, 0, 0, 0, 0,  // resolution
      2, 0, 0, 0,              // colours used: 2
      0, 0, 0, 0,              // important colours
      0x10, 0x20, 0x30, 0,     // palette 0: B G R
      0xF0, 0xE0, 0xD0, 0,     // palette 1
  };
  struct Case {
    uint8_t bpp;
    std::vector<uint8_t> pixels;
  };
  const Case cases[] = {
      {1, {0b01000000, 0, 0, 0, /* top row: */ 0b10100000, 0, 0, 0}},
      {4, {0x01, 0x00, 0, 0, /* top row: */ 0x10, 0x10, 0, 0}},
      {8, {0, 1, 0, 0, /* top row: */ 1, 0, 1, 0}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = header;
    file.push_back(c.bpp);  // bit count
    file.push_back(0);
    file.insert(file.end(), rest.begin(), rest.end());
    file.insert(file.end(), c.pixels.begin(), c.pixels.end());
    const TBitmap32 b = DecodeBmpFile(file.data(), file.size());
    const TColor32 p0 = 0xFF302010u, p1 = 0xFFD0E0F0u;
    EXPECT_EQ(b.GetPixel(0, 0), p1) << int(c.bpp);
    EXPECT_EQ(b.GetPixel(1, 0), p0) << int(c.bpp);
    EXPECT_EQ(b.GetPixel(2, 0), p1) << int(c.bpp);
    EXPECT_EQ(b.GetPixel(0, 1), p0) << int(c.bpp);
    EXPECT_EQ(b.GetPixel(1, 1), p1) << int(c.bpp);
    EXPECT_EQ(b.GetPixel(2, 1), p0) << int(c.bpp);
  }
}

TEST(BmpDecoder, BitfieldsWithAlphaMaskTopDown) {
  const std::vector<uint8_t> file = {
      'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0,
      70, 0, 0, 0,              // pixel offset: 14 + 56
      56, 0, 0, 0,              // biSize: BITMAPV3INFOHEADER, masks inside
      1, 0, 0, 0,               // width
      0xFF, 0xFF, 0xFF, 0xFF,   // height -1: top-down
      1, 0, 32, 0,              // planes, bit count
      3, 0, 0, 0,               // BI_BITFIELDS
      4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0, 0, 0, 0xFF,            // red mask: top byte
      0, 0, 0xFF, 0,            // green mask
      0, 0xFF, 0, 0,            // blue mask
      0xFF, 0, 0, 0,            // alpha mask: low byte
      0x40, 0x30, 0x20, 0x10,   // the pixel: A=0x40 B=0x30 G=0x20 R=0x10
  };
  const TBitmap32 b = DecodeBmpFile(file.data(), file.size());
  EXPECT_EQ(b.GetPixel(0, 0), 0x40102030u);
}

TEST_F(PictureFiles, JpegRoundTripIsCloseAndOpaque) {
  const TBitmap32 picture = Pattern(40, 30);
  SaveJpegFile(picture, Path("c.jpg"));
  TBitmap32 loaded;
  LoadFromFile(loaded, Path("c.jpg"));
  ASSERT_EQ(loaded.Width(), 40);
  ASSERT_EQ(loaded.Height(), 30);
  EXPECT_EQ(loaded.GetPixel(5, 5) >> 24, 255u);
  // A flat colour survives quality 90 almost unchanged.
  TBitmap32 flat(16, 16);
  flat.Clear(Color32(200, 100, 50));
  const std::vector<uint8_t> bytes = EncodeJpeg(flat);
  const TBitmap32 back = DecodeJpeg(bytes.data(), bytes.size());
  for (uint32_t shift : {0u, 8u, 16u})
    EXPECT_NEAR(static_cast<int>((back.GetPixel(8, 8) >> shift) & 255), static_cast<int>((flat.GetPixel(8, 8) >> shift) & 255), 2);
  // The encoder writes a baseline frame (SOF0), not a progressive one.
  bool baseline = false;
  for (size_t i = 0; i + 1 < bytes.size(); ++i) baseline |= bytes[i] == 0xFF && bytes[i + 1] == 0xC0;
  EXPECT_TRUE(baseline);
}

TEST(PictureErrors, BrokenFilesAreRefusedAndTheBitmapKeepsItsContent) {
  TBitmap32 kept(3, 3);
  kept.Clear(0xFF123456u);
  for (const char* name : {"truncated.jpg", "oversized_sof.jpg", "not_a_jpeg.jpg", "oversized_header.bmp",
                           "truncated_pixels.bmp", "does_not_exist.jpg"}) {
    EXPECT_THROW(LoadFromFile(kept, Malformed(name)), ERasterError) << name;
    EXPECT_EQ(kept.Width(), 3) << name;
    EXPECT_EQ(kept.GetPixel(2, 2), 0xFF123456u) << name;
  }
}

TEST(PictureErrors, OversizedHeaderIsNamedInTheMessage) {
  TBitmap32 b;
  try {
    LoadFromFile(b, Malformed("oversized_sof.jpg"));
    FAIL();
  } catch (const ERasterError& e) {
    EXPECT_NE(std::string(e.what()).find("30000 x 30000"), std::string::npos) << e.what();
  }
}

TEST(HostilePictures, JpegBombsAreRefusedWithTheirReason) {
  const struct {
    const char* name;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"coefficients of 16384 x 4096 CMYK", test::hostile::JpegBombCmyk(), "memory"},
      {"3000 scans", test::hostile::JpegManyScans(), "scans"},
      {"EOI after 4 scans", test::hostile::JpegEndsBeforeLastScan(), "last scan"},
  };
  for (const auto& c : cases) {
    const auto* data = reinterpret_cast<const uint8_t*>(c.bytes.data());
    try {
      DecodeJpeg(data, c.bytes.size());
      ADD_FAILURE() << c.name << " decoded";
    } catch (const ERasterError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.name << ": " << e.what();
    }
  }
  // The whole progressive picture the last one was cut from decodes.
  const std::string whole = test::hostile::EncodeJpeg(
      64, 64, 3, JCS_RGB, [](jpeg_compress_struct& c) { jpeg_simple_progression(&c); }, test::hostile::Gradient);
  EXPECT_EQ(DecodeJpeg(reinterpret_cast<const uint8_t*>(whole.data()), whole.size()).Width(), 64);
}

TEST(HostilePictures, JpegAbove16MegapixelsDecodesScaledAndBitmapIsRefused) {
  // A real 5000 x 5000 cover: red above, blue below.
  TBitmap32 cover(5000, 5000);
  for (int32_t y = 0; y < 5000; ++y)
    for (int32_t x = 0; x < 5000; ++x) cover.SetPixel(x, y, y < 2500 ? Color32(220, 20, 20) : Color32(20, 20, 220));
  const std::vector<uint8_t> jpeg = EncodeJpeg(cover);
  const TBitmap32 half = DecodeJpeg(jpeg.data(), jpeg.size());
  ASSERT_EQ(half.Width(), 2500);
  ASSERT_EQ(half.Height(), 2500);
  EXPECT_NEAR(static_cast<int>(RedOf(half.GetPixel(1000, 600))), 220, 4);
  EXPECT_NEAR(static_cast<int>(BlueOf(half.GetPixel(1000, 1900))), 220, 4);

  std::vector<uint8_t> bmp = EncodeBmp(TBitmap32(1, 1), 32, TBmpRowOrder::BottomUp);
  bmp[18] = 0x01, bmp[19] = 0x10;  // width 4097
  bmp[22] = 0x00, bmp[23] = 0x10;  // height 4096
  try {
    DecodeBmpFile(bmp.data(), bmp.size());
    ADD_FAILURE() << "decoded";
  } catch (const ERasterError& e) {
    EXPECT_NE(std::string(e.what()).find("4097 x 4096 exceeds the limit of 16 megapixels"), std::string::npos)
        << e.what();
  }
}

TEST(ModuleResources, TheThreeBitmapsHaveTheirSizes) {
  TBitmap32 b;
  LoadFromResourceName(b, "SCHALTER");
  EXPECT_EQ(b.Width(), 100);
  EXPECT_EQ(b.Height(), 20);
  LoadFromResourceName(b, "NOIMAGE");
  EXPECT_EQ(b.Width(), 120);
  LoadFromResourceName(b, "MOSSEL");
  EXPECT_EQ(b.Width(), 300);
  EXPECT_EQ(b.Height(), 300);
  EXPECT_EQ(b.GetPixel(150, 18), kOpaqueWhite);  // the title band is free
  EXPECT_THROW(LoadFromResourceName(b, "NOSUCH"), ERasterError);
  EXPECT_EQ(b.Width(), 300);
}

TEST_F(PictureFiles, CoverWithoutPictureIsTheDefaultBevelled) {
  TAlbum album;
  album.CoverFile = Path("missing.jpg");
  album.Album = "Title";
  PrepareCover(album);
  ASSERT_EQ(album.Cover.Width(), 300);
  EXPECT_EQ(album.Cover.GetPixel(0, 100), 0xFF555555u);
  EXPECT_EQ(album.Cover.GetPixel(120, 168), kOpaqueBlack);  // the record's label
}

TEST_F(PictureFiles, CoverWithPictureTakesItsSizeAndBrokenOneTheTitledDefault) {
  TBitmap32 picture(20, 10);
  picture.Clear(kOpaqueWhite);
  SaveJpegFile(picture, Path("folder.jpg"));
  TAlbum album;
  album.CoverFile = Path("folder.jpg");
  PrepareCover(album);
  EXPECT_EQ(album.Cover.Width(), 20);
  EXPECT_NEAR(static_cast<int>(album.Cover.GetPixel(0, 5) & 255), 0x55, 2);

  TAlbum broken;
  broken.CoverFile = Malformed("truncated.jpg");
  PrepareCover(broken);
  ASSERT_EQ(broken.Cover.Width(), 300);
  EXPECT_EQ(broken.Cover.GetPixel(0, 100), 0xFF555555u);
  EXPECT_EQ(broken.Cover.GetPixel(120, 168), kOpaqueBlack);
}

}  // namespace
}  // namespace tavio
