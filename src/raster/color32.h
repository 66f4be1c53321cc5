// TColor32: a 32-bit ARGB pixel value (alpha in the top byte) and the
// constexpr helpers to build and take apart such values.
#pragma once
#include <cstdint>

namespace tavio {

using TColor32 = uint32_t;

constexpr TColor32 kTransparentBlack = 0x00000000u;
constexpr TColor32 kOpaqueBlack = 0xFF000000u;
constexpr TColor32 kOpaqueWhite = 0xFFFFFFFFu;

constexpr uint32_t AlphaOf(TColor32 c) { return c >> 24; }
constexpr uint32_t RedOf(TColor32 c) { return (c >> 16) & 0xFF; }
constexpr uint32_t GreenOf(TColor32 c) { return (c >> 8) & 0xFF; }
constexpr uint32_t BlueOf(TColor32 c) { return c & 0xFF; }

constexpr TColor32 Color32(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// The colour c with its alpha replaced by a, clamped to 0..255.
constexpr TColor32 SetAlpha(TColor32 c, int32_t a) {
  const uint32_t clamped = a < 0 ? 0u : (a > 255 ? 255u : static_cast<uint32_t>(a));
  return (c & 0x00FFFFFFu) | (clamped << 24);
}

}  // namespace tavio
