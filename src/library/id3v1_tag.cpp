#include "library/id3v1_tag.h"

#include <array>
#include <exception>
#include <string_view>

#include "library/id3_genres.h"
#include "library/tag_file.h"
#include "library/tag_read_error.h"
#include "library/trim_blanks.h"
#include "text/code_page.h"

namespace tavio {

namespace {

constexpr uint64_t kTagSize = 128;

// Byte layout of the tag (ID3v1 and the v1.1 track extension).
constexpr size_t kTitleAt = 3, kArtistAt = 33, kAlbumAt = 63, kYearAt = 93, kCommentAt = 97;
constexpr size_t kTextLength = 30, kYearLength = 4;
constexpr size_t kTrackMarkerAt = 125, kTrackAt = 126, kGenreAt = 127;

// ID3v1 names no encoding: its texts are taken in the system code page.
std::string Field(const std::array<char, kTagSize>& tag, size_t at, size_t length) {
  return AnsiToUtf8(TrimBlanks(std::string_view(tag.data() + at, length)));
}

}  // namespace

void TID3v1Tag::ReadFromFile(const std::string& fileName) {
  *this = TID3v1Tag();
  try {
    TTagFile file(fileName);
    std::array<char, kTagSize> tag{};
    if (!file.IsOpen() || file.Size() < kTagSize) return;
    if (!file.ReadAt(file.Size() - kTagSize, tag.data(), kTagSize)) return;
    if (std::string_view(tag.data(), 3) != "TAG") return;
    exists_ = true;
    title_ = Field(tag, kTitleAt, kTextLength);
    artist_ = Field(tag, kArtistAt, kTextLength);
    album_ = Field(tag, kAlbumAt, kTextLength);
    year_ = Field(tag, kYearAt, kYearLength);
    // Version 1.1 keeps the track in the comment's last byte, after a NUL.
    const bool hasTrack = tag[kTrackMarkerAt] == 0 && tag[kTrackAt] != 0;
    comment_ = Field(tag, kCommentAt, hasTrack ? kTextLength - 2 : kTextLength);
    track_ = hasTrack ? static_cast<uint8_t>(tag[kTrackAt]) : 0;
    genre_ = static_cast<uint8_t>(tag[kGenreAt]);
  } catch (const std::exception& e) {
    ReportTagReadError(e.what());
  }
}

std::string TID3v1Tag::GetGenre() const {
  if (!exists_) return {};
  return GenreName(genre_).value_or(std::string());
}

}  // namespace tavio
