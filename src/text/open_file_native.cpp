#include "text/open_file.h"

namespace tavio {

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

}  // namespace tavio
