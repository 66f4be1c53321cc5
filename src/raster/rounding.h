// Rounding of real numbers to integers: to the nearest, ties to even
// (2.5 -> 2, 3.5 -> 4). Every rounding in the system goes through here.
#pragma once
#include <cmath>
#include <cstdint>

namespace tavio {

// nearbyint rounds ties to even under the default floating-point mode,
// which nothing in this program changes.
inline int32_t Round(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

// Round for values that may not fit: NaN and anything outside the 32-bit range
// give INT32_MIN, which is what the processor's own conversion (x87 and SSE
// alike) yields. The transform relies on it to stay bit-identical to SIMD code.
inline int32_t RoundOrIndefinite(float value) {
  const double rounded = std::nearbyint(static_cast<double>(value));
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return INT32_MIN;
  return static_cast<int32_t>(rounded);
}

// Round clamped into [lo, hi]; NaN gives lo.
inline int32_t RoundClamped(double value, int32_t lo, int32_t hi) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= lo)) return lo;
  if (rounded > hi) return hi;
  return static_cast<int32_t>(rounded);
}

// Round taken modulo 2^32, as a wider integer stored in 32 bits; NaN and the
// infinities give INT32_MIN.
inline int32_t RoundWrapped(double value) {
  const double wrapped = std::fmod(std::nearbyint(value), 4294967296.0);
  if (!std::isfinite(wrapped)) return INT32_MIN;
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(wrapped)));
}

}  // namespace tavio
