#include "settings/settings_store.h"

namespace tavio {

bool TSettingsStore::ReadFlag(std::string_view section, std::string_view name, bool fallback) {
  return ReadInteger(section, name, fallback ? 1 : 0) != 0;
}

void TSettingsStore::WriteFlag(std::string_view section, std::string_view name, bool on) {
  WriteString(section, name, on ? "1" : "0");
}

}  // namespace tavio
