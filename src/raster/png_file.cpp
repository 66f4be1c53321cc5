#include "raster/png_file.h"

#include <string>

#include "raster/picture_limits.h"
#include "raster/raster_error.h"

#include <spng.h>

namespace tavio {

namespace {

// What libspng holds of the chunks beside the image data (which it streams):
// no cover needs a text or colour profile beyond 4 MB, nor 16 MB of them.
constexpr size_t kMaxChunkBytes = 4 * 1024 * 1024;
constexpr size_t kMaxChunkCache = 16 * 1024 * 1024;

class TPngDecoder {
 public:
  TPngDecoder() : ctx_(spng_ctx_new(0)) {
    if (!ctx_) throw ERasterError("Out of memory for the PNG decoder");
  }
  ~TPngDecoder() { spng_ctx_free(ctx_); }
  TPngDecoder(const TPngDecoder&) = delete;
  TPngDecoder& operator=(const TPngDecoder&) = delete;

  spng_ctx* Context() const { return ctx_; }

 private:
  spng_ctx* ctx_;
};

void Check(int result) {
  if (result != 0) throw ERasterError(std::string("Cannot decode PNG: ") + spng_strerror(result));
}

// Straight alpha over white, with the house rounding (+128, >> 8 of a
// weight out of 256): 255 keeps the colour, 0 gives white.
TColor32 OverWhite(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  if (a == 255) return Color32(r, g, b);
  const uint32_t weight = a + (a >> 7);  // 0..255 onto 0..256
  auto mix = [weight](uint32_t c) { return (c * weight + 255 * (256 - weight) + 128) >> 8; };
  return Color32(mix(r), mix(g), mix(b));
}

// libspng writes R, G, B, A bytes into the bitmap's memory, a word that reads
// A B G R on our little-endian targets; each becomes our opaque ARGB in place.
void RgbaToOpaqueArgb(TBitmap32& bitmap) {
  TColor32* pixel = bitmap.Bits();
  const size_t count = static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height());
  for (size_t i = 0; i < count; ++i) {
    const uint32_t abgr = pixel[i];
    const uint32_t r = abgr & 0xFF, g = (abgr >> 8) & 0xFF, b = (abgr >> 16) & 0xFF, a = abgr >> 24;
    // The common opaque pixel: red and blue change places.
    pixel[i] = a == 255 ? (abgr & 0xFF00FF00u) | (r << 16) | b : OverWhite(r, g, b, a);
  }
}

}  // namespace

TBitmap32 DecodePng(const uint8_t* data, size_t size) {
  if (size == 0) throw ERasterError("PNG data is empty");
  TPngDecoder decoder;
  spng_ctx* ctx = decoder.Context();
  Check(spng_set_image_limits(ctx, static_cast<uint32_t>(kMaxPictureSide), static_cast<uint32_t>(kMaxPictureSide)));
  Check(spng_set_chunk_limits(ctx, kMaxChunkBytes, kMaxChunkCache));
  Check(spng_set_png_buffer(ctx, data, size));
  spng_ihdr header{};
  Check(spng_get_ihdr(ctx, &header));
  CheckFullSizeDecode(header.width, header.height);
  size_t bytes = 0;
  Check(spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &bytes));
  TBitmap32 out(static_cast<int32_t>(header.width), static_cast<int32_t>(header.height));
  if (bytes != static_cast<size_t>(out.Width()) * static_cast<size_t>(out.Height()) * sizeof(TColor32))
    throw ERasterError("Cannot decode PNG: unexpected decoded size");
  Check(spng_decode_image(ctx, out.Bits(), bytes, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS));
  RgbaToOpaqueArgb(out);
  return out;
}

}  // namespace tavio
