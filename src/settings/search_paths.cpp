#include "settings/search_paths.h"

#include <algorithm>

#include "settings/setting_names.h"
#include "settings/settings_keys.h"

namespace tavio {

void WriteSearchPaths(TSettingsStore& store, const std::vector<std::string>& paths) {
  store.EraseSection(settings::kPaths);
  std::vector<std::string> written;
  for (size_t position = 0; position < paths.size(); ++position) {
    const std::string& path = paths[position];
    // An empty name would be the section's default value, not a path.
    if (path.empty()) continue;
    // Writing a repeated path again would move its position string past the
    // paths between the two, and that string is what keeps the order on
    // registries that list values by name.
    const auto same = [&](const std::string& earlier) { return SameSettingName(earlier, path); };
    if (std::any_of(written.begin(), written.end(), same)) continue;
    store.WriteString(settings::kPaths, path, std::to_string(position));
    written.push_back(path);
  }
}

void ReadSearchPaths(TSettingsStore& store, std::vector<std::string>& paths) { store.ListNames(settings::kPaths, paths); }

}  // namespace tavio
