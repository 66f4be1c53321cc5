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

// Track of b minus track of a: sorting with it gives descending tracks.
inline int32_t CompareSongs(const TSong& a, const TSong& b) { return b.Track - a.Track; }

}  // namespace tavio
