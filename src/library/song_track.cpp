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
  TFileTags tags(song.Folder + song.FileName, v2, v1);
  ReadSongTrackAndTitle(song, tags);
}

void ReadSongTrackAndTitle(TSong& song, TFileTags& tags) {
  song.Track = TrackNumber(tags.V2().GetTrack());
  song.Title = tags.V2().GetTitle();
  if (song.Track != 0) return;
  song.Track = TrackNumber(tags.V1().GetTrack());
  song.Title = tags.V1().GetTitle();
}

}  // namespace tavio
