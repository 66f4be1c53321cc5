// File-name masks as the Windows file search reads them, for platforms that
// list folders without masks: "*" any run, "?" one character, letter case
// ignored (ASCII), and a mask ending in ".*" also matching names without a dot.
#pragma once
#include <string_view>

namespace tavio {

bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace tavio
