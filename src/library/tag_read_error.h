// How a tag reader reports a failure it did not expect (not a missing or
// broken tag, which stays silent): Win32 shows the stop box, natively stderr.
#pragma once
#include <string>

namespace tavio {

void ReportTagReadError(const std::string& message);

}  // namespace tavio
