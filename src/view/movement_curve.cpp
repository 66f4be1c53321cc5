#include "view/movement_curve.h"

#include <cstdlib>
#include <limits>

#include "raster/rounding.h"

namespace tavio {

int32_t CurvedFrame(int32_t step, int32_t stepCount, uint8_t curveMode, double curveA, double curveB) {
  const int32_t s = stepCount < 1 ? 1 : stepCount;
  float x = static_cast<float>(static_cast<double>(step * 100) / s);
  if (curveMode == kCurveNext) x = 100.0f - x;
  const double d = curveA * x + curveB;
  const float y = d == 0 ? x : static_cast<float>(x / d);
  int32_t r = RoundClamped(s * static_cast<double>(y) / 100.0, std::numeric_limits<int32_t>::min() / 2,
                           std::numeric_limits<int32_t>::max() / 2);
  if (curveMode == kCurveNext) r = s - r;
  if (r < 1) return 0;
  return r > s ? s : r;
}

float Interpolate(int32_t a, int32_t b, int32_t k, int32_t n) {
  return static_cast<float>(a + static_cast<double>((b - a) * k) / n);
}

int32_t AdaptedStepCount(int32_t stepCount, int32_t stepDuration, int64_t elapsedMs) {
  const int64_t ms = std::llabs(elapsedMs);
  if (ms == 0) return stepCount;
  // Computed in floating point so a long-running count cannot overflow.
  const int32_t adapted = RoundClamped(static_cast<double>(stepCount) * stepDuration / static_cast<double>(ms), 0,
                                       std::numeric_limits<int32_t>::max());
  return adapted == 0 ? 1 : adapted;
}

}  // namespace tavio
