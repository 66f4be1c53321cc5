#include "text/case_fold.h"
#include "text/text_compare.h"

namespace tavio {

// Byte order of UTF-8 is code-point order, so the folded texts compare as
// bytes.
int32_t CompareTextIgnoringCase(std::string_view a, std::string_view b) {
  const int result = FoldCase(a).compare(FoldCase(b));
  return result < 0 ? -1 : result > 0 ? 1 : 0;
}

}  // namespace tavio
