#include "text/case_fold.h"

#include <algorithm>
#include <iterator>

#include "text/case_fold_table.h"
#include "text/utf8.h"

namespace tavio {

char32_t FoldCase(char32_t codePoint) {
  if (codePoint < 0x80) return codePoint >= 'A' && codePoint <= 'Z' ? codePoint + 0x20 : codePoint;
  using case_fold_table::kRuns;
  // The first run that does not end before the code point.
  const auto run = std::lower_bound(std::begin(kRuns), std::end(kRuns), codePoint,
                                    [](const case_fold_table::TRun& r, char32_t c) { return r.Last < c; });
  if (run == std::end(kRuns) || codePoint < run->First || (codePoint - run->First) % run->Step != 0)
    return codePoint;
  return static_cast<char32_t>(static_cast<int32_t>(codePoint) + run->Delta);
}

std::string FoldCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    const size_t start = pos;
    const char32_t cp = NextCodePoint(utf8, pos);
    if (cp == kReplacementCharacter && pos - start == 1)
      out += utf8[start];
    else
      AppendUtf8(out, FoldCase(cp));
  }
  return out;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) { return FoldCase(a) == FoldCase(b); }

}  // namespace tavio
