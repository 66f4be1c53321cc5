#include "settings/ini_text.h"
#include "settings/legacy_settings_file.h"

namespace tavio {

std::unique_ptr<TLegacySettingsFile> OpenLegacySettingsFile(const std::string& path) {
  return std::make_unique<TIniText>(TIniText::FromFile(path));
}

}  // namespace tavio
