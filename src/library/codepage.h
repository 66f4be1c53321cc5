// Conversions between the system's 8-bit code page and UTF-8 / UTF-16, used
// only where a format needs them (ID3v2 frames, non-ASCII data-file texts).
// Win32: the system ANSI code page. Native: Windows-1252.
#pragma once
#include <string>
#include <string_view>

namespace tavio {

// Characters the code page lacks become '?'. Malformed input never throws.
std::string Utf8ToAnsi(std::string_view utf8);
std::string Utf16ToAnsi(std::u16string_view utf16);
std::string AnsiToUtf8(std::string_view ansi);

}  // namespace tavio
