#include "library/text_to_int.h"

namespace tavio {

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Consumes a hexadecimal prefix ("$", "x", "0x", either letter case) and
// returns the radix of the digits that follow.
int ConsumeRadixPrefix(std::string_view& rest) {
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    rest.remove_prefix(1);
    return 16;
  }
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    rest.remove_prefix(2);
    return 16;
  }
  return 10;
}

}  // namespace

std::optional<int32_t> TextToInt(std::string_view text) {
  std::string_view rest = text;
  while (rest.starts_with(' ')) rest.remove_prefix(1);
  bool negative = false;
  if (rest.starts_with('-') || rest.starts_with('+')) {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  const int radix = ConsumeRadixPrefix(rest);
  if (rest.empty()) return std::nullopt;
  const int64_t limit = negative ? int64_t{INT32_MAX} + 1 : int64_t{INT32_MAX};
  int64_t value = 0;
  for (const char c : rest) {
    const int digit = DigitValue(c);
    if (digit >= radix) return std::nullopt;
    value = value * radix + digit;
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace tavio
