#include "coversearch/user_region.h"

namespace tavio {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string TwoLetterRegion(std::string_view text) {
  if (text.size() != 2 || !IsAsciiLetter(text[0]) || !IsAsciiLetter(text[1])) return "";
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(c & ~0x20);
  return upper;
}

std::string StoreCountryOf(std::string_view region) {
  const std::string code = TwoLetterRegion(region);
  return code.empty() ? "US" : code;
}

}  // namespace tavio
