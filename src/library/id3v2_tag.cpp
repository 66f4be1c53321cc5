#include "library/id3v2_tag.h"

#include <algorithm>
#include <array>
#include <exception>
#include <optional>

#include "library/embedded_picture.h"
#include "library/id3_genres.h"
#include "library/tag_file.h"
#include "library/tag_read_error.h"
#include "library/trim_blanks.h"
#include "text/code_page.h"
#include "text/utf16.h"
#include "text/utf8.h"

namespace tavio {

namespace {

constexpr uint64_t kHeaderSize = 10;
constexpr uint64_t kFooterSize = 10;

// Header flag bits (ID3v2.3 and 2.4 structure documents, section 3.1).
constexpr uint8_t kFlagUnsynchronisation = 0x80;
constexpr uint8_t kFlagExtendedHeader = 0x40;
constexpr uint8_t kFlagExperimental = 0x20;
constexpr uint8_t kFlagFooter = 0x10;

// Frame format flags of version 2.4 (ID3v2.4 structure document, 4.1.2).
constexpr uint8_t kFrameGrouping = 0x40;
constexpr uint8_t kFrameEncryption = 0x04;
constexpr uint8_t kFrameUnsynchronisation = 0x02;
constexpr uint8_t kFrameDataLength = 0x01;

uint32_t SyncsafeInt(const uint8_t* b) {
  return (uint32_t{b[0] & 0x7Fu} << 21) | (uint32_t{b[1] & 0x7Fu} << 14) |
         (uint32_t{b[2] & 0x7Fu} << 7) | uint32_t{b[3] & 0x7Fu};
}

uint32_t BigEndian32(const uint8_t* b) {
  return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | uint32_t{b[3]};
}

uint32_t BigEndian24(const uint8_t* b) {
  return (uint32_t{b[0]} << 16) | (uint32_t{b[1]} << 8) | uint32_t{b[2]};
}

// Real frame identifiers are digits and upper-case letters; anything else
// is where the padding (or garbage) after the last frame begins.
bool IsFrameId(std::string_view id) {
  for (const char c : id) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return true;
}

// Unsynchronisation put a zero byte after every $FF that a $00 or a byte of
// $E0 and above followed (ID3v2.4 structure document, 6.1); undone in place.
void Resynchronise(std::string& bytes) {
  size_t out = 0;
  for (size_t in = 0; in < bytes.size(); ++in) {
    bytes[out++] = bytes[in];
    if (static_cast<uint8_t>(bytes[in]) == 0xFF && in + 1 < bytes.size() && bytes[in + 1] == '\0') ++in;
  }
  bytes.resize(out);
}

std::u16string Utf16Units(std::string_view bytes, bool bigEndian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto first = static_cast<uint8_t>(bytes[2 * i]);
    const auto second = static_cast<uint8_t>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return units;
}

// Text encodings of the ID3v2 structure documents: 0 ISO-8859-1 (taken as
// the system code page, as the players that wrote such tags did), 1 UTF-16
// with byte-order mark, 2 UTF-16BE, 3 UTF-8.
std::string DecodeText(uint8_t encoding, std::string_view text) {
  switch (encoding) {
    case 0:
      return AnsiToUtf8(TrimBlanks(text));
    case 1: {
      if (text.size() < 2) return {};
      const bool bigEndian = static_cast<uint8_t>(text[0]) == 0xFE && static_cast<uint8_t>(text[1]) == 0xFF;
      const std::u16string units = Utf16Units(text.substr(2), bigEndian);
      return Utf16ToUtf8(TrimBlanks(std::u16string_view(units)));
    }
    case 2: {
      const std::u16string units = Utf16Units(text, true);
      return Utf16ToUtf8(TrimBlanks(std::u16string_view(units)));
    }
    case 3:
      return ValidUtf8(TrimBlanks(text));
    default:
      return {};
  }
}

}  // namespace

void TID3v2Tag::Clear() { *this = TID3v2Tag(); }

void TID3v2Tag::ReadFromFile(const std::string& fileName, TTagParts parts) {
  Clear();
  parts_ = parts;
  try {
    TTagFile file(fileName);
    if (file.IsOpen()) ReadTag(file);
  } catch (const std::exception& e) {
    // Sizes are capped by the file and the frame count, so this is rare:
    // memory for a tag that really is that large.
    ReportTagReadError(e.what());
  }
}

void TID3v2Tag::ReadTag(TTagSource& file) {
  if (!ReadHeader(file)) return;
  if (unsynchronisation_ && majorVersion_ <= 3) {
    // Versions 2.2 and 2.3 unsynchronise the whole tag after its header, frame
    // headers and sizes included: frames are read from the tag as it was.
    TResynchronisedSource resynchronised(file, kHeaderSize, std::min(size_, file.Size()));
    ReadFrames(resynchronised, FirstFramePosition(resynchronised));
    return;
  }
  ReadFrames(file, FirstFramePosition(file));
}

bool TID3v2Tag::ReadHeader(TTagSource& file) {
  std::array<uint8_t, kHeaderSize> header{};
  if (!file.ReadAt(0, header.data(), header.size())) return false;
  if (header[0] != 'I' || header[1] != 'D' || header[2] != '3') return false;
  if (header[3] < 2 || header[3] > 4) return false;
  exists_ = true;
  majorVersion_ = header[3];
  revision_ = header[4];
  const uint8_t flags = header[5];
  unsynchronisation_ = (flags & kFlagUnsynchronisation) != 0;
  // Version 2.2 has neither (its bit 6 means compression).
  extendedHeader_ = majorVersion_ >= 3 && (flags & kFlagExtendedHeader) != 0;
  experimental_ = majorVersion_ >= 3 && (flags & kFlagExperimental) != 0;
  footer_ = majorVersion_ == 4 && (flags & kFlagFooter) != 0;
  size_ = SyncsafeInt(&header[6]) + kHeaderSize + (footer_ ? kFooterSize : 0);
  return true;
}

// The extended header is skipped whole: version 2.4 gives a syncsafe size of
// the whole extended header, version 2.3 a plain size of what follows it.
uint64_t TID3v2Tag::FirstFramePosition(TTagSource& source) {
  if (!extendedHeader_) return kHeaderSize;
  std::array<uint8_t, 4> size{};
  if (!source.ReadAt(kHeaderSize, size.data(), size.size())) return size_;
  if (majorVersion_ == 4) return kHeaderSize + SyncsafeInt(size.data());
  return kHeaderSize + 4 + BigEndian32(size.data());
}

void TID3v2Tag::ReadFrames(TTagSource& source, uint64_t position) {
  const uint64_t idLength = majorVersion_ == 2 ? 3 : 4;
  const uint64_t headerLength = majorVersion_ == 2 ? 6 : 10;
  // Frames start inside the tag; one may run on past the tag's end as far as
  // the file holds it (within kMaxFrameOverrun). A size claiming more is a
  // broken tag and ends it like a truncated file, before allocating.
  const uint64_t tagEnd = std::min(size_, source.Size());
  const uint64_t dataEnd = std::min(source.Size(), tagEnd + kMaxFrameOverrun);
  std::array<uint8_t, 10> header{};
  while (position < tagEnd && frames_.size() < kMaxFrames) {
    if (!source.ReadAt(position, header.data(), headerLength)) return;
    TID3v2Frame frame;
    frame.Id.assign(reinterpret_cast<const char*>(header.data()), idLength);
    if (!IsFrameId(frame.Id)) return;
    switch (majorVersion_) {
      case 2: frame.Size = static_cast<int32_t>(BigEndian24(&header[3])); break;
      case 3: frame.Size = static_cast<int32_t>(BigEndian32(&header[4])); break;
      default: frame.Size = static_cast<int32_t>(SyncsafeInt(&header[4])); break;
    }
    position += headerLength;
    const uint64_t dataLength = frame.Size > 0 ? static_cast<uint64_t>(frame.Size) : 0;
    if (position > dataEnd || dataLength > dataEnd - position) return;
    const TUse use = UseOf(frame.Id);
    if (use != TUse::Skip && dataLength <= kMaxFrameBytes && !ReadFrameData(source, position, frame, header[9]))
      return;
    position += dataLength;
    if (use == TUse::Text) KeepText(frame);
    if (use == TUse::Picture) KeepPicture(frame);
    frames_.push_back(std::move(frame));
  }
}

bool TID3v2Tag::ReadFrameData(TTagSource& source, uint64_t position, TID3v2Frame& frame, uint8_t formatFlags) {
  frame.Data.resize(frame.Size > 0 ? static_cast<size_t>(frame.Size) : 0);
  if (!source.ReadAt(position, frame.Data.data(), frame.Data.size())) return false;
  if (majorVersion_ == 4) UnpackFrameData(frame, formatFlags);
  return true;
}

TID3v2Tag::TUse TID3v2Tag::UseOf(const std::string& frameId) const {
  for (const TValue value : {TValue::Artist, TValue::Title, TValue::Album, TValue::Year, TValue::Genre, TValue::Track})
    if (frameId == FrameIdOf(value)) return TUse::Text;
  if (parts_ == TTagParts::TextsAndPicture && frameId == (majorVersion_ == 2 ? "PIC" : "APIC")) return TUse::Picture;
  return TUse::Skip;
}

// The last frame of an identifier counts, so an earlier one's data can go;
// the frames holding data are remembered, so a tag of thousands of frames
// is not searched for each.
void TID3v2Tag::KeepText(TID3v2Frame& frame) {
  for (auto it = framesWithData_.begin(); it != framesWithData_.end(); ++it) {
    if (frames_[*it].Id != frame.Id) continue;
    std::string().swap(frames_[*it].Data);
    framesWithData_.erase(it);
    break;
  }
  if (!frame.Data.empty()) framesWithData_.push_back(frames_.size());
}

// At most one picture is held: the first that has one, until a front cover
// replaces it.
void TID3v2Tag::KeepPicture(TID3v2Frame& frame) {
  const std::optional<TPictureFrame> fields = ParsePictureFrame(frame.Data, majorVersion_);
  if (fields && !fields->Picture.empty() &&
      (!hasPicture_ || (!pictureIsFront_ && fields->PictureType == kFrontCoverPicture))) {
    pictureIsFront_ = fields->PictureType == kFrontCoverPicture;
    picture_.Id = frame.Id;
    picture_.Size = frame.Size;
    picture_.Data.swap(frame.Data);
    hasPicture_ = true;
  }
  std::string().swap(frame.Data);
}

// Version 2.4 unsynchronises frame by frame (the tag's flag says all of them
// are), and puts a group byte, an encryption byte and a four-byte data length
// before the data as the frame's flags say, in that order and unsynchronised
// with the rest.
void TID3v2Tag::UnpackFrameData(TID3v2Frame& frame, uint8_t formatFlags) const {
  if ((formatFlags & kFrameUnsynchronisation) != 0 || unsynchronisation_) Resynchronise(frame.Data);
  size_t skip = 0;
  if ((formatFlags & kFrameGrouping) != 0) skip += 1;
  if ((formatFlags & kFrameEncryption) != 0) skip += 1;
  if ((formatFlags & kFrameDataLength) != 0) skip += 4;
  frame.Data.erase(0, std::min(skip, frame.Data.size()));
}

std::string_view TID3v2Tag::FrameIdOf(TValue value) const {
  static constexpr std::array<std::array<std::string_view, 6>, 3> kIds = {{
      {"TP1", "TT2", "TAL", "TYE", "TCO", "TRK"},
      {"TPE1", "TIT2", "TALB", "TYER", "TCON", "TRCK"},
      {"TPE1", "TIT2", "TALB", "TDRC", "TCON", "TRCK"},
  }};
  const size_t row = majorVersion_ >= 2 ? static_cast<size_t>(majorVersion_ - 2) : 0;
  return kIds[row][static_cast<size_t>(value)];
}

std::string TID3v2Tag::GetText(std::string_view frameId) const {
  for (auto it = frames_.rbegin(); it != frames_.rend(); ++it) {
    if (it->Id != frameId) continue;
    if (it->Data.size() < 2) return {};
    const std::string_view data(it->Data);
    return DecodeText(static_cast<uint8_t>(data[0]), data.substr(1));
  }
  return {};
}

std::string TID3v2Tag::GetArtist() const { return GetText(FrameIdOf(TValue::Artist)); }
std::string TID3v2Tag::GetTitle() const { return GetText(FrameIdOf(TValue::Title)); }
std::string TID3v2Tag::GetAlbum() const { return GetText(FrameIdOf(TValue::Album)); }
std::string TID3v2Tag::GetYear() const { return GetText(FrameIdOf(TValue::Year)); }
std::string TID3v2Tag::GetTrack() const { return GetText(FrameIdOf(TValue::Track)); }
std::string TID3v2Tag::GetGenre() const { return ResolveGenreText(GetText(FrameIdOf(TValue::Genre))); }

}  // namespace tavio
