// BlendPixel: one source pixel blended onto one destination pixel with the
// source's alpha and master alpha, in integer arithmetic (+128 bias, >> 8).
#pragma once
#include <cstdint>

#include "raster/color32.h"

namespace tavio {

// Each channel of b moves towards f by weight/256; red and blue (and alpha
// and green) travel together in one word since no channel can carry into the
// next: 255 * 256 + 128 < 65536.
constexpr TColor32 MixChannels(TColor32 f, TColor32 b, uint32_t weight) {
  const uint32_t rest = 256 - weight;
  const uint32_t rb = ((f & 0x00FF00FFu) * weight + (b & 0x00FF00FFu) * rest + 0x00800080u) >> 8;
  const uint32_t ag = (((f >> 8) & 0x00FF00FFu) * weight + ((b >> 8) & 0x00FF00FFu) * rest + 0x00800080u) >> 8;
  return (rb & 0x00FF00FFu) | ((ag & 0x00FF00FFu) << 8);
}

// masterAlpha above 255 blends as 255, below 0 as 0.
constexpr TColor32 BlendPixel(TColor32 f, TColor32 b, int32_t masterAlpha) {
  const uint32_t fa = AlphaOf(f);
  if (fa == 0) return b;
  if (masterAlpha >= 255) return fa == 255 ? f : MixChannels(f, b, fa);
  if (masterAlpha <= 0) return b;
  const uint32_t a = ((fa + 1) * static_cast<uint32_t>(masterAlpha)) >> 8;
  return a == 0 ? b : MixChannels(f, b, a);
}

}  // namespace tavio
