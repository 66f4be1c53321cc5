#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/bmp_file.h"
#include "raster/file_bytes.h"
#include "raster/jpeg_file.h"
#include "raster/picture_file.h"
#include "raster/png_file.h"
#include "raster/raster_error.h"
#include "support/png_encoder.h"
#include "support/temp_folder.h"

namespace tavio {
namespace {

using test::EncodePng;
using test::TPngLayout;

constexpr uint32_t kWidth = 13, kHeight = 11;  // odd sizes: every Adam7 pass has pixels
const uint32_t kColours[4] = {0x102030, 0xFF8000, 0x00FF7F, 0xFFFFFF};
const uint8_t kGreys[4] = {0, 85, 170, 255};  // what 2-bit grey levels scale to

uint32_t IndexAt(uint32_t x, uint32_t y) { return (x * 3 + y) % 4; }

TBitmap32 Decode(const std::vector<uint8_t>& png) { return DecodePng(png.data(), png.size()); }

// The 13 x 11 picture in one encoding; sample(index, channel) gives one sample.
template <typename Sample>
TPngLayout Layout(uint8_t colorType, uint8_t depth, int channels, Sample sample) {
  TPngLayout layout{kWidth, kHeight, colorType, depth, false, {}, {}, {}};
  for (uint32_t y = 0; y < kHeight; ++y) {
    uint32_t bits = 0, filled = 0;
    for (uint32_t x = 0; x < kWidth; ++x)
      for (int c = 0; c < channels; ++c) {
        const uint32_t value = sample(IndexAt(x, y), c);
        for (int shift = depth - 8; shift >= 0 && depth >= 8; shift -= 8) layout.Samples.push_back(value >> shift & 255);
        if (depth < 8) {
          bits = bits << depth | value, filled += depth;
          if (filled == 8) layout.Samples.push_back(static_cast<uint8_t>(bits)), bits = 0, filled = 0;
        }
      }
    if (filled) layout.Samples.push_back(static_cast<uint8_t>(bits << (8 - filled)));
  }
  return layout;
}

uint32_t Channel(uint32_t colour, int c) { return colour >> (16 - 8 * c) & 255; }

TEST(PngDecoder, EveryColourTypeDepthAndInterlaceGivesTheSameOpaquePicture) {
  const auto rgb8 = [](uint32_t i, int c) { return Channel(kColours[i], c); };
  std::vector<std::pair<const char*, TPngLayout>> cases = {
      {"rgb8", Layout(SPNG_COLOR_TYPE_TRUECOLOR, 8, 3, rgb8)},
      {"rgb16", Layout(SPNG_COLOR_TYPE_TRUECOLOR, 16, 3, [](uint32_t i, int c) { return Channel(kColours[i], c) * 257; })},
      {"rgba8", Layout(SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 8, 4,
                     [](uint32_t i, int c) { return c == 3 ? 255 : Channel(kColours[i], c); })},
      {"indexed2", Layout(SPNG_COLOR_TYPE_INDEXED, 2, 1, [](uint32_t i, int) { return i; })},
      {"rgb8 interlaced", Layout(SPNG_COLOR_TYPE_TRUECOLOR, 8, 3, rgb8)},
  };
  cases[3].second.Palette.assign(kColours, kColours + 4);
  cases[4].second.Interlaced = true;
  for (const auto& [name, layout] : cases) {
    const TBitmap32 b = Decode(EncodePng(layout));
    ASSERT_EQ(b.Width(), static_cast<int32_t>(kWidth)) << name;
    ASSERT_EQ(b.Height(), static_cast<int32_t>(kHeight)) << name;
    for (uint32_t y = 0; y < kHeight; ++y)
      for (uint32_t x = 0; x < kWidth; ++x)
        ASSERT_EQ(b.GetPixel(x, y), 0xFF000000u | kColours[IndexAt(x, y)]) << name << " at " << x << "," << y;
  }
  const TBitmap32 grey = Decode(EncodePng(Layout(SPNG_COLOR_TYPE_GRAYSCALE, 2, 1, [](uint32_t i, int) { return i; })));
  const uint8_t g = kGreys[IndexAt(5, 7)];
  EXPECT_EQ(grey.GetPixel(5, 7), Color32(g, g, g));
}

TEST(PngDecoder, TransparentPartsAreLaidOnWhite) {
  TBitmap32 picture(3, 1);
  picture.SetPixel(0, 0, Color32(200, 100, 50, 255));
  picture.SetPixel(1, 0, Color32(200, 100, 50, 0));
  picture.SetPixel(2, 0, Color32(200, 100, 50, 128));
  const TBitmap32 b = Decode(EncodePng(picture, true));
  EXPECT_EQ(b.GetPixel(0, 0), Color32(200, 100, 50));
  EXPECT_EQ(b.GetPixel(1, 0), kOpaqueWhite);
  EXPECT_EQ(b.GetPixel(2, 0), Color32(227, 177, 152));  // half way, rounded as blends are
  // A palette entry made transparent by tRNS.
  TPngLayout indexed{2, 1, SPNG_COLOR_TYPE_INDEXED, 8, false, {0, 1}, {0x000000, 0x3366CC}, {0}};
  const TBitmap32 p = Decode(EncodePng(indexed));
  EXPECT_EQ(p.GetPixel(0, 0), kOpaqueWhite);
  EXPECT_EQ(p.GetPixel(1, 0), Color32(0x33, 0x66, 0xCC));
}

TEST(PictureFormat, ContentDecidesTheFormatWhateverTheName) {
  test::TTempFolder temp;
  TBitmap32 picture(4, 3);
  picture.Clear(Color32(10, 200, 30));
  WriteFileBytes(temp.Path() + "folder.jpg", EncodePng(picture, false));
  WriteFileBytes(temp.Path() + "cover.png", EncodeJpeg(picture));
  WriteFileBytes(temp.Path() + "front.jpg", EncodeBmp(picture, 24, TBmpRowOrder::BottomUp));
  for (const char* name : {"folder.jpg", "cover.png", "front.jpg"}) {
    TBitmap32 loaded;
    LoadFromFile(loaded, temp.Path() + name);
    EXPECT_EQ(loaded.Width(), 4) << name;
    EXPECT_NEAR(static_cast<int>(GreenOf(loaded.GetPixel(1, 1))), 200, 3) << name;
    const TBitmap32 decoded = DecodePicture(ReadFileBytes(temp.Path() + name), "any.gif");
    EXPECT_EQ(decoded.GetPixel(1, 1), loaded.GetPixel(1, 1)) << name;
  }
  // Neither a picture nor empty: refused, and the message names the file.
  temp.Write("notes.jpg", "These are not the covers you are looking for.");
  temp.Write("empty.png", "");
  for (const char* name : {"notes.jpg", "empty.png"}) {
    try {
      DecodePicture(ReadFileBytes(temp.Path() + name), name);
      ADD_FAILURE() << name << " decoded";
    } catch (const ERasterError& e) {
      EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
  }
}

// PNG chunk CRC (CRC-32 over type and data), for patching headers.
uint32_t Crc(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

// A 1 x 1 picture whose IHDR (bytes 8..32) claims width x height.
std::vector<uint8_t> Claiming(uint32_t width, uint32_t height) {
  TBitmap32 one(1, 1);
  std::vector<uint8_t> png = EncodePng(one, false);
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<uint8_t>(width >> (24 - 8 * i));
    png[20 + i] = static_cast<uint8_t>(height >> (24 - 8 * i));
  }
  const uint32_t crc = Crc(png.data() + 12, 17);  // type and data
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return png;
}

TEST(PngDecoder, HostileOrBrokenDataIsRefusedWithItsReason) {
  TBitmap32 picture(64, 64);
  for (int32_t i = 0; i < 64 * 64; ++i) picture.Bits()[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
  const std::vector<uint8_t> good = EncodePng(picture, false);
  std::vector<uint8_t> badCrc = good;
  badCrc[20] ^= 1;
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* reason;
  } cases[] = {
      {"8192 x 4096 declared", Claiming(8192, 4096), "megapixels"},
      {"30000 wide", Claiming(30000, 1), "limit"},
      {"cut in its image data", {good.begin(), good.begin() + static_cast<long>(good.size() / 2)}, "PNG"},
      {"header checksum wrong", badCrc, "PNG"},
  };
  for (const auto& c : cases) {
    try {
      Decode(c.bytes);
      ADD_FAILURE() << c.name << " decoded";
    } catch (const ERasterError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.name << ": " << e.what();
    }
  }
}

}  // namespace
}  // namespace tavio
