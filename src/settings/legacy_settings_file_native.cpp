#include <unistd.h>

#include <sys/stat.h>

#include "settings/ini_text.h"
#include "settings/legacy_settings_file.h"

namespace tavio {

std::unique_ptr<TLegacySettingsFile> OpenLegacySettingsFile(const std::string& path) {
  return std::make_unique<TIniText>(TIniText::FromFile(path));
}

bool LegacySettingsFileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DeleteLegacySettingsFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace tavio
