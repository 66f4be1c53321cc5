#include "library/wildcard_mask.h"

#include <string>

#include "text/case_fold.h"
#include "text/utf8.h"

namespace tavio {

namespace {

// Past the character at text[pos]: "?" and the backtracking of "*" step by
// whole characters, never into the middle of one.
size_t NextCharacter(std::string_view text, size_t pos) {
  NextCodePoint(text, pos);
  return pos;
}

// Iterative glob match over folded texts, with one backtracking point per
// "*". Folded texts match literally byte by byte: equal characters have
// equal bytes.
bool GlobMatch(std::string_view name, std::string_view mask) {
  size_t n = 0, m = 0;
  size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '?') {
      n = NextCharacter(name, n);
      ++m;
    } else if (m < mask.size() && mask[m] != '*' && mask[m] == name[n]) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = starName = NextCharacter(name, starName);
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
  const std::string foldedName = FoldCase(name);
  const std::string foldedMask = FoldCase(mask);
  if (GlobMatch(foldedName, foldedMask)) return true;
  // "*.*" and "name.*" also take names without any extension.
  return foldedMask.ends_with(".*") && foldedName.find('.') == std::string::npos &&
         GlobMatch(foldedName, std::string_view(foldedMask).substr(0, foldedMask.size() - 2));
}

}  // namespace tavio
