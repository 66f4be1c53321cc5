// UTF-8, the one text form inside: every portable string (album fields, paths,
// captions, settings values) holds it. Decoding never throws; a malformed
// byte reads as U+FFFD and decoding moves on.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tavio {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the character at text[pos] and advances pos past it. An overlong,
// surrogate or cut sequence gives U+FFFD for its first byte only.
char32_t NextCodePoint(std::string_view text, size_t& pos);

void AppendUtf8(std::string& out, char32_t codePoint);

bool IsValidUtf8(std::string_view text);

// The text as it is when it is valid UTF-8; else each malformed byte becomes
// U+FFFD (for texts read from files that claim UTF-8 and are not).
std::string ValidUtf8(std::string_view text);

bool IsAscii(std::string_view text);

}  // namespace tavio
