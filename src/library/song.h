// TSong: one MP3 file of an album, built on demand for the song list and never
// stored; CompareSongs orders songs by descending track.
#pragma once
#include <cstdint>
#include <string>

namespace tavio {

struct TSong {
  std::string Folder;  // with trailing backslash
  std::string FileName;
  std::string Title;
  int32_t Track = 0;
};

// Positive when b's track is higher, negative when lower: sorting with it
// gives descending tracks. Compared, not subtracted: tag texts can hold any
// 32-bit number, and the difference of two would overflow.
inline int32_t CompareSongs(const TSong& a, const TSong& b) { return (b.Track > a.Track) - (b.Track < a.Track); }

}  // namespace tavio
