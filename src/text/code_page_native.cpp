// Windows-1252 without the operating system's help. The five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls
// of the same number, as Windows itself does, so every byte survives a round
// trip through UTF-8.
#include <cstdint>

#include "text/code_page.h"
#include "text/utf8.h"

namespace tavio {

static constexpr char16_t kHighHalf[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

static char32_t ByteToCodePoint(uint8_t byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighHalf[byte - 0x80] : byte;
}

static char CodePointToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHighHalf[i] == cp) return static_cast<char>(0x80 + i);
  return '?';
}

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) out += CodePointToByte(NextCodePoint(utf8, i));
  return out;
}

std::string Utf16ToAnsi(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    // A surrogate pair is one character beyond the code page: one '?'.
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF)
      ++i;
    out += CodePointToByte(unit);
  }
  return out;
}

std::optional<std::string> ExactAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const char32_t cp = NextCodePoint(utf8, i);
    const char byte = CodePointToByte(cp);
    if (byte == '?' && cp != U'?') return std::nullopt;
    out += byte;
  }
  return out;
}

std::string AnsiToUtf8(std::string_view ansi) {
  if (IsAscii(ansi)) return std::string(ansi);
  std::string out;
  out.reserve(ansi.size());
  for (const char c : ansi) AppendUtf8(out, ByteToCodePoint(static_cast<uint8_t>(c)));
  return out;
}

}  // namespace tavio
