#include "settings/plugin_folder.h"

#include "player/winamp_control.h"

namespace tavio {

std::string PluginFolderOf(std::string_view winampFolder) {
#ifdef _WIN32
  constexpr std::string_view kSubfolder = "Plugins\\Tavio\\";
#else
  constexpr std::string_view kSubfolder = "Plugins/Tavio/";
#endif
  return std::string(winampFolder) + std::string(kSubfolder);
}

std::string CurrentPluginFolder() { return PluginFolderOf(TWinAmpControl().GetWinampFolder()); }

}  // namespace tavio
