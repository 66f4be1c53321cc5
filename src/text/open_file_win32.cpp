#include <cstdio>

#include "text/open_file.h"
#include "text/wide_path_win32.h"

namespace tavio {

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(WidePath(path).c_str(), Widen(mode).c_str());
}

}  // namespace tavio
