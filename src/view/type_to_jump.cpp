#include "view/type_to_jump.h"

#include <array>

#include "library/extract_field.h"
#include "library/shared_keys.h"
#include "text/case_fold.h"
#include "text/utf8.h"
#include "view/caption_text.h"

namespace tavio {
namespace {

// U+00E0..U+00FF without their accents; 0 keeps the letter. Capitals are
// folded to these before.
constexpr std::array<char, 32> kLatin1Base = {
    'a', 'a', 'a', 'a', 'a', 'a', 0,   'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',  // E0..EF
    0,   'n', 'o', 'o', 'o', 'o', 'o', 0,   0,   'u', 'u', 'u', 'u', 'y', 0,   'y',  // F0..FF
};

char32_t FoldForSearch(char32_t c) {
  c = FoldCase(c);
  if (c >= 0xE0 && c <= 0xFF && kLatin1Base[c - 0xE0] != 0) return static_cast<char32_t>(kLatin1Base[c - 0xE0]);
  return c;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string FoldForSearch(std::string_view utf8) {
  std::string folded;
  folded.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) AppendUtf8(folded, FoldForSearch(NextCodePoint(utf8, i)));
  return folded;
}

int32_t TTypeToJump::Type(char32_t c, int64_t nowMs, const TOLSaveable& albums) {
  if (!Pending(nowMs)) text_.clear();
  // Longer than any caption could be: nothing more can match.
  if (text_.size() < 1024) AppendUtf8(text_, c);
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
