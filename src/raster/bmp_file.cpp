#include "raster/bmp_file.h"

#include <algorithm>
#include <bit>
#include <string>

#include "raster/file_bytes.h"
#include "raster/picture_limits.h"
#include "raster/raster_error.h"

namespace tavio {

namespace {

// Field layouts from the BMP format's BITMAPFILEHEADER, BITMAPCOREHEADER,
// BITMAPINFOHEADER and its V4/V5 extensions.
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

class TBytes {
 public:
  TBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t Size() const { return size_; }
  const uint8_t* At(size_t offset) const { return data_ + offset; }
  uint32_t U16(size_t at) const {
    Need(at, 2);
    return data_[at] | (data_[at + 1] << 8);
  }
  uint32_t U32(size_t at) const {
    Need(at, 4);
    return data_[at] | (data_[at + 1] << 8) | (data_[at + 2] << 16) | (static_cast<uint32_t>(data_[at + 3]) << 24);
  }
  int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }
  void Need(size_t at, size_t count) const {
    if (at > size_ || count > size_ - at) throw ERasterError("Bitmap data is truncated");
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

// One colour channel stored under a bit mask, scaled to 0..255.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;

  explicit TChannel(uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Max = mask >> Shift;
  }
  uint32_t From(uint32_t pixel, uint32_t absent) const {
    if (Max == 0) return absent;
    const uint64_t v = (pixel & Mask) >> Shift;
    return static_cast<uint32_t>((v * 255 + Max / 2) / Max);
  }
};

struct TDibLayout {
  int32_t Width = 0;
  int32_t Height = 0;
  bool TopDown = false;
  uint32_t BitsPerPixel = 0;
  uint32_t Compression = kBiRgb;
  uint32_t HeaderSize = 0;
  uint32_t MasksSize = 0;  // masks stored after a BITMAPINFOHEADER
  uint32_t Masks[4] = {0, 0, 0, 0};
  uint32_t PaletteEntrySize = 4;
  uint32_t PaletteCount = 0;  // entries stored
};

TDibLayout ReadLayout(const TBytes& b) {
  TDibLayout d;
  d.HeaderSize = b.U32(0);
  int64_t height;
  if (d.HeaderSize == kCoreHeaderSize) {
    d.Width = static_cast<int32_t>(b.U16(4));
    height = b.U16(6);
    d.BitsPerPixel = b.U16(10);
    d.PaletteEntrySize = 3;
  } else if (d.HeaderSize >= kInfoHeaderSize && d.HeaderSize <= 1024) {
    b.Need(0, d.HeaderSize);
    d.Width = b.I32(4);
    height = b.I32(8);
    d.BitsPerPixel = b.U16(14);
    d.Compression = b.U32(16);
    d.PaletteCount = b.U32(32);
  } else {
    throw ERasterError("Unknown bitmap header size " + std::to_string(d.HeaderSize));
  }
  d.TopDown = height < 0;
  const int64_t rows = height < 0 ? -height : height;
  CheckFullSizeDecode(d.Width, rows);
  d.Height = static_cast<int32_t>(rows);

  switch (d.BitsPerPixel) {
    case 1: case 4: case 8: case 24:
      if (d.Compression != kBiRgb) throw ERasterError("Compressed bitmaps are not supported");
      break;
    case 16: case 32:
      if (d.Compression != kBiRgb && d.Compression != kBiBitfields && d.Compression != kBiAlphaBitfields) {
        throw ERasterError("Compressed bitmaps are not supported");
      }
      break;
    default:
      throw ERasterError("Unsupported bitmap depth of " + std::to_string(d.BitsPerPixel) + " bits per pixel");
  }

  if (d.Compression == kBiRgb) {
    if (d.BitsPerPixel == 16) {
      d.Masks[0] = 0x7C00, d.Masks[1] = 0x03E0, d.Masks[2] = 0x001F;
    } else if (d.BitsPerPixel == 32) {
      d.Masks[0] = 0x00FF0000, d.Masks[1] = 0x0000FF00, d.Masks[2] = 0x000000FF, d.Masks[3] = 0xFF000000;
    }
  } else {
    const uint32_t count = d.Compression == kBiAlphaBitfields ? 4 : 3;
    // V2 and later headers hold the masks themselves; a plain info header is followed by them.
    const bool inHeader = d.HeaderSize >= kInfoHeaderSize + 4 * count;
    const size_t at = inHeader ? kInfoHeaderSize : d.HeaderSize;
    for (uint32_t i = 0; i < count; ++i) d.Masks[i] = b.U32(at + 4 * i);
    if (d.HeaderSize >= kInfoHeaderSize + 16) d.Masks[3] = b.U32(kInfoHeaderSize + 12);
    if (!inHeader) d.MasksSize = 4 * count;
  }

  if (d.BitsPerPixel <= 8) {
    const uint32_t full = 1u << d.BitsPerPixel;
    if (d.PaletteCount == 0) d.PaletteCount = full;
    // More entries than indices can reach: the palette is bogus.
    if (d.PaletteCount > full) throw ERasterError("Bitmap palette has " + std::to_string(d.PaletteCount) + " entries");
  } else if (d.PaletteCount > 256) {
    throw ERasterError("Bitmap palette has " + std::to_string(d.PaletteCount) + " entries");
  }
  return d;
}

size_t PaletteOffset(const TDibLayout& d) { return d.HeaderSize + d.MasksSize; }

size_t DerivedPixelOffset(const TDibLayout& d) { return PaletteOffset(d) + d.PaletteCount * d.PaletteEntrySize; }

TBitmap32 DecodePixels(const TBytes& b, const TDibLayout& d, size_t pixelOffset) {
  const uint64_t stride = (static_cast<uint64_t>(d.Width) * d.BitsPerPixel + 31) / 32 * 4;
  const uint64_t lastRow = (static_cast<uint64_t>(d.Width) * d.BitsPerPixel + 7) / 8;
  b.Need(pixelOffset, static_cast<size_t>(stride * (d.Height - 1) + lastRow));

  TColor32 palette[256] = {};
  if (d.BitsPerPixel <= 8) {
    const size_t at = PaletteOffset(d);
    b.Need(at, d.PaletteCount * d.PaletteEntrySize);
    for (uint32_t i = 0; i < d.PaletteCount; ++i) {
      const uint8_t* e = b.At(at + i * d.PaletteEntrySize);
      palette[i] = Color32(e[2], e[1], e[0]);
    }
  }
  const TChannel red(d.Masks[0]), green(d.Masks[1]), blue(d.Masks[2]), alpha(d.Masks[3]);

  TBitmap32 out(d.Width, d.Height);
  for (int32_t r = 0; r < d.Height; ++r) {
    const uint8_t* src = b.At(pixelOffset + static_cast<size_t>(stride) * r);
    TColor32* dst = out.Row(d.TopDown ? r : d.Height - 1 - r);
    switch (d.BitsPerPixel) {
      case 1: case 4: case 8: {
        const uint32_t bpp = d.BitsPerPixel, perByte = 8 / bpp, mask = (1u << bpp) - 1;
        for (int32_t x = 0; x < d.Width; ++x) {
          const uint32_t shift = (perByte - 1 - x % perByte) * bpp;
          dst[x] = palette[(src[x / perByte] >> shift) & mask];
        }
        break;
      }
      case 16:
        for (int32_t x = 0; x < d.Width; ++x) {
          const uint32_t p = src[2 * x] | (src[2 * x + 1] << 8);
          dst[x] = Color32(red.From(p, 0), green.From(p, 0), blue.From(p, 0), 255);
        }
        break;
      case 24:
        for (int32_t x = 0; x < d.Width; ++x) dst[x] = Color32(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        break;
      case 32:
        for (int32_t x = 0; x < d.Width; ++x) {
          const uint8_t* q = src + 4 * x;
          const uint32_t p = q[0] | (q[1] << 8) | (q[2] << 16) | (static_cast<uint32_t>(q[3]) << 24);
          dst[x] = Color32(red.From(p, 0), green.From(p, 0), blue.From(p, 0), alpha.From(p, 255));
        }
        break;
    }
  }
  return out;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

TBitmap32 DecodePackedDib(const uint8_t* data, size_t size) {
  const TBytes b(data, size);
  const TDibLayout d = ReadLayout(b);
  return DecodePixels(b, d, DerivedPixelOffset(d));
}

TBitmap32 DecodeBmpFile(const uint8_t* data, size_t size) {
  const TBytes file(data, size);
  if (file.U16(0) != 0x4D42) throw ERasterError("Not a bitmap file (no \"BM\" signature)");
  const uint32_t offBits = file.U32(10);
  const TBytes dib(data + kFileHeaderSize, size - std::min(size, kFileHeaderSize));
  const TDibLayout d = ReadLayout(dib);
  // Some writers leave bfOffBits at 0; the pixels then follow the palette.
  const size_t derived = DerivedPixelOffset(d);
  const size_t offset = offBits >= kFileHeaderSize + derived ? offBits - kFileHeaderSize : derived;
  return DecodePixels(dib, d, offset);
}

std::vector<uint8_t> EncodeBmp(const TBitmap32& bitmap, int bitsPerPixel, TBmpRowOrder order) {
  if (bitsPerPixel != 24 && bitsPerPixel != 32) throw ERasterError("Bitmaps are written with 24 or 32 bits per pixel");
  const uint32_t w = static_cast<uint32_t>(bitmap.Width()), h = static_cast<uint32_t>(bitmap.Height());
  const uint32_t stride = (w * bitsPerPixel + 31) / 32 * 4;
  const uint64_t imageSize = static_cast<uint64_t>(stride) * h;
  if (imageSize > UINT32_MAX - kFileHeaderSize - kInfoHeaderSize) throw ERasterError("Bitmap too large to write");
  std::vector<uint8_t> out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + static_cast<size_t>(imageSize));
  Put16(out, 0x4D42);                                                          // bfType "BM"
  Put32(out, static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + imageSize));  // bfSize
  Put32(out, 0);                                                               // bfReserved1, bfReserved2
  Put32(out, kFileHeaderSize + kInfoHeaderSize);                               // bfOffBits
  Put32(out, kInfoHeaderSize);                                                 // biSize
  Put32(out, w);                                                               // biWidth
  Put32(out, order == TBmpRowOrder::TopDown ? static_cast<uint32_t>(-static_cast<int64_t>(h)) : h);  // biHeight
  Put16(out, 1);                                                               // biPlanes
  Put16(out, static_cast<uint32_t>(bitsPerPixel));                             // biBitCount
  Put32(out, kBiRgb);                                                          // biCompression
  Put32(out, static_cast<uint32_t>(imageSize));                                // biSizeImage
  Put32(out, 2835);                                                            // biXPelsPerMeter (72 dpi)
  Put32(out, 2835);                                                            // biYPelsPerMeter
  Put32(out, 0);                                                               // biClrUsed
  Put32(out, 0);                                                               // biClrImportant
  for (uint32_t r = 0; r < h; ++r) {
    const TColor32* row = bitmap.Row(static_cast<int32_t>(order == TBmpRowOrder::TopDown ? r : h - 1 - r));
    const size_t start = out.size();
    for (uint32_t x = 0; x < w; ++x) {
      out.push_back(static_cast<uint8_t>(BlueOf(row[x])));
      out.push_back(static_cast<uint8_t>(GreenOf(row[x])));
      out.push_back(static_cast<uint8_t>(RedOf(row[x])));
      if (bitsPerPixel == 32) out.push_back(static_cast<uint8_t>(AlphaOf(row[x])));
    }
    out.resize(start + stride, 0);
  }
  return out;
}

void SaveBmpFile(const TBitmap32& bitmap, const std::string& path, int bitsPerPixel, TBmpRowOrder order) {
  WriteFileBytes(path, EncodeBmp(bitmap, bitsPerPixel, order));
}

}  // namespace tavio
