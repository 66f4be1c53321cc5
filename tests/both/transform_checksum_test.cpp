// Both builds must draw the carousel with identical pixels: a few frames
// drawn here are reduced to one checksum, fixed in the test.
#include <gtest/gtest.h>

#include <cstdint>

#include "raster/bitmap32.h"
#include "raster/combine_block.h"
#include "raster/projective_transformation.h"
#include "view/cover_drawing.h"

namespace tavio {
namespace {

TBitmap32 SlotPattern(uint32_t seed) {
  TBitmap32 slot(250, 333);
  uint32_t state = seed;
  for (int32_t y = 0; y < slot.Height(); ++y)
    for (int32_t x = 0; x < slot.Width(); ++x) {
      state = state * 1664525u + 1013904223u;
      slot.SetPixel(x, y, state ^ static_cast<uint32_t>(x << 8 | y));
    }
  // A blended mirror band, as the slots carry.
  TBitmap32 mirror(250, 83);
  mirror.Clear(0x80FF8040u);
  mirror.MasterAlpha = 60;
  CombineBlock(slot, 0, 250, slot.BoundsRect(), mirror, mirror.BoundsRect(), TDrawMode::dmBlend);
  return slot;
}

uint64_t Fnv1a(const TBitmap32& b, uint64_t hash) {
  for (int32_t i = 0; i < b.Width() * b.Height(); ++i) {
    for (int k = 0; k < 4; ++k) {
      hash ^= (b.Bits()[i] >> (8 * k)) & 255;
      hash *= 1099511628211ull;
    }
  }
  return hash;
}

TEST(PixelIdentity, CarouselFramesAreIdenticalInEveryBuild) {
  TBitmap32 frame(1110, 370);
  TProjectiveTransformation t;
  TFloatRect sourceRect;
  TBitmap32 slots[5];
  for (uint32_t i = 0; i < 5; ++i) slots[i] = SlotPattern(i + 1);
  // The rest frame (drawn outer left, inner left, outer right, inner right,
  // middle) and two moving frames with fractional places and odd angles.
  const float xs[3][5] = {{259, 301, 428, 555, 597}, {261.7f, 310.25f, 419.5f, 560.1f, 601.9f},
                          {-40.5f, 280.3f, 455.75f, 700.2f, 1000.6f}};
  const float angles[3][5] = {{20, 40, 90, 140, 160}, {21.5f, 47.3f, 88.8f, 133.3f, 161.1f},
                              {3, 33.3f, 91, 179.5f, 200}};
  const int order[5] = {0, 1, 4, 3, 2};
  uint64_t hash = 14695981039346656037ull;
  for (int f = 0; f < 3; ++f) {
    frame.Clear(0);
    for (int k : order) DrawCover(frame, t, sourceRect, 254, slots[k], xs[f][k], 20, angles[f][k]);
    hash = Fnv1a(frame, hash);
  }
  EXPECT_EQ(hash, 13061439304894237029ull);
}

}  // namespace
}  // namespace tavio
