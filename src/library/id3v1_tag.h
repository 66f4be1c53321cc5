// TID3v1Tag: reads the 128-byte ID3v1 / ID3v1.1 tag at the end of an MP3
// file. Its texts are in the system code page; they come out as UTF-8.
#pragma once
#include <cstdint>
#include <string>

namespace tavio {

class TID3v1Tag {
 public:
  // Forgets the previous tag and reads the file's; a missing or short file,
  // or one whose last 128 bytes do not start with "TAG", leaves no tag.
  void ReadFromFile(const std::string& fileName);

  bool Exists() const { return exists_; }

  // Fields trimmed of blanks, control characters and NUL padding at both
  // ends; NUL bytes inside a field stay.
  std::string GetTitle() const { return title_; }
  std::string GetArtist() const { return artist_; }
  std::string GetAlbum() const { return album_; }
  std::string GetYear() const { return year_; }
  std::string GetComment() const { return comment_; }
  // The genre's name; empty for numbers above 125 and without a tag.
  std::string GetGenre() const;
  // Decimal; "0" for version 1.0 tags and without a tag.
  std::string GetTrack() const { return std::to_string(track_); }

 private:
  bool exists_ = false;
  std::string title_;
  std::string artist_;
  std::string album_;
  std::string year_;
  std::string comment_;
  uint8_t track_ = 0;
  uint8_t genre_ = 0;
};

}  // namespace tavio
