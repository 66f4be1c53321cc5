#include <algorithm>
#include <cstdint>

#include "library/locale_compare.h"

namespace tavio {

// Lower case of a Windows-1252 byte: ASCII, the Latin-1 capitals (not the
// multiplication sign) and the four capitals in the 0x80 row.
static uint8_t FoldCase(uint8_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  switch (c) {
    case 0x8A:  // S caron
    case 0x8C:  // OE
    case 0x8E:  // Z caron
      return c + 0x10;
    case 0x9F:  // Y diaeresis
      return 0xFF;
    default:
      return c;
  }
}

int32_t CompareTextIgnoringCase(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const int32_t ca = FoldCase(static_cast<uint8_t>(a[i]));
    const int32_t cb = FoldCase(static_cast<uint8_t>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace tavio
