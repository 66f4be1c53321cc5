// CompareTextIgnoringCase: the platform's text order with letter case
// ignored, over UTF-8 texts; orders albums and the genre list.
#pragma once
#include <cstdint>
#include <string_view>

namespace tavio {

// Negative, zero or positive as a sorts before, with or after b.
// Win32: the user's locale (CompareStringEx). Natively: code-point order after
// Unicode simple case folding (case_fold.h).
int32_t CompareTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tavio
