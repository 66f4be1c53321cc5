#include <windows.h>

#include "library/tag_read_error.h"

namespace tavio {

void ReportTagReadError(const std::string& message) {
  MessageBoxA(nullptr, message.c_str(), "Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace tavio
