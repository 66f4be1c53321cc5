#include <cstdio>

#include "library/tag_read_error.h"

namespace tavio {

void ReportTagReadError(const std::string& message) {
  std::fprintf(stderr, "Error: %s\n", message.c_str());
}

}  // namespace tavio
