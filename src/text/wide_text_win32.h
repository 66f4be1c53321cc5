// The Win32 edges' one bridge between the UTF-8 inside and the wide (UTF-16)
// Win32 functions. Only *_win32.cpp files and src/ui, src/host include it:
// portable code never sees wchar_t.
#pragma once
#include <string>
#include <string_view>

#include "text/utf16.h"

namespace tavio {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text is UTF-16");

inline std::wstring Widen(std::string_view utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size());
}

inline std::string Narrow(std::wstring_view wide) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace tavio
