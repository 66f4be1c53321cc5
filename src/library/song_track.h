// The track number and title the song list shows for one MP3 file: ID3v2
// first, and the ID3v1 tag's when the ID3v2 tag gives no track number.
#pragma once
#include "library/file_tags.h"
#include "library/song.h"

namespace tavio {

// Fills Track and Title of song from the file Folder + FileName. The readers
// are passed in so one pair serves a whole folder of songs. A "3/12" track
// gives 3; without a usable track number in either tag, Track is 0 and Title
// is the ID3v1 title (empty without an ID3v1 tag).
void ReadSongTrackAndTitle(TSong& song, TID3v2Tag& v2, TID3v1Tag& v1);
// The same from tags of that file that may have been read already.
void ReadSongTrackAndTitle(TSong& song, TFileTags& tags);

}  // namespace tavio
