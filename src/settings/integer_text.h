// Text to 32-bit integer with a default, as every setting stored as text is
// read: leading spaces, a sign, then decimal digits or "$", "x", "0x" and hex.
#pragma once
#include <cstdint>
#include <string_view>

namespace tavio {

// Anything else, an empty text or a value outside the 32-bit signed range
// gives fallback.
int32_t TextToIntDef(std::string_view text, int32_t fallback);

}  // namespace tavio
