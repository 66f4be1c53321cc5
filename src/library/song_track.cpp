#include "library/song_track.h"

#include "library/extract_field.h"
#include "library/text_to_int.h"

namespace tavio {

namespace {

int32_t TrackNumber(const std::string& trackText) {
  return TextToIntDef(ExtractField(1, trackText, '/'), 0);
}

}  // namespace

void ReadSongTrackAndTitle(TSong& song, TID3v2Tag& v2, TID3v1Tag& v1) {
  const std::string path = song.Folder + song.FileName;
  v2.ReadFromFile(path);
  song.Track = TrackNumber(v2.GetTrack());
  song.Title = v2.GetTitle();
  if (song.Track != 0) return;
  v1.ReadFromFile(path);
  song.Track = TrackNumber(v1.GetTrack());
  song.Title = v1.GetTitle();
}

}  // namespace tavio
