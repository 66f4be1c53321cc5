// File-name masks as the Windows file search reads them, for platforms that
// list folders without masks: "*" any run, "?" one character, letter case
// ignored in every script, and a mask ending in ".*" also matching names
// without a dot. Names and masks are UTF-8.
#pragma once
#include <string_view>

namespace tavio {

bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace tavio
