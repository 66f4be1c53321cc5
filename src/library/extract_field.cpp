#include "library/extract_field.h"

namespace tavio {

std::string ExtractField(uint16_t n, std::string_view text, char delimiter) {
  std::string result;
  std::string rest(text);
  uint32_t k = 1;
  for (uint32_t i = 0; i < n; ++i) {
    const size_t p = rest.find(delimiter);
    if (p != std::string::npos) {
      ++k;
      result = rest.substr(0, p);
      rest = rest.substr(p + 1, 255);
    } else {
      result = (n == k) ? rest : std::string();
    }
  }
  return result;
}

}  // namespace tavio
