// The comma form of a text list, as the settings keep the sort keys and the
// information fields: entries joined by commas, quoted where needed.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tavio {

// An entry holding a blank, a control character, a comma or a double quote
// (or nothing at all) is written in double quotes, inner quotes doubled.
std::string CommaText(const std::vector<std::string>& entries);

// Outside double quotes a comma or a blank ends an entry; blanks around the
// entries are skipped, and a comma at the very end adds an empty entry.
std::vector<std::string> ParseCommaText(std::string_view text);

}  // namespace tavio
