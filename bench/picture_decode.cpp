// Picture decoding: a 1000 x 1000 cover as PNG (RGB, and RGBA laid on white)
// beside the same cover as JPEG, in covers per second and milliseconds.
#include <chrono>
#include <cstdio>
#include <vector>

#include "raster/bitmap32.h"
#include "raster/jpeg_file.h"
#include "raster/png_file.h"
#include "support/png_encoder.h"

namespace {

using namespace tavio;
using Clock = std::chrono::steady_clock;

template <typename Work>
double PerSecond(Work work, double seconds) {
  int count = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    work();
    ++count;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < seconds);
  return count / elapsed;
}

// Edges, gradients and some grain, as a scanned or rendered cover has, so
// neither format gets it for free.
TBitmap32 Cover(int32_t side) {
  TBitmap32 b(side, side);
  uint32_t grain = 12345;
  for (int32_t y = 0; y < side; ++y)
    for (int32_t x = 0; x < side; ++x) {
      grain = grain * 1664525u + 1013904223u;
      const uint32_t n = grain >> 29;
      b.SetPixel(x, y, Color32((x * 248) / side + n, (y * 255) / side, ((x / 37 + y / 23) % 2) * 200 + (x ^ y) % 55,
                               x < side / 2 ? 255 : 255 - (y * 255) / side));
    }
  return b;
}

void Report(const char* name, const std::vector<uint8_t>& bytes, TBitmap32 (*decode)(const uint8_t*, size_t)) {
  const double rate = PerSecond([&] { decode(bytes.data(), bytes.size()); }, 1.5);
  std::printf("%-24s %6zu KB: %7.1f covers/s (%.2f ms)\n", name, bytes.size() / 1024, rate, 1000.0 / rate);
}

}  // namespace

int main() {
  const TBitmap32 cover = Cover(1000);
  std::printf("1000 x 1000 cover\n");
  Report("JPEG, quality 90", EncodeJpeg(cover, 90), DecodeJpeg);
  Report("PNG, RGB 8-bit", test::EncodePng(cover, false), DecodePng);
  Report("PNG, RGBA 8-bit", test::EncodePng(cover, true), DecodePng);
  Report("PNG, RGB interlaced", test::EncodePng(cover, false, true), DecodePng);
  return 0;
}
