// Malformed ID3v2 tags whose sizes claim more than the tag or the file holds,
// with what a reader must still get out of them; shared with the Wine tests,
// where a 32-bit process cannot even try to allocate such sizes. A frame that
// runs past the tag's end but not the file's is read whole.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace tavio::test {

struct TMalformedTag {
  const char* name;
  std::string bytes;
  size_t frames;  // frames a reader keeps
  std::string album;
  std::string artist;
};

inline std::vector<TMalformedTag> MalformedTags() {
  using namespace std::string_literals;
  return {
      {"v23_frame_size_2GB",
       "ID3" "\x03\x00" "\x00"
       "\x7F\x7F\x7F\x7F" // tag size: the largest syncsafe value
       "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"
       "TPE1"             // frame id
       "\x7F\xFF\xFF\xFF" // frame size 2 GB - 1
       "\x00\x00"         // frame flags
       "\x00" "Artist"s,
       1, "Album", ""},
      {"v24_frame_size_256MB",
       "ID3" "\x04\x00" "\x00"
       "\x7F\x7F\x7F\x7F" // tag size: the largest syncsafe value
       "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"
       "TPE1"             // frame id
       "\x7F\x7F\x7F\x7F" // frame size 256 MB - 1 (syncsafe)
       "\x00\x00"         // frame flags
       "\x00" "Artist"s,
       1, "Album", ""},
      {"v22_frame_size_16MB",
       "ID3" "\x02\x00" "\x00"
       "\x7F\x7F\x7F\x7F" // tag size: the largest syncsafe value
       "TAL" "\x00\x00\x06" "\x00" "Album"
       "TP1"              // frame id
       "\xFF\xFF\xFF"     // frame size 16 MB - 1
       "\x00" "Artist"s,
       1, "Album", ""},
      {"v23_frame_past_tag_end",
       "ID3" "\x03\x00" "\x00"
       "\x00\x00\x00\x1C" // tag size 28: ends two bytes into the second frame's data
       "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"
       "TPE1" "\x00\x00\x00\x07" "\x00\x00" "\x00" "Artist" // lies in the file, not in the tag
       "audio data"s,
       2, "Album", "Artist"},
      {"v23_negative_frame_size",
       "ID3" "\x03\x00" "\x00"
       "\x00\x00\x00\x1A" // tag size 26
       "TPE1"             // frame id
       "\xFF\xFF\xFF\xFF" // frame size -1: a frame without data
       "\x00\x00"         // frame flags
       "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"s,
       2, "Album", ""},
      {"v24_extended_header_past_tag",
       "ID3" "\x04\x00"
       "\x40"             // flags: extended header
       "\x00\x00\x00\x1A" // tag size 26
       "\x7F\x7F\x7F\x7F" // extended header size 256 MB - 1 (syncsafe)
       "\x01" "\x00"      // flag bytes
       "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"s,
       0, "", ""},
      {"v23_extended_header_4GB",
       "ID3" "\x03\x00"
       "\x40"             // flags: extended header
       "\x7F\x7F\x7F\x7F" // tag size: the largest syncsafe value
       "\xFF\xFF\xFF\xFF" // extended header size 4 GB - 1
       "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"s,
       0, "", ""},
  };
}

}  // namespace tavio::test
