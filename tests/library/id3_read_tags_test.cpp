#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "library/album.h"
#include "library/id3_test_files.h"
#include "library/song_track.h"

using namespace tavio;
using namespace std::string_literals;
using tavio::test::Id3v1Tag;
using tavio::test::WriteTagFile;

namespace {

std::unique_ptr<TAlbum> ReadAlbum(const std::string& bytes) {
  auto album = std::make_unique<TAlbum>();
  album->ReadTags(WriteTagFile(bytes));
  return album;
}

TSong ReadSong(const std::string& bytes, const std::string& suffix = "") {
  TSong song;
  song.FileName = WriteTagFile(bytes, suffix);
  TID3v2Tag v2;
  TID3v1Tag v1;
  ReadSongTrackAndTitle(song, v2, v1);
  return song;
}

const std::string kFallbackTag = Id3v1Tag("V1 Title", "V1 Artist", "V1 Album", "1977", "", 125);

}  // namespace

TEST(ReadTags, AlbumFromID3v2KeepsID3v1Away) {
  const auto album = ReadAlbum(
      "ID3" "\x03\x00" "\x00"
      "\x00\x00\x00\x3B" // tag size 59 (syncsafe)
      "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"
      "TPE1" "\x00\x00\x00\x07" "\x00\x00" "\x00" "Artist"
      "TCON" "\x00\x00\x00\x01" "\x00\x00" "\x00" // empty genre
      "TYER" "\x00\x00\x00\x05" "\x00\x00" "\x00" "1999"s +
      kFallbackTag);
  EXPECT_EQ(album->Album, "Album");
  EXPECT_EQ(album->Artist, "Artist");
  EXPECT_EQ(album->Genre, "");
  EXPECT_EQ(album->Year, 1999);
  EXPECT_EQ(album->Title, "");
}

TEST(ReadTags, WithoutID3v2AlbumAllFiveFieldsComeFromID3v1) {
  const std::string id3v2 =
      "ID3" "\x03\x00" "\x00"
      "\x00\x00\x00\x21" // tag size 33 (syncsafe)
      "TPE1" "\x00\x00\x00\x07" "\x00\x00" "\x00" "Artist"
      "TIT2" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Title"s;
  {
    const auto album = ReadAlbum(id3v2 + kFallbackTag);
    EXPECT_EQ(album->Album, "V1 Album");
    EXPECT_EQ(album->Artist, "V1 Artist");
    EXPECT_EQ(album->Title, "V1 Title");
    EXPECT_EQ(album->Year, 1977);
    EXPECT_EQ(album->Genre, "Dance Hall");
  }
  {
    // No ID3v1 tag either: the ID3v2 values are still replaced.
    const auto album = ReadAlbum(id3v2);
    EXPECT_EQ(album->Artist, "");
    EXPECT_EQ(album->Title, "");
    EXPECT_EQ(album->Year, 0);
  }
}

TEST(ReadTags, YearIsZeroUnlessAWholeNumber) {
  EXPECT_EQ(ReadAlbum("ID3" "\x04\x00" "\x00" "\x00\x00\x00\x25"
                      "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"
                      "TDRC" "\x00\x00\x00\x0B" "\x00\x00" "\x00" "2004-05-12"s)->Year, 0);
  const auto none = ReadAlbum("no tags at all");
  EXPECT_EQ(none->Year, 0);
  EXPECT_EQ(none->Album, "");
  EXPECT_EQ(none->Genre, "");
}

TEST(SongTrack, TrackFieldOneOfID3v2ElseID3v1TrackAndTitle) {
  const std::string v1Track7 = Id3v1Tag("V1 Title", "", "", "", std::string(28, ' ') + "\x00" "\x07"s, 0);
  {
    const TSong song = ReadSong("ID3" "\x03\x00" "\x00" "\x00\x00\x00\x1F"
                                "TRCK" "\x00\x00\x00\x06" "\x00\x00" "\x00" "07/12"
                                "TIT2" "\x00\x00\x00\x05" "\x00\x00" "\x00" "Song"s + v1Track7);
    EXPECT_EQ(song.Track, 7);
    EXPECT_EQ(song.Title, "Song");
  }
  {
    // A track text that is no number falls back to ID3v1, title included.
    const TSong song = ReadSong("ID3" "\x03\x00" "\x00" "\x00\x00\x00\x1E"
                                "TRCK" "\x00\x00\x00\x05" "\x00\x00" "\x00" "A/12"
                                "TIT2" "\x00\x00\x00\x05" "\x00\x00" "\x00" "Song"s + v1Track7, "_word");
    EXPECT_EQ(song.Track, 7);
    EXPECT_EQ(song.Title, "V1 Title");
  }
  {
    // ID3v2 title, no track anywhere, no ID3v1 tag: listed with an empty title.
    const TSong song = ReadSong("ID3" "\x03\x00" "\x00" "\x00\x00\x00\x0F"
                                "TIT2" "\x00\x00\x00\x05" "\x00\x00" "\x00" "Song"s, "_none");
    EXPECT_EQ(song.Track, 0);
    EXPECT_EQ(song.Title, "");
  }
}
