// Text-to-integer conversion of the tag readers and settings: leading spaces,
// a sign, then decimal digits or hexadecimal digits after "$", "x" or "0x".
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace tavio {

// Anything else (trailing characters, an empty text, a value outside the
// signed 32-bit range) gives no number.
std::optional<int32_t> TextToInt(std::string_view text);

inline int32_t TextToIntDef(std::string_view text, int32_t defaultValue) {
  return TextToInt(text).value_or(defaultValue);
}

}  // namespace tavio
