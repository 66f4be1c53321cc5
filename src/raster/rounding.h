// Rounding of real numbers to integers: to the nearest, ties to even
// (2.5 -> 2, 3.5 -> 4). Every rounding in the system goes through here.
#pragma once
#include <cmath>
#include <cstdint>

namespace tavio {

// nearbyint rounds ties to even under the default floating-point mode,
// which nothing in this program changes.
inline int32_t Round(double value) { return static_cast<int32_t>(std::nearbyint(value)); }
inline int64_t Round64(double value) { return static_cast<int64_t>(std::nearbyint(value)); }

}  // namespace tavio
