// libFuzzer target: an MP3 file's ID3v2 and ID3v1 tags as the scan and the
// song list read them.
#include <cstddef>
#include <cstdint>

#include "fuzz_input_file.h"
#include "library/album.h"
#include "library/file_tags.h"
#include "library/song_track.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavio;
  TID3v2Tag v2;
  TID3v1Tag v1;
  TFileTags tags(fuzz::WriteInputFile(data, size, ".mp3"), v2, v1);
  TAlbum album;
  album.ReadTags(tags);
  TSong song;
  ReadSongTrackAndTitle(song, tags);
  (void)tags.V2().GetTrack();
  (void)tags.V2().GetYear();
  (void)tags.V1().GetTrack();
  return 0;
}
