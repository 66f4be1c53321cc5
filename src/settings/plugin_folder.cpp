#include "settings/plugin_folder.h"

#include "library/folder_path.h"
#include "player/winamp_control.h"

namespace tavio {

std::string PluginFolderOf(std::string_view winampFolder) {
  return std::string(winampFolder) + "Plugins" + kPathDelimiter + "Tavio" + kPathDelimiter;
}

std::string CurrentPluginFolder() { return PluginFolderOf(TWinAmpControl().GetWinampFolder()); }

}  // namespace tavio
