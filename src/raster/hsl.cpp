#include "raster/hsl.h"

#include <algorithm>
#include <cmath>

#include "raster/rounding.h"

namespace tavio {

THsl RGBToHSL(TColor32 c) {
  const float r = static_cast<float>(RedOf(c)) / 255.0f;
  const float g = static_cast<float>(GreenOf(c)) / 255.0f;
  const float b = static_cast<float>(BlueOf(c)) / 255.0f;
  const float mx = std::max({r, g, b});
  const float mn = std::min({r, g, b});
  THsl hsl;
  hsl.L = (mx + mn) / 2.0f;
  if (mx == mn) return hsl;
  const float d = mx - mn;
  hsl.S = hsl.L < 0.5f ? d / (mx + mn) : d / (2.0f - mx - mn);
  if (mx == r) {
    hsl.H = (g - b) / d;
  } else if (mx == g) {
    hsl.H = 2.0f + (b - r) / d;
  } else {
    hsl.H = 4.0f + (r - g) / d;
  }
  hsl.H = hsl.H / 6.0f;
  if (hsl.H < 0.0f) hsl.H = hsl.H + 1.0f;
  return hsl;
}

namespace {

uint32_t HueChannel(float m1, float m2, float t) {
  t = t - std::floor(t);
  float v;
  if (6.0f * t < 1.0f) {
    v = m1 + (m2 - m1) * 6.0f * t;
  } else if (2.0f * t < 1.0f) {
    v = m2;
  } else if (3.0f * t < 2.0f) {
    v = m1 + (m2 - m1) * (2.0f / 3.0f - t) * 6.0f;
  } else {
    v = m1;
  }
  return static_cast<uint32_t>(RoundClamped(v * 255.0f, 0, 255));
}

}  // namespace

TColor32 HSLToRGB(float h, float s, float l) {
  if (s == 0.0f) {
    const uint32_t v = static_cast<uint32_t>(RoundClamped(l * 255.0f, 0, 255));
    return Color32(v, v, v);
  }
  const float m2 = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
  const float m1 = 2.0f * l - m2;
  return Color32(HueChannel(m1, m2, h + 1.0f / 3.0f), HueChannel(m1, m2, h), HueChannel(m1, m2, h - 1.0f / 3.0f));
}

}  // namespace tavio
