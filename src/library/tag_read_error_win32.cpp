#include <windows.h>

#include "library/tag_read_error.h"
#include "text/wide_text_win32.h"

namespace tavio {

void ReportTagReadError(const std::string& message) {
  MessageBoxW(nullptr, Widen(message).c_str(), L"Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace tavio
