// The plug-in folder: Plugins\Tavio\ under the player's folder. It holds the
// library data files and the legacy settings file.
#pragma once
#include <string>
#include <string_view>

namespace tavio {

inline constexpr char kLegacySettingsFileName[] = "Tavio.ini";

// winampFolder ends with a separator, as TWinAmpControl::GetWinampFolder gives
// it; a lone separator (no player folder known) yields Plugins\Tavio\ at the
// root of the current drive. The result ends with a separator.
std::string PluginFolderOf(std::string_view winampFolder);

// The plug-in folder of the player found on this system.
std::string CurrentPluginFolder();

}  // namespace tavio
