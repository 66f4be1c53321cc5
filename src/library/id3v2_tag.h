// TID3v2Tag: reads the ID3v2 tag (versions 2.2, 2.3, 2.4) at the start of an
// MP3 file and answers the text values the library asks for, and on request
// keeps its cover picture. Reading only; the payloads of other frames are
// skipped, never read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavio {

class TTagSource;

struct TID3v2Frame {
  std::string Id;    // 3 characters in version 2.2, 4 in 2.3 and 2.4
  int32_t Size = 0;  // as stored; 0 or less means no data
  // The data bytes with unsynchronisation undone and, in version 2.4, the
  // bytes a frame flag puts before the data (group, encryption method, data
  // length) skipped. Held only for the frames of the values asked for, and
  // only for the last of several with one identifier.
  std::string Data;
};

// What a read keeps besides the frame list.
enum class TTagParts { Texts, TextsAndPicture };

class TID3v2Tag {
 public:
  // Frames after this many are not read: real tags hold a few dozen, and a
  // hostile one must not fill the memory with millions of empty frames.
  static constexpr size_t kMaxFrames = 4096;
  // How far a frame may run past the tag's end into the rest of the file
  // (writers that size the tag a little short).
  static constexpr uint64_t kMaxFrameOverrun = 1024 * 1024;
  // A frame larger than this is never read (its data stays empty).
  static constexpr uint64_t kMaxFrameBytes = 16 * 1024 * 1024;

  // Forgets the previous tag and reads the file's. A missing file, a file
  // without tag or an unsupported version leaves no tag; a broken or
  // truncated tag keeps the frames read before the break.
  void ReadFromFile(const std::string& fileName, TTagParts parts = TTagParts::Texts);

  bool Exists() const { return exists_; }
  int MajorVersion() const { return majorVersion_; }
  int Revision() const { return revision_; }
  bool Unsynchronisation() const { return unsynchronisation_; }
  bool HasExtendedHeader() const { return extendedHeader_; }
  bool Experimental() const { return experimental_; }
  bool HasFooter() const { return footer_; }
  // Header, frames, padding and footer.
  uint64_t Size() const { return size_; }
  const std::vector<TID3v2Frame>& Frames() const { return frames_; }
  // With TTagParts::TextsAndPicture: the picture frame (APIC, or PIC in
  // version 2.2) of the front cover when there is one, else the first; null
  // when there is none. Its data is read like a text frame's.
  const TID3v2Frame* Picture() const { return hasPicture_ ? &picture_ : nullptr; }

  // Texts as UTF-8, trimmed; empty when the frame is missing.
  std::string GetArtist() const;
  std::string GetTitle() const;
  std::string GetAlbum() const;
  std::string GetYear() const;
  std::string GetTrack() const;
  // The genre text with a "(number)" resolved to the genre's name.
  std::string GetGenre() const;

  // Text value of the last frame with this identifier; only the frames of
  // the values above hold their data.
  std::string GetText(std::string_view frameId) const;

 private:
  enum class TValue { Artist, Title, Album, Year, Genre, Track };
  enum class TUse { Skip, Text, Picture };

  void Clear();
  void ReadTag(TTagSource& file);
  bool ReadHeader(TTagSource& file);
  uint64_t FirstFramePosition(TTagSource& source);
  void ReadFrames(TTagSource& source, uint64_t position);
  bool ReadFrameData(TTagSource& source, uint64_t position, TID3v2Frame& frame, uint8_t formatFlags);
  void UnpackFrameData(TID3v2Frame& frame, uint8_t formatFlags) const;
  TUse UseOf(const std::string& frameId) const;
  void KeepText(TID3v2Frame& frame);
  void KeepPicture(TID3v2Frame& frame);
  std::string_view FrameIdOf(TValue value) const;

  bool exists_ = false;
  int majorVersion_ = 0;
  int revision_ = 0;
  bool unsynchronisation_ = false;
  bool extendedHeader_ = false;
  bool experimental_ = false;
  bool footer_ = false;
  uint64_t size_ = 0;
  std::vector<TID3v2Frame> frames_;
  std::vector<size_t> framesWithData_;  // indices into frames_, one per identifier
  TTagParts parts_ = TTagParts::Texts;
  bool hasPicture_ = false;
  bool pictureIsFront_ = false;
  TID3v2Frame picture_;
};

}  // namespace tavio
