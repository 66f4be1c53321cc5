#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "settings/file_settings_store.h"
#include "settings/settings_store.h"

namespace tavio {
namespace {

std::string NonEmptyVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string DefaultSettingsFolder() {
  const std::string config = NonEmptyVariable("XDG_CONFIG_HOME");
  if (!config.empty()) return config + "/tavio";
  const std::string home = NonEmptyVariable("HOME");
  if (home.empty()) throw std::runtime_error("No settings file: set TAVIO_SETTINGS or HOME");
  return home + "/.config/tavio";
}

std::string SettingsFilePath() {
  const std::string chosen = NonEmptyVariable("TAVIO_SETTINGS");
  if (!chosen.empty()) return chosen;
  const std::string folder = DefaultSettingsFolder();
  std::filesystem::create_directories(folder);
  return folder + "/settings";
}

}  // namespace

std::unique_ptr<TSettingsStore> OpenSettingsStore() { return std::make_unique<TFileSettingsStore>(SettingsFilePath()); }

}  // namespace tavio
