// Cover preparation: JPEG decode plus bevel of 500 x 500 and 1000 x 1000
// covers, next to the decode alone, in covers per second.
#include <chrono>
#include <cstdio>
#include <vector>

#include "raster/bevel_edges.h"
#include "raster/bitmap32.h"
#include "raster/jpeg_file.h"

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

// Something with edges and gradients, so the JPEG is not trivially small.
std::vector<uint8_t> CoverJpeg(int32_t side) {
  TBitmap32 b(side, side);
  for (int32_t y = 0; y < side; ++y)
    for (int32_t x = 0; x < side; ++x)
      b.SetPixel(x, y, Color32((x * 255) / side, (y * 255) / side, ((x / 37 + y / 23) % 2) * 200 + (x ^ y) % 55));
  return EncodeJpeg(b, 90);
}

}  // namespace

int main() {
  for (int32_t side : {500, 1000}) {
    const std::vector<uint8_t> jpeg = CoverJpeg(side);
    const double decode = PerSecond([&] { DecodeJpeg(jpeg.data(), jpeg.size()); }, 1.5);
    const double prepare = PerSecond(
        [&] {
          TBitmap32 cover = DecodeJpeg(jpeg.data(), jpeg.size());
          BevelEdges(cover, cover.BoundsRect());
        },
        1.5);
    std::printf("%4d x %-4d cover (%zu KB JPEG): decode %7.1f covers/s, decode + bevel %7.1f covers/s (%.2f ms)\n", side,
                side, jpeg.size() / 1024, decode, prepare, 1000.0 / prepare);
  }
  return 0;
}
