// ExtractField: the N-th field (from 1) of a text split at a one-character
// delimiter; used for sort keys, caption keys and "track/total" numbers.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tavio {

// Only the first 255 characters after each delimiter are looked at for the
// fields after it; N = 0 or a field past the last gives an empty text.
std::string ExtractField(uint16_t n, std::string_view text, char delimiter);

}  // namespace tavio
