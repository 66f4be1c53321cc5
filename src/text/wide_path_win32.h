// A UTF-8 path as the wide Win32 file functions take it: in UTF-16 and in the
// extended-length form, so folders deeper than MAX_PATH open too. Every wide
// file call that takes a user's path goes through this.
#pragma once
#include <string>
#include <string_view>

#include "text/long_path.h"
#include "text/wide_text_win32.h"

namespace tavio {

inline std::wstring WidePath(std::string_view utf8) { return Widen(LongPath(utf8)); }

}  // namespace tavio
