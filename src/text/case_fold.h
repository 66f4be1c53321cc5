// Unicode simple case folding (CaseFolding.txt, statuses C and S): one code
// point to one code point, the same in every script and on every platform.
// Letter-case-blind matching of names and typed text rests on it; the
// locale's sort order does not (that is text_compare.h).
#pragma once
#include <string>
#include <string_view>

namespace tavio {

char32_t FoldCase(char32_t codePoint);

// The text with every character folded. A byte that is not part of a valid
// UTF-8 sequence stays as it is, so texts that are not UTF-8 (file names
// written by other systems) stay apart.
std::string FoldCase(std::string_view utf8);

// Whether the two texts are the same once both are folded.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tavio
