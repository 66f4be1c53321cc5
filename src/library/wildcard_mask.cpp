#include "library/wildcard_mask.h"

#include <cctype>

namespace tavio {

namespace {

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// Iterative glob match with one backtracking point per "*".
bool GlobMatch(std::string_view name, std::string_view mask) {
  size_t n = 0, m = 0;
  size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && SameLetter(mask[m], name[n])))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (GlobMatch(name, mask)) return true;
  // "*.*" and "name.*" also take names without any extension.
  return mask.ends_with(".*") && name.find('.') == std::string_view::npos &&
         GlobMatch(name, mask.substr(0, mask.size() - 2));
}

}  // namespace tavio
