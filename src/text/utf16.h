// UTF-16, the form the Win32 wide functions and some tag and data-file texts
// use. Conversions never throw: a malformed UTF-8 byte or an unpaired
// surrogate becomes U+FFFD.
#pragma once
#include <string>
#include <string_view>

namespace tavio {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace tavio
