#include "library/embedded_picture.h"

#include <cctype>

#include "library/id3v2_tag.h"

namespace tavio {

namespace {

// Where a text of the frame's encoding that starts at from ends, its
// terminator included: one zero byte for ISO-8859-1 and UTF-8, two on a
// code-unit boundary for UTF-16 (ID3v2.4 structure document, 4).
std::optional<size_t> AfterTerminatedText(std::string_view data, size_t from, uint8_t encoding) {
  if (encoding == 1 || encoding == 2) {
    for (size_t i = from; i + 1 < data.size(); i += 2)
      if (data[i] == '\0' && data[i + 1] == '\0') return i + 2;
    return std::nullopt;
  }
  const size_t zero = data.find('\0', from);
  if (zero == std::string_view::npos) return std::nullopt;
  return zero + 1;
}

}  // namespace

std::optional<TPictureFrame> ParsePictureFrame(std::string_view data, int majorVersion) {
  if (data.empty()) return std::nullopt;
  const auto encoding = static_cast<uint8_t>(data[0]);
  // APIC: a MIME type ending in a zero byte; PIC: a three-letter format.
  size_t at = 1;
  if (majorVersion == 2) {
    at += 3;
  } else {
    const size_t zero = data.find('\0', at);
    if (zero == std::string_view::npos) return std::nullopt;
    at = zero + 1;
  }
  if (at >= data.size()) return std::nullopt;
  TPictureFrame frame;
  frame.PictureType = static_cast<uint8_t>(data[at]);
  const std::optional<size_t> picture = AfterTerminatedText(data, at + 1, encoding);
  if (!picture) return std::nullopt;
  frame.Picture = data.substr(*picture);
  return frame;
}

std::vector<uint8_t> EmbeddedPicture(const TID3v2Tag& tag) {
  const TID3v2Frame* frame = tag.Picture();
  if (frame == nullptr) return {};
  const std::optional<TPictureFrame> fields = ParsePictureFrame(frame->Data, tag.MajorVersion());
  if (!fields) return {};
  return std::vector<uint8_t>(fields->Picture.begin(), fields->Picture.end());
}

std::vector<uint8_t> ReadEmbeddedPicture(const std::string& mp3File) {
  TID3v2Tag tag;
  tag.ReadFromFile(mp3File, TTagParts::TextsAndPicture);
  return EmbeddedPicture(tag);
}

bool IsMp3File(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ext = path.substr(path.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".mp3";
}

}  // namespace tavio
