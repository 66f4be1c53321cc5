// The cover picture embedded in an MP3 file: the APIC frame of an ID3v2.3 or
// 2.4 tag, the PIC frame of 2.2, read by the tag reader with the same bounds
// as its texts (a picture frame above 16 MB is refused). The bytes are left
// to the raster's decoders; an album whose CoverFile names an MP3 file takes
// its cover from here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavio {

class TID3v2Tag;

inline constexpr uint8_t kFrontCoverPicture = 3;

// The fields of a picture frame's data that matter here.
struct TPictureFrame {
  uint8_t PictureType = 0;
  std::string_view Picture;  // inside the frame data given
};

// Parses the data of an APIC frame (majorVersion 3 or 4) or a PIC frame (2):
// encoding, MIME type or image format, picture type, description, picture.
// Nothing when the fields do not fit in the data.
std::optional<TPictureFrame> ParsePictureFrame(std::string_view data, int majorVersion);

// The picture of a tag read with TTagParts::TextsAndPicture; empty when it
// holds none.
std::vector<uint8_t> EmbeddedPicture(const TID3v2Tag& tag);

// Reads mp3File's tag for its picture; empty when there is none.
std::vector<uint8_t> ReadEmbeddedPicture(const std::string& mp3File);

// A CoverFile that names an MP3 file (by its extension) holds its cover in
// the file's tag.
bool IsMp3File(const std::string& path);

}  // namespace tavio
