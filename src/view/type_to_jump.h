// TTypeToJump: the search text typed on the carousel, how long it lives, and
// which album it finds: the first, in the shown order, whose caption or
// first sort key starts with it, letter case and accents ignored.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "library/ol_saveable.h"

namespace tavio {

// Text folded for a starts-with search: UTF-8 in, UTF-8 out, case folded
// (case_fold.h) and the Latin-1 letters without their accents. The one place
// type-to-jump folds text.
std::string FoldForSearch(std::string_view utf8);

class TTypeToJump {
 public:
  // A pause this long without a key starts a new search text.
  static constexpr int64_t kResetMs = 1500;

  // Adds a typed character (a code point) at nowMs and searches albums
  // again; the album found, or -1 when none matches.
  int32_t Type(char32_t c, int64_t nowMs, const TOLSaveable& albums);
  // Whether a search text is still alive at nowMs.
  bool Pending(int64_t nowMs) const;
  // Forgets the search text.
  void Reset() { text_.clear(); }
  // UTF-8.
  const std::string& Text() const { return text_; }
  // Whether the last search found an album.
  bool Matched() const { return matched_; }

 private:
  std::string text_;
  int64_t lastKeyMs_ = 0;
  bool matched_ = false;
};

}  // namespace tavio
