#include "view/type_to_jump.h"

#include <array>

#include "text/code_page.h"
#include "library/extract_field.h"
#include "library/shared_keys.h"
#include "view/caption_text.h"

namespace tavio {
namespace {

// U+00C0..U+00FF without their accents and in lower case; 0 keeps the letter.
constexpr std::array<char, 64> kLatin1Base = {
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',  // C0..CF
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   0,    // D0..DF
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',  // E0..EF
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   'y',  // F0..FF
};

uint32_t FoldCodePoint(uint32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xFF) {
    if (kLatin1Base[c - 0xC0] != 0) return static_cast<uint32_t>(kLatin1Base[c - 0xC0]);
    return (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 0x20 : c;
  }
  if (c >= 0x100 && c <= 0x17F && c % 2 == 0) return c + 1;  // Latin Extended-A pairs
  if (c >= 0x391 && c <= 0x3A9) return c + 0x20;            // Greek capitals
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;            // Cyrillic capitals
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The code point starting at utf8[i], moving i past it; AnsiToUtf8 gives
// well-formed text, so only the lead byte picks the length.
uint32_t NextCodePoint(const std::string& utf8, size_t& i) {
  const auto byte = [&](size_t k) { return k < utf8.size() ? static_cast<uint8_t>(utf8[k]) & 0x3Fu : 0u; };
  const uint8_t lead = static_cast<uint8_t>(utf8[i]);
  uint32_t c = lead;
  size_t length = 1;
  if (lead >= 0xF0) {
    c = ((lead & 0x07u) << 18) | (byte(i + 1) << 12) | (byte(i + 2) << 6) | byte(i + 3);
    length = 4;
  } else if (lead >= 0xE0) {
    c = ((lead & 0x0Fu) << 12) | (byte(i + 1) << 6) | byte(i + 2);
    length = 3;
  } else if (lead >= 0xC0) {
    c = ((lead & 0x1Fu) << 6) | byte(i + 1);
    length = 2;
  }
  i += length;
  return c;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string FoldForSearch(std::string_view ansi) {
  const std::string utf8 = AnsiToUtf8(ansi);
  std::string folded;
  folded.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) AppendUtf8(folded, FoldCodePoint(NextCodePoint(utf8, i)));
  return folded;
}

int32_t TTypeToJump::Type(char c, int64_t nowMs, const TOLSaveable& albums) {
  if (!Pending(nowMs)) text_.clear();
  // Longer than any caption could be: nothing more can match.
  if (text_.size() < 255) text_ += c;
  lastKeyMs_ = nowMs;
  const std::string wanted = FoldForSearch(text_);
  const std::string firstSortKey = ExtractField(1, SortKeys(), ',');
  matched_ = false;
  for (int32_t i = 0; i < albums.Count(); ++i) {
    const TAlbum& album = *albums.Items(i);
    if (StartsWith(FoldForSearch(CaptionText(album, CaptionKeys())), wanted) ||
        StartsWith(FoldForSearch(CaptionText(album, firstSortKey)), wanted)) {
      matched_ = true;
      return i;
    }
  }
  return -1;
}

bool TTypeToJump::Pending(int64_t nowMs) const { return !text_.empty() && nowMs - lastKeyMs_ < kResetMs; }

}  // namespace tavio
