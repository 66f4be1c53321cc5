// The system's 8-bit (ANSI) code page, met only in old formats: ID3v1 and
// encoding-0 ID3v2 texts, 8-bit data-file texts, the player's ANSI commands.
// Win32: the system ANSI code page. Native: Windows-1252.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tavio {

// Characters the code page lacks become '?'. Malformed input never throws.
std::string Utf8ToAnsi(std::string_view utf8);
std::string Utf16ToAnsi(std::u16string_view utf16);
std::string AnsiToUtf8(std::string_view ansi);

// The code page's form of a text only when it holds every character exactly
// (no '?', no look-alike), so the text survives the way there and back; for
// the old 8-bit interfaces that must still get what they always got.
std::optional<std::string> ExactAnsi(std::string_view utf8);

}  // namespace tavio
