#include <gtest/gtest.h>

#include <string>

#include "library/id3_test_files.h"
#include "library/id3v1_tag.h"

using namespace tavio;
using namespace std::string_literals;
using tavio::test::Id3v1Tag;
using tavio::test::WriteTagFile;

namespace {

TID3v1Tag ReadTag(const std::string& bytes) {
  TID3v1Tag tag;
  tag.ReadFromFile(WriteTagFile(bytes));
  return tag;
}

}  // namespace

TEST(ID3v1Tag, TrackOnlyWhenTheCommentEndsInNulThenNumber) {
  {
    const TID3v1Tag tag = ReadTag("audio" + Id3v1Tag("Title", "Artist", "Album", "2001",
                                                     std::string(28, 'c') + "\x00" "\x05"s, 17));
    EXPECT_EQ(tag.GetTrack(), "5");
    EXPECT_EQ(tag.GetComment(), std::string(28, 'c'));
    EXPECT_EQ(tag.GetGenre(), "Rock");
  }
  {
    // A full 30-byte comment: version 1.0, its last byte is text, not a track.
    const TID3v1Tag tag = ReadTag(Id3v1Tag("Title", "Artist", "Album", "2001", std::string(30, 'c'), 0));
    EXPECT_EQ(tag.GetTrack(), "0");
    EXPECT_EQ(tag.GetComment(), std::string(30, 'c'));
    EXPECT_EQ(tag.GetGenre(), "Blues");
  }
  {
    // Byte 125 not NUL: no track even though byte 126 is set.
    const TID3v1Tag tag = ReadTag(Id3v1Tag("T", "A", "B", "", std::string(28, 'c') + "x" "\x05"s, 0));
    EXPECT_EQ(tag.GetTrack(), "0");
  }
}

TEST(ID3v1Tag, TrimsTheEndsOfFieldsButKeepsTextAfterAnInnerNul) {
  const TID3v1Tag tag = ReadTag(Id3v1Tag("  Title  ", "\tArtist\x01", "Side A" "\x00" "junk"s, " 99 ", "", 0));
  EXPECT_EQ(tag.GetTitle(), "Title");
  EXPECT_EQ(tag.GetArtist(), "Artist");
  EXPECT_EQ(tag.GetAlbum(), "Side A\0junk"s);
  EXPECT_EQ(tag.GetYear(), "99");
}

TEST(ID3v1Tag, WesternTextsAreTakenInTheCodePage) {
  const TID3v1Tag tag = ReadTag(Id3v1Tag("Caf\xE9", "Mot\xF6rhead", "\x80uro", "1999", "", 0));
  EXPECT_EQ(tag.GetTitle(), "Caf\xC3\xA9");
  EXPECT_EQ(tag.GetArtist(), "Mot\xC3\xB6rhead");
  EXPECT_EQ(tag.GetAlbum(), "\xE2\x82\xACuro");  // Windows-1252 0x80 is the euro sign
}

TEST(ID3v1Tag, GenreNumbersBeyondTheListGiveNoName) {
  EXPECT_EQ(ReadTag(Id3v1Tag("", "", "", "", "", 255)).GetGenre(), "");
  EXPECT_EQ(ReadTag(Id3v1Tag("", "", "", "", "", 126)).GetGenre(), "");
  EXPECT_EQ(ReadTag(Id3v1Tag("", "", "", "", "", 125)).GetGenre(), "Dance Hall");
  EXPECT_EQ(ReadTag(Id3v1Tag("", "", "", "", "", 92)).GetGenre(), "Progessive Rock");
}

TEST(ID3v1Tag, NoTagInShortOrForeignFiles) {
  const std::string tag = Id3v1Tag("Title", "Artist", "Album", "2001", "", 17);
  for (const std::string& bytes : {tag.substr(1), "TAB"s + tag.substr(3), tag + "trailing"s, ""s}) {
    const TID3v1Tag read = ReadTag(bytes);
    EXPECT_FALSE(read.Exists());
    EXPECT_EQ(read.GetTitle(), "");
    EXPECT_EQ(read.GetGenre(), "");  // not "Blues" for a zero byte
    EXPECT_EQ(read.GetTrack(), "0");
  }
  TID3v1Tag reused;
  reused.ReadFromFile(WriteTagFile(tag, "_with"));
  ASSERT_EQ(reused.GetArtist(), "Artist");
  reused.ReadFromFile(::testing::TempDir() + "/no such file.mp3");
  EXPECT_FALSE(reused.Exists());
  EXPECT_EQ(reused.GetArtist(), "");
}
