// CompareTextIgnoringCase: the platform's locale-aware text order with letter
// case ignored; orders albums and the genre list.
#pragma once
#include <cstdint>
#include <string_view>

namespace tavio {

// Negative, zero or positive as a sorts before, with or after b.
// Win32: the user's default locale. Natively: Windows-1252 letters folded to
// lower case, then compared byte by byte.
int32_t CompareTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tavio
