// PNG files for tests and benchmarks, written by libspng's encoder from raw
// samples in the PNG's own layout (16-bit samples big-endian).
#pragma once
#include <spng.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio::test {

struct TPngLayout {
  uint32_t Width = 1, Height = 1;
  uint8_t ColorType = SPNG_COLOR_TYPE_TRUECOLOR;
  uint8_t BitDepth = 8;
  bool Interlaced = false;
  std::vector<uint8_t> Samples;  // rows of the encoded format, unfiltered and unpadded
  std::vector<uint32_t> Palette;  // 0xRRGGBB entries for indexed pictures
  std::vector<uint8_t> PaletteAlpha;  // tRNS alpha of the first palette entries
};

inline std::vector<uint8_t> EncodePng(const TPngLayout& layout) {
  spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
  spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
  spng_ihdr ihdr{layout.Width, layout.Height, layout.BitDepth, layout.ColorType, 0, 0,
                 static_cast<uint8_t>(layout.Interlaced ? SPNG_INTERLACE_ADAM7 : SPNG_INTERLACE_NONE)};
  spng_set_ihdr(ctx, &ihdr);
  if (!layout.Palette.empty()) {
    spng_plte plte{};
    plte.n_entries = static_cast<uint32_t>(layout.Palette.size());
    for (size_t i = 0; i < layout.Palette.size(); ++i)
      plte.entries[i] = {static_cast<uint8_t>(layout.Palette[i] >> 16), static_cast<uint8_t>(layout.Palette[i] >> 8),
                         static_cast<uint8_t>(layout.Palette[i]), 255};
    spng_set_plte(ctx, &plte);
  }
  if (!layout.PaletteAlpha.empty()) {
    spng_trns trns{};
    trns.n_type3_entries = static_cast<uint32_t>(layout.PaletteAlpha.size());
    for (size_t i = 0; i < layout.PaletteAlpha.size(); ++i) trns.type3_alpha[i] = layout.PaletteAlpha[i];
    spng_set_trns(ctx, &trns);
  }
  const int result = spng_encode_image(ctx, layout.Samples.data(), layout.Samples.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
  size_t size = 0;
  int error = result;
  void* buffer = result == 0 ? spng_get_png_buffer(ctx, &size, &error) : nullptr;
  spng_ctx_free(ctx);
  if (!buffer) throw std::runtime_error(spng_strerror(error));
  std::vector<uint8_t> png(static_cast<uint8_t*>(buffer), static_cast<uint8_t*>(buffer) + size);
  std::free(buffer);
  return png;
}

// A bitmap as an 8-bit RGBA (keepAlpha) or RGB PNG.
inline std::vector<uint8_t> EncodePng(const TBitmap32& bitmap, bool keepAlpha, bool interlaced = false) {
  TPngLayout layout{static_cast<uint32_t>(bitmap.Width()), static_cast<uint32_t>(bitmap.Height()),
                static_cast<uint8_t>(keepAlpha ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR), 8,
                interlaced, {}, {}, {}};
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const TColor32 c = bitmap.GetPixel(x, y);
      layout.Samples.insert(layout.Samples.end(), {static_cast<uint8_t>(RedOf(c)), static_cast<uint8_t>(GreenOf(c)),
                                               static_cast<uint8_t>(BlueOf(c))});
      if (keepAlpha) layout.Samples.push_back(static_cast<uint8_t>(AlphaOf(c)));
    }
  return EncodePng(layout);
}

}  // namespace tavio::test
