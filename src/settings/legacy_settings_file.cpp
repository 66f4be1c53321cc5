#include "settings/legacy_settings_file.h"

#include "library/text_to_int.h"

namespace tavio {

int32_t TLegacySettingsFile::ReadInteger(std::string_view section, std::string_view name, int32_t fallback) {
  return TextToIntDef(ReadString(section, name, ""), fallback);
}

bool TLegacySettingsFile::ReadFlag(std::string_view section, std::string_view name, bool fallback) {
  return ReadInteger(section, name, fallback ? 1 : 0) != 0;
}

std::vector<std::string> SplitIniNameList(std::string_view zeroSeparated) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < zeroSeparated.size()) {
    size_t end = zeroSeparated.find('\0', start);
    if (end == std::string_view::npos) end = zeroSeparated.size();
    if (end == start) break;  // the closing extra zero
    names.emplace_back(zeroSeparated.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace tavio
