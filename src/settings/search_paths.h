// The search paths of the library scan as the store keeps them: section PATHS,
// one value per path, named after the path, holding its list position.
#pragma once
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace tavio {

// Replaces the section with the paths in list order. A path that occurs again
// (letter case ignored) keeps its first place; empty paths are left out.
void WriteSearchPaths(TSettingsStore& store, const std::vector<std::string>& paths);

// The stored paths in the order they were written; paths stay as they were
// when the section does not exist.
void ReadSearchPaths(TSettingsStore& store, std::vector<std::string>& paths);

}  // namespace tavio
