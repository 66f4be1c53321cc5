#include "settings/tolerant_settings.h"

#include <algorithm>

namespace tavio {

std::string TTolerantSettings::ReadString(std::string_view section, std::string_view name, std::string_view fallback) {
  try {
    return store_.ReadString(section, name, fallback);
  } catch (const TUnreadableSetting& e) {
    Note(e.Name());
    return std::string(fallback);
  }
}

int32_t TTolerantSettings::ReadInteger(std::string_view section, std::string_view name, int32_t fallback) {
  try {
    return store_.ReadInteger(section, name, fallback);
  } catch (const TUnreadableSetting& e) {
    Note(e.Name());
    return fallback;
  }
}

void TTolerantSettings::Note(const std::string& name) {
  if (std::find(unreadable_.begin(), unreadable_.end(), name) == unreadable_.end()) unreadable_.push_back(name);
}

std::string UnreadableSettingsText(const std::vector<std::string>& names) {
  if (names.empty()) return {};
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
  return "These settings cannot be read and keep their defaults until you change them: " + list;
}

}  // namespace tavio
