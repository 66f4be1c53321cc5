#include <gtest/gtest.h>

#include <string>

#include "library/id3_test_files.h"
#include "library/id3v2_tag.h"

using namespace tavio;
using namespace std::string_literals;
using tavio::test::Syncsafe;
using tavio::test::Unsynchronise;
using tavio::test::WriteTagFile;

namespace {

TID3v2Tag ReadTag(const std::string& bytes) {
  TID3v2Tag tag;
  tag.ReadFromFile(WriteTagFile(bytes));
  return tag;
}

}  // namespace

TEST(ID3v2Tag, EachVersionAnswersFromItsOwnFrameIds) {
  {
    const TID3v2Tag tag = ReadTag(
        "ID3"              // identifier
        "\x02\x00"         // version 2.2.0
        "\x40"             // flags: compression in 2.2, must not be read as an extended header
        "\x00\x00\x00\x43" // tag size 67 (syncsafe)
        "TT2" "\x00\x00\x06" "\x00" "Title"  // title, ISO-8859-1
        "TP1" "\x00\x00\x07" "\x00" "Artist" // artist
        "TAL" "\x00\x00\x06" "\x00" "Album"  // album
        "TYE" "\x00\x00\x05" "\x00" "1998"   // year
        "TCO" "\x00\x00\x05" "\x00" "(17)"   // genre number
        "TRK" "\x00\x00\x02" "\x00" "7"s);   // track
    EXPECT_TRUE(tag.Exists());
    EXPECT_EQ(tag.MajorVersion(), 2);
    EXPECT_FALSE(tag.HasExtendedHeader());
    EXPECT_EQ(tag.Frames().size(), 6u);
    EXPECT_EQ(tag.GetTitle(), "Title");
    EXPECT_EQ(tag.GetArtist(), "Artist");
    EXPECT_EQ(tag.GetAlbum(), "Album");
    EXPECT_EQ(tag.GetYear(), "1998");
    EXPECT_EQ(tag.GetGenre(), "Rock");
    EXPECT_EQ(tag.GetTrack(), "7");
  }
  {
    const TID3v2Tag tag = ReadTag(
        "ID3"              // identifier
        "\x03\x01"         // version 2.3.1
        "\x00"             // flags
        "\x00\x00\x00\x2E" // tag size 46 (syncsafe)
        "TIT2"             // frame id
        "\x00\x00\x00\x06" // frame size 6
        "\x00\x00"         // frame flags
        "\x00" "Title"     // ISO-8859-1 text
        "TYER" "\x00\x00\x00\x05" "\x00\x00" "\x00" "1999"
        "TRCK" "\x00\x00\x00\x05" "\x00\x00" "\x00" "3/12"s);
    EXPECT_EQ(tag.MajorVersion(), 3);
    EXPECT_EQ(tag.Revision(), 1);
    EXPECT_EQ(tag.Size(), 56u);
    EXPECT_EQ(tag.GetTitle(), "Title");
    EXPECT_EQ(tag.GetYear(), "1999");
    EXPECT_EQ(tag.GetTrack(), "3/12");
    EXPECT_EQ(tag.GetAlbum(), "");
  }
  {
    const std::string longTitle(127, 'x');
    const TID3v2Tag tag = ReadTag(
        "ID3"              // identifier
        "\x04\x00"         // version 2.4.0
        "\x00"             // flags
        "\x00\x00\x01\x1F" // tag size 159 (syncsafe: 1 * 128 + 31)
        "TIT2"             // frame id
        "\x00\x00\x01\x00" // frame size 128 (syncsafe; 256 if misread as plain)
        "\x00\x00"         // frame flags
        "\x00"s + longTitle +
        "TDRC" "\x00\x00\x00\x0B" "\x00\x00" "\x00" "2004-05-12"s);
    EXPECT_EQ(tag.MajorVersion(), 4);
    EXPECT_EQ(tag.GetTitle(), longTitle);
    EXPECT_EQ(tag.GetYear(), "2004-05-12");
  }
}

TEST(ID3v2Tag, DecodesTheFourTextEncodings) {
  const TID3v2Tag tag = ReadTag(
      "ID3"              // identifier
      "\x03\x00"         // version 2.3.0
      "\x00"             // flags
      "\x00\x00\x00\x79" // tag size 121 (syncsafe)
      "TIT2" "\x00\x00\x00\x07" "\x00\x00"
      "\x01"             // UTF-16 with mark
      "\xFE\xFF"         // big-endian mark
      "\x00" "H" "\x00" "i" // no terminator
      "TPE1" "\x00\x00\x00\x09" "\x00\x00"
      "\x01"             // UTF-16 with mark
      "\xFF\xFE"         // little-endian mark
      "H" "\x00" "i" "\x00" "\x00\x00" // with terminator
      "TALB" "\x00\x00\x00\x07" "\x00\x00"
      "\x02"             // UTF-16BE without mark
      "\x00\xDC" "\x00" "n" "\x00\xEF"  // U+00DC n U+00EF
      "TCON" "\x00\x00\x00\x06" "\x00\x00"
      "\x03"             // UTF-8
      "Caf" "\xC3\xA9"   // e with acute
      "TRCK" "\x00\x00\x00\x03" "\x00\x00"
      "\x04" "12"        // unknown encoding
      "TYER" "\x00\x00\x00\x01" "\x00\x00"
      "\x00"s);          // encoding byte only
  EXPECT_EQ(tag.GetTitle(), "Hi");
  EXPECT_EQ(tag.GetArtist(), "Hi");
  EXPECT_EQ(tag.GetAlbum(), "\xC3\x9Cn\xC3\xAF");  // Ünï
  EXPECT_EQ(tag.GetGenre(), "Caf\xC3\xA9");
  EXPECT_EQ(tag.GetTrack(), "");
  EXPECT_EQ(tag.GetYear(), "");
  const TID3v2Tag odd = ReadTag(
      "ID3" "\x03\x00" "\x00"
      "\x00\x00\x00\x18" // tag size 24 (syncsafe)
      "TIT2" "\x00\x00\x00\x02" "\x00\x00"
      "\x01" "\xFF"      // UTF-16 with half a mark
      "TALB" "\x00\x00\x00\x06" "\x00\x00"
      "\x01" "\xFF\xFE"  // UTF-16LE with mark
      "A" "\x00" "B"s);  // odd byte count: one whole code unit
  EXPECT_EQ(odd.GetTitle(), "");
  EXPECT_EQ(odd.GetAlbum(), "A");
}

TEST(ID3v2Tag, TrimsBlanksAtTheEndsButKeepsInnerNuls) {
  const TID3v2Tag tag = ReadTag(
      "ID3" "\x03\x00" "\x00"
      "\x00\x00\x00\x2C" // tag size 44 (syncsafe)
      "TIT2" "\x00\x00\x00\x0D" "\x00\x00"
      "\x00"             // ISO-8859-1
      "  \t" "Rock" "\x00" "Pop" "\x00" // two values, NUL-separated and terminated
      "TPE1" "\x00\x00\x00\x0B" "\x00\x00"
      "\x01" "\xFF\xFE"  // UTF-16LE with mark
      " " "\x00" "A" "\x00" " " "\x00" "\x00\x00"s);
  EXPECT_EQ(tag.GetTitle(), "Rock\0Pop"s);
  EXPECT_EQ(tag.GetArtist(), "A");
}

TEST(ID3v2Tag, LastOfTwoFramesWins) {
  const TID3v2Tag tag = ReadTag(
      "ID3" "\x03\x00" "\x00"
      "\x00\x00\x00\x21" // tag size 33 (syncsafe)
      "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "First"
      "TALB" "\x00\x00\x00\x07" "\x00\x00" "\x00" "Second"s);
  EXPECT_EQ(tag.Frames().size(), 2u);
  EXPECT_EQ(tag.GetAlbum(), "Second");
}

TEST(ID3v2Tag, BadIdentifierIsPaddingAndEndsTheFrameList) {
  {
    const TID3v2Tag tag = ReadTag(
        "ID3" "\x03\x00" "\x00"
        "\x00\x00\x00\x20" // tag size 32 (syncsafe)
        "TaLB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album" // lower-case letter
        "TPE1" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Later"s);
    EXPECT_TRUE(tag.Exists());
    EXPECT_TRUE(tag.Frames().empty());
    EXPECT_EQ(tag.GetArtist(), "");
  }
  {
    const TID3v2Tag tag = ReadTag(
        "ID3" "\x03\x00" "\x00"
        "\x00\x00\x00\x30" // tag size 48 (syncsafe)
        "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"s +
        std::string(32, '\0')); // padding
    EXPECT_EQ(tag.Frames().size(), 1u);
    EXPECT_EQ(tag.GetAlbum(), "Album");
  }
}

TEST(ID3v2Tag, FooterAndExtendedHeadersAreAccountedFor) {
  {
    const TID3v2Tag tag = ReadTag(
        "ID3" "\x04\x00"
        "\x10"             // flags: footer present
        "\x00\x00\x00\x10" // tag size 16 (syncsafe), without header and footer
        "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"
        "3DI" "\x04\x00" "\x10" "\x00\x00\x00\x10"s); // footer
    EXPECT_TRUE(tag.HasFooter());
    EXPECT_EQ(tag.Size(), 36u);
    EXPECT_EQ(tag.Frames().size(), 1u);
    EXPECT_EQ(tag.GetAlbum(), "Album");
  }
  {
    const TID3v2Tag tag = ReadTag(
        "ID3" "\x03\x00"
        "\x40"             // flags: extended header
        "\x00\x00\x00\x1A" // tag size 26 (syncsafe)
        "\x00\x00\x00\x06" // extended header size 6, not counting itself
        "\x00\x00"         // extended flags
        "\x00\x00\x00\x00" // padding size
        "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"s);
    EXPECT_TRUE(tag.HasExtendedHeader());
    EXPECT_EQ(tag.GetAlbum(), "Album");
  }
  {
    const TID3v2Tag tag = ReadTag(
        "ID3" "\x04\x00"
        "\x40"             // flags: extended header
        "\x00\x00\x00\x16" // tag size 22 (syncsafe)
        "\x00\x00\x00\x06" // extended header size 6 (syncsafe), counting itself
        "\x01"             // number of flag bytes
        "\x00"             // extended flags
        "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"s);
    EXPECT_EQ(tag.GetAlbum(), "Album");
  }
}

TEST(ID3v2Tag, NoTagForForeignHeadersAndMissingFiles) {
  EXPECT_FALSE(ReadTag("ID3" "\x05\x00" "\x00" "\x00\x00\x00\x10" "TALB"s).Exists());  // version 2.5
  EXPECT_FALSE(ReadTag("ID2" "\x03\x00" "\x00" "\x00\x00\x00\x10" "TALB"s).Exists());
  EXPECT_FALSE(ReadTag("ID3" "\x03"s).Exists());  // shorter than a header
  EXPECT_FALSE(ReadTag("").Exists());
  TID3v2Tag tag;
  tag.ReadFromFile(WriteTagFile("ID3" "\x03\x00" "\x00" "\x00\x00\x00\x10"
                                "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"s, "_with"));
  ASSERT_EQ(tag.GetAlbum(), "Album");
  tag.ReadFromFile(WriteTagFile("plain audio", "_without"));
  EXPECT_FALSE(tag.Exists());
  EXPECT_EQ(tag.GetAlbum(), "");
  tag.ReadFromFile(::testing::TempDir() + "/no such file.mp3");
  EXPECT_FALSE(tag.Exists());
}

TEST(ID3v2Tag, TruncatedFileKeepsTheFramesBeforeTheBreak) {
  {
    const TID3v2Tag tag = ReadTag(
        "ID3" "\x03\x00" "\x00"
        "\x00\x00\x00\x64" // tag size 100 (syncsafe), more than the file holds
        "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"
        "TPE1" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Ar"s);  // data cut short
    EXPECT_EQ(tag.Frames().size(), 1u);
    EXPECT_EQ(tag.GetAlbum(), "Album");
    EXPECT_EQ(tag.GetArtist(), "");
  }
  {
    const TID3v2Tag tag = ReadTag(
        "ID3" "\x03\x00" "\x00"
        "\x00\x00\x00\x64" // tag size 100 (syncsafe)
        "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"
        "TPE1" "\x00\x00"s);  // frame header cut short
    EXPECT_EQ(tag.Frames().size(), 1u);
  }
}

namespace {

// "\xFF" "\xFE" mark, then U+00FF, U+00DC, 'x' little-endian: FF FE FF 00 DC 00 78 00.
const std::string kUtf16Album = "\x01" "\xFF\xFE" "\xFF\x00" "\xDC\x00" "x\x00"s;

}  // namespace

TEST(ID3v2Tag, UnicodeTextsAreKeptWholeAndCodePageTextsConverted) {
  const std::string frames =
      "TIT2" "\x00\x00\x00\x0F" "\x00\x00"
      "\x01" "\xFF\xFE"              // UTF-16 with little-endian mark
      "\x1A\x04" "\x38\x04" "\x3D\x04" "\x3E\x04"  // Кино
      "\x3C\xD8\xB5\xDF"             // U+1F3B5 as a surrogate pair
      "TALB" "\x00\x00\x00\x05" "\x00\x00"
      "\x02"                         // UTF-16BE
      "\x67\x71" "\x4E\xAC"          // 東京
      "TPE1" "\x00\x00\x00\x09" "\x00\x00"
      "\x03"                         // UTF-8
      "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"  // שלום
      "TCON" "\x00\x00\x00\x05" "\x00\x00"
      "\x00"                         // ISO-8859-1, read in the code page
      "Caf\xE9"
      "TRCK" "\x00\x00\x00\x04" "\x00\x00"
      "\x03" "1\xFF" "2"s;           // UTF-8 that is not
  const TID3v2Tag tag = ReadTag("ID3" "\x03\x00" "\x00"s + Syncsafe(frames.size()) + frames);
  EXPECT_EQ(tag.GetTitle(), "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE\xF0\x9F\x8E\xB5");
  EXPECT_EQ(tag.GetAlbum(), "\xE6\x9D\xB1\xE4\xBA\xAC");
  EXPECT_EQ(tag.GetArtist(), "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
  EXPECT_EQ(tag.GetGenre(), "Caf\xC3\xA9");
  EXPECT_EQ(tag.GetTrack(), "1\xEF\xBF\xBD" "2");
}

TEST(ID3v2Tag, UnsynchronisationIsUndoneForTheWholeTagInVersions22And23) {
  const std::string v23Frames = "TALB" "\x00\x00\x00\x09" "\x00\x00"s + kUtf16Album +
                                "TPE1" "\x00\x00\x00\x07" "\x00\x00" "\x00" "Artist"s;
  const std::string v22Frames = "TAL" "\x00\x00\x09"s + kUtf16Album + "TP1" "\x00\x00\x07" "\x00" "Artist"s;
  for (const auto& [version, frames] : {std::pair{"\x03"s, v23Frames}, std::pair{"\x02"s, v22Frames}}) {
    const std::string body = Unsynchronise(frames);
    ASSERT_NE(body.size(), frames.size());
    const TID3v2Tag tag = ReadTag("ID3" + version + "\x00" "\x80"s + Syncsafe(body.size()) + body + "audio");
    EXPECT_TRUE(tag.Unsynchronisation());
    EXPECT_EQ(tag.GetAlbum(), "\xC3\xBF\xC3\x9Cx") << static_cast<int>(version[0]);  // ÿÜx
    EXPECT_EQ(tag.GetArtist(), "Artist") << static_cast<int>(version[0]);
  }
}

TEST(ID3v2Tag, Version24UndoesUnsynchronisationPerFrameAndSkipsTheDataLength) {
  const std::string album = Unsynchronise(Syncsafe(kUtf16Album.size()) + kUtf16Album);
  const std::string frames =
      "TALB" + Syncsafe(album.size()) + "\x00"
      "\x03"s                        // format flags: unsynchronisation, data length indicator
      + album +
      "TPE1" "\x00\x00\x00\x08" "\x00"
      "\x40"                         // format flags: grouping identity
      "\x07"                         // group
      "\x00" "Artist"
      "TIT2" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Title"s;
  const TID3v2Tag tag = ReadTag("ID3" "\x04\x00" "\x00"s + Syncsafe(frames.size()) + frames);
  ASSERT_EQ(tag.Frames().size(), 3u);
  EXPECT_EQ(tag.GetAlbum(), "\xC3\xBF\xC3\x9Cx");  // ÿÜx
  EXPECT_EQ(tag.GetArtist(), "Artist");
  EXPECT_EQ(tag.GetTitle(), "Title");
}

TEST(ID3v2Tag, FramesBeyondTheLimitAreNotRead) {
  std::string frames;
  for (size_t i = 0; i < TID3v2Tag::kMaxFrames; ++i) frames += "TXXX" "\x00\x00\x00\x00" "\x00\x00"s;
  frames += "TALB" "\x00\x00\x00\x06" "\x00\x00" "\x00" "Album"s;
  const TID3v2Tag tag = ReadTag("ID3" "\x03\x00" "\x00"s + Syncsafe(frames.size()) + frames);
  EXPECT_EQ(tag.Frames().size(), TID3v2Tag::kMaxFrames);
  EXPECT_EQ(tag.GetAlbum(), "");
}
