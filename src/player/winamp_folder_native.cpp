#include <cstdlib>
#include <string>

#include "player/winamp_control.h"

namespace tavio {

// No registry here: the tool or the test names the folder. Separator '/'.
std::string TWinAmpControl::GetWinampFolder() const {
  const char* folder = std::getenv("TAVIO_WINAMP_FOLDER");
  return std::string(folder ? folder : "") + "/";
}

}  // namespace tavio
