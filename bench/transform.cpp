// Transform throughput: the five-cover rest frame of a 1110 x 370 view drawn
// over and over, by TransformBitmap and by the plain per-pixel formula.
#include <chrono>
#include <cstdio>

#include "../tests/raster/reference_transform.h"
#include "raster/bitmap32.h"
#include "raster/transform_bitmap.h"
#include "view/cover_drawing.h"

namespace {

using namespace tavio;
using Clock = std::chrono::steady_clock;

constexpr int32_t kCoverSide = 254;  // the layout of a 1110 x 370 view
constexpr float kTop = 20;
// Draw order: outer left, inner left, outer right, inner right, middle.
constexpr float kXs[5] = {259, 301, 597, 555, 428};
constexpr float kAngles[5] = {20, 40, 160, 140, 90};

struct TResult {
  double Fps, Megapixels;
};

template <typename Draw>
TResult Measure(Draw draw, int64_t pixelsPerFrame, double seconds) {
  int frames = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    draw();
    ++frames;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  } while (elapsed < seconds);
  return {frames / elapsed, frames * static_cast<double>(pixelsPerFrame) / elapsed / 1e6};
}

}  // namespace

int main() {
  TBitmap32 frame(1110, 370);
  TBitmap32 slots[5];
  for (int i = 0; i < 5; ++i) {
    slots[i].SetSize(250, 333);
    for (int32_t y = 0; y < 333; ++y)
      for (int32_t x = 0; x < 250; ++x) slots[i].SetPixel(x, y, Color32(x, y & 255, i * 50));
  }
  TProjectiveTransformation t;
  TFloatRect sourceRect;
  int64_t pixels = 0;
  for (int k = 0; k < 5; ++k) {
    t.SetCorners(CoverCorners(kCoverSide, kXs[k], kTop, kAngles[k]));
    const TRect box = TransformedBox(frame, t);
    pixels += int64_t{box.Width()} * box.Height();
  }
  const auto optimised = [&] {
    for (int k = 0; k < 5; ++k) DrawCover(frame, t, sourceRect, kCoverSide, slots[k], kXs[k], kTop, kAngles[k]);
  };
  const auto plain = [&] {
    for (int k = 0; k < 5; ++k) {
      t.SetCorners(CoverCorners(kCoverSide, kXs[k], kTop, kAngles[k]));
      t.SetSourceRect({0, 0, 250, 333});
      reference::TransformBitmapPerPixel(frame, slots[k], t);
    }
  };
  const TResult fast = Measure(optimised, pixels, 2.0);
  const TResult ref = Measure(plain, pixels, 2.0);
  std::printf("rest frame 1110 x 370, five 250 x 333 slots, %lld pixels written per frame\n",
              static_cast<long long>(pixels));
  std::printf("  TransformBitmap   %8.1f frames/s  %7.1f Mpixel/s  %.3f ms/frame\n", fast.Fps, fast.Megapixels,
              1000.0 / fast.Fps);
  std::printf("  per-pixel formula %8.1f frames/s  %7.1f Mpixel/s  %.3f ms/frame\n", ref.Fps, ref.Megapixels,
              1000.0 / ref.Fps);
  std::printf("  speed-up %.2fx\n", fast.Fps / ref.Fps);
  return 0;
}
