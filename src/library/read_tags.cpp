// TAlbum::ReadTags: the album's texts from one MP3 file, ID3v2 first and the
// whole ID3v1 tag instead when the ID3v2 tag names no album.
#include <exception>

#include "library/album.h"
#include "library/file_tags.h"
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
  TID3v2Tag v2;
  TID3v1Tag v1;
  TFileTags tags(fileName, v2, v1);
  ReadTags(tags);
}

void TAlbum::ReadTags(TFileTags& tags) {
  // Never fails: a step that does go wrong keeps what was set before it.
  try {
    TakeTags(*this, tags.V2());
    if (!Album.empty()) return;
    TakeTags(*this, tags.V1());
  } catch (const std::exception&) {
  }
}

}  // namespace tavio
