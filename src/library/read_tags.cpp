// TAlbum::ReadTags: the album's texts from one MP3 file, ID3v2 first and the
// whole ID3v1 tag instead when the ID3v2 tag names no album.
#include <exception>

#include "library/album.h"
#include "library/id3v1_tag.h"
#include "library/id3v2_tag.h"
#include "library/text_to_int.h"

namespace tavio {

namespace {

template <typename Tag>
void TakeTags(TAlbum& album, const Tag& tag) {
  album.Album = tag.GetAlbum();
  album.Title = tag.GetTitle();
  album.Year = TextToIntDef(tag.GetYear(), 0);
  album.Artist = tag.GetArtist();
  album.Genre = tag.GetGenre();
}

}  // namespace

void TAlbum::ReadTags(const std::string& fileName) {
  // Never fails: a step that does go wrong keeps what was set before it.
  try {
    TID3v2Tag v2;
    v2.ReadFromFile(fileName);
    TakeTags(*this, v2);
    if (!Album.empty()) return;
    TID3v1Tag v1;
    v1.ReadFromFile(fileName);
    TakeTags(*this, v1);
  } catch (const std::exception&) {
  }
}

}  // namespace tavio
