// TrimBlanks: drops spaces, control characters and NUL padding at both ends
// of a text (tag fields, search lists) and keeps whatever lies between.
#pragma once
#include <string_view>
#include <type_traits>

namespace tavio {

// Removes code units up to and including U+0020 (bytes 0x00-0x20) at both ends.
template <typename CharT>
std::basic_string_view<CharT> TrimBlanks(std::basic_string_view<CharT> text) {
  const auto blank = [](CharT c) {
    return static_cast<std::make_unsigned_t<CharT>>(c) <= 0x20;
  };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace tavio
