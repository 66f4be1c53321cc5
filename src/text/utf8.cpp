#include "text/utf8.h"

#include <cstdint>

namespace tavio {

char32_t NextCodePoint(std::string_view text, size_t& pos) {
  const uint8_t lead = static_cast<uint8_t>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra;
  char32_t cp;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return kReplacementCharacter;
  }
  if (pos + extra > text.size()) return kReplacementCharacter;
  for (int k = 0; k < extra; ++k)
    if ((static_cast<uint8_t>(text[pos + k]) & 0xC0) != 0x80) return kReplacementCharacter;
  for (int k = 0; k < extra; ++k) cp = cp << 6 | (static_cast<uint8_t>(text[pos + k]) & 0x3F);
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacementCharacter;
  pos += extra;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacementCharacter;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | cp >> 6);
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | cp >> 12);
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | cp >> 18);
    out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsValidUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    if (NextCodePoint(text, pos) == kReplacementCharacter &&
        text.substr(start, pos - start) != "\xEF\xBF\xBD")
      return false;
  }
  return true;
}

std::string ValidUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t pos = 0; pos < text.size();) AppendUtf8(out, NextCodePoint(text, pos));
  return out;
}

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  return true;
}

}  // namespace tavio
