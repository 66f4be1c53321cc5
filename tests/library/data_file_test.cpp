#include <gtest/gtest.h>

#include <string>

#include "library/data_file_error.h"
#include "library/data_stream.h"
#include "library/ol_saveable.h"
#include "library/value_reader.h"
#include "library/value_writer.h"

using namespace tavio;
using namespace std::string_literals;

namespace {

std::string Save(const TOLSaveable& list) {
  TMemoryStream stream;
  list.SaveToStream(stream);
  return stream.Bytes();
}

TAlbum* NewAlbum(std::string album, int32_t year = 0) {
  auto* a = new TAlbum;
  a->Album = std::move(album);
  a->Year = year;
  return a;
}

std::string WriteInteger(int32_t value) {
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteInteger(value);
  writer.Flush();
  return stream.Bytes();
}

std::string WriteString(const std::string& text) {
  TMemoryStream stream;
  TWriter writer(stream);
  writer.WriteString(text);
  writer.Flush();
  return stream.Bytes();
}

// One album record with texts "A" .. "F" style fields.
std::string AlbumRecord(const std::string& album) {
  return "\x06\x06TAlbum"s  // class name
         "\x06\x00"s        // CoverFile
         "\x06\x00"s        // Title
         "\x02\x00"s        // Year
         "\x06\x00"s        // Artist
         "\x06"s + static_cast<char>(album.size()) + album +  // Album
         "\x06\x00"s        // Genre
         "\x02\x00"s;       // reserved
}

}  // namespace

TEST(DataFile, OneAlbumWithYear1999IsExactly25Bytes) {
  TOLSaveable list;
  list.Add(NewAlbum("", 1999));
  EXPECT_EQ(Save(list),
            "\x02\x01"s          // count 1
            "\x06\x06TAlbum"s    // class name
            "\x06\x00"s          // CoverFile
            "\x06\x00"s          // Title
            "\x03\xCF\x07"s      // Year 1999
            "\x06\x00"s          // Artist
            "\x06\x00"s          // Album
            "\x06\x00"s          // Genre
            "\x02\x00"s);        // reserved
  TOLSaveable empty;
  EXPECT_EQ(Save(empty), "\x02\x00"s);
}

TEST(DataFile, IntegersUseTheSmallestTagThatHoldsThem) {
  EXPECT_EQ(WriteInteger(-1), "\x02\xFF"s);
  EXPECT_EQ(WriteInteger(127), "\x02\x7F"s);
  EXPECT_EQ(WriteInteger(128), "\x03\x80\x00"s);
  EXPECT_EQ(WriteInteger(-129), "\x03\x7F\xFF"s);
  EXPECT_EQ(WriteInteger(-32768), "\x03\x00\x80"s);
  EXPECT_EQ(WriteInteger(1000000), "\x04\x40\x42\x0F\x00"s);
  EXPECT_EQ(WriteInteger(INT32_MIN), "\x04\x00\x00\x00\x80"s);
  for (const int32_t value : {0, -1, 127, -128, 128, -129, 32767, -32768, 32768, 1000000, INT32_MIN,
                              INT32_MAX}) {
    TMemoryStream stream(WriteInteger(value));
    TReader reader(stream);
    EXPECT_EQ(reader.ReadInteger(), value);
  }
}

TEST(DataFile, TextsOutsideAsciiAreWrittenAsUtf8) {
  EXPECT_EQ(WriteString("\xC3\xA9"),  // é
            "\x14"s               // UTF-8 string
            "\x02\x00\x00\x00"s   // byte count
            "\xC3\xA9"s);
  const std::string ascii300(300, 'a');
  EXPECT_EQ(WriteString(ascii300),
            "\x0C"s               // long string
            "\x2C\x01\x00\x00"s   // 300
            + ascii300);
  EXPECT_EQ(WriteString(std::string(255, 'b')).substr(0, 2), "\x06\xFF"s);
  EXPECT_EQ(WriteString(""), "\x06\x00"s);
}

TEST(DataFile, ReadsEveryTextFormIntoUtf8) {
  TMemoryStream stream(
      "\x14\x02\x00\x00\x00\xC3\xA9"s        // UTF-8 é
      "\x12\x02\x00\x00\x00\xE9\x00\x41\x00"s  // UTF-16LE "éA"
      "\x0C\x03\x00\x00\x00xyz"s             // long string
      "\x06\x01\xE9"s                         // code-page é, as older builds wrote it
      "\x14\x02\x00\x00\x00\xE9x"s);          // not UTF-8: a native path's bytes
  TReader reader(stream);
  EXPECT_EQ(reader.ReadString(), "\xC3\xA9");
  EXPECT_EQ(reader.ReadString(), "\xC3\xA9" "A");
  EXPECT_EQ(reader.ReadString(), "xyz");
  EXPECT_EQ(reader.ReadString(), "\xC3\xA9");
  EXPECT_EQ(reader.ReadString(), "\xE9x");
}

namespace {

// One Western album as the build before UTF-8 texts inside wrote it: ASCII
// texts in the 8-bit form, the others as UTF-8.
const std::string kCurrentFile =
    "\x02\x01"s                                       // count 1
    "\x06\x06" "TAlbum"s                              // class name
    "\x14\x19\x00\x00\x00" "C:\\Musik\\Caf\xC3\xA9\\folder.jpg"s  // CoverFile, 25 UTF-8 bytes
    "\x06\x03" "Ace"s                                 // Title
    "\x03\xCF\x07"s                                   // Year 1999
    "\x14\x0A\x00\x00\x00" "Mot\xC3\xB6rhead"s        // Artist, 10 UTF-8 bytes
    "\x06\x03" "Ace"s                                 // Album
    "\x06\x04" "Rock"s                                // Genre
    "\x02\x00"s;                                      // reserved

// The same album as older builds wrote it: 8-bit texts in Windows-1252.
const std::string kAnsiFile =
    "\x02\x01"s                                       // count 1
    "\x06\x06" "TAlbum"s                              // class name
    "\x06\x18" "C:\\Musik\\Caf\xE9\\folder.jpg"s      // CoverFile, é as one byte
    "\x06\x03" "Ace"s                                 // Title
    "\x03\xCF\x07"s                                   // Year 1999
    "\x06\x09" "Mot\xF6rhead"s                        // Artist, ö as one byte
    "\x06\x03" "Ace"s                                 // Album
    "\x06\x04" "Rock"s                                // Genre
    "\x02\x00"s;                                      // reserved

void Load(const std::string& bytes, TOLSaveable& list) {
  TMemoryStream stream(bytes);
  list.LoadFromStream(stream);
}

}  // namespace

TEST(DataFile, FilesOfEarlierBuildsLoadIntoTheSameAlbumsAndAreWrittenAsBefore) {
  for (const std::string* bytes : {&kCurrentFile, &kAnsiFile}) {
    TOLSaveable list;
    Load(*bytes, list);
    ASSERT_EQ(list.Count(), 1);
    const TAlbum& a = *list.Items(0);
    EXPECT_EQ(a.CoverFile, "C:\\Musik\\Caf\xC3\xA9\\folder.jpg");
    EXPECT_EQ(a.Title, "Ace");
    EXPECT_EQ(a.Year, 1999);
    EXPECT_EQ(a.Artist, "Mot\xC3\xB6rhead");
    EXPECT_EQ(a.Album, "Ace");
    EXPECT_EQ(a.Genre, "Rock");
    EXPECT_EQ(Save(list), kCurrentFile);
  }
}

TEST(DataFile, TextsOfEveryScriptRoundTripAsUtf8) {
  const std::string texts[] = {
      "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE",                  // Кино
      "\xE6\x9D\xB1\xE4\xBA\xAC\xE4\xBA\x8B\xE5\xA4\x89",  // 東京事変
      "\xF0\x9F\x8E\xB5 Mix",                              // an emoji beyond the BMP
      "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",                  // שלום
      "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7",          // مرحبا
      "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1",          // Αθήνα
  };
  TOLSaveable list;
  for (const std::string& text : texts) {
    TAlbum* a = NewAlbum(text);
    a->CoverFile = "/music/" + text + "/folder.jpg";
    list.Add(a);
  }
  const std::string bytes = Save(list);
  TOLSaveable loaded;
  Load(bytes, loaded);
  ASSERT_EQ(loaded.Count(), list.Count());
  for (int32_t i = 0; i < list.Count(); ++i) {
    const std::string& text = texts[i];
    EXPECT_NE(bytes.find("\x14"s + static_cast<char>(text.size()) + "\x00\x00\x00"s + text), std::string::npos) << text;
    EXPECT_EQ(loaded.Items(i)->Album, text);
    EXPECT_EQ(loaded.Items(i)->CoverFile, list.Items(i)->CoverFile);
  }
}

TEST(DataFile, RoundTripKeepsEveryFieldAndOrder) {
  TOLSaveable list;
  for (int i = 0; i < 200; ++i) {  // several 1024-byte buffers
    TAlbum* a = NewAlbum("Album " + std::to_string(i), i * 37 - 3000);
    a->CoverFile = "C:\\Music\\Caf\xC3\xA9 " + std::to_string(i) + "\\folder.jpg";
    a->Title = std::string(static_cast<size_t>(i * 3), 't');
    a->Artist = i % 2 ? "Art\xE2\x82\xACist" : "";  // the euro sign
    a->Genre = "Rock";
    list.Add(a);
  }
  TMemoryStream stream(Save(list));
  TOLSaveable loaded;
  loaded.LoadFromStream(stream);
  ASSERT_EQ(loaded.Count(), list.Count());
  for (int i = 0; i < list.Count(); ++i) {
    const TAlbum& a = *list.Items(i);
    const TAlbum& b = *loaded.Items(i);
    EXPECT_EQ(b.CoverFile, a.CoverFile);
    EXPECT_EQ(b.Title, a.Title);
    EXPECT_EQ(b.Year, a.Year);
    EXPECT_EQ(b.Artist, a.Artist);
    EXPECT_EQ(b.Album, a.Album);
    EXPECT_EQ(b.Genre, a.Genre);
    EXPECT_FALSE(b.CoverReady);
    EXPECT_EQ(b.Cover.Width(), 250);
  }
}

TEST(DataFile, TruncatedFileKeepsTheRecordsBeforeTheBreak) {
  const std::string third = AlbumRecord("three");
  const std::string bytes = "\x02\x03"s + AlbumRecord("one") + AlbumRecord("two") +
                            third.substr(0, third.size() / 2);
  TMemoryStream stream(bytes);
  TOLSaveable list;
  EXPECT_THROW(list.LoadFromStream(stream), EDataFileError);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0)->Album, "one");
  EXPECT_EQ(list.Items(1)->Album, "two");
}

TEST(DataFile, NegativeCountLoadsAsEmptyAndBytesAfterTheLastRecordAreIgnored) {
  TOLSaveable list;
  list.Add(NewAlbum("old"));
  TMemoryStream negative("\x02\xFF"s + AlbumRecord("ignored"));
  list.LoadFromStream(negative);
  EXPECT_EQ(list.Count(), 0);

  TMemoryStream trailing("\x02\x01"s + AlbumRecord("one") + "garbage");
  list.LoadFromStream(trailing);
  EXPECT_EQ(list.Count(), 1);
}

TEST(DataFile, MalformedValuesAreFormatErrors) {
  struct Case {
    const char* fault;
    std::string bytes;
  };
  const std::string good = AlbumRecord("x");
  const Case cases[] = {
      {"text where the count should be", "\x06\x01" "1"s},
      {"integer where the class name should be", "\x02\x01\x02\x05"s},
      {"unknown tag", "\x02\x01\x07\x06TAlbum"s},
      {"class other than TAlbum", "\x02\x01\x06\x06TSongs"s + good.substr(8)},
      {"text where the year should be", "\x02\x01\x06\x06TAlbum\x06\x00\x06\x00\x06\x00"s},
      {"long string longer than the file", "\x02\x01\x0C\xFF\xFF\xFF\x7F"s},
      {"UTF-16 length that overflows 32 bits when doubled", "\x02\x01\x12\xFF\xFF\xFF\xFF"s},
      {"empty file", ""s},
      {"tag with no data", "\x04\x01"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    TMemoryStream stream(c.bytes);
    TOLSaveable list;
    EXPECT_THROW(list.LoadFromStream(stream), EDataFileError);
    EXPECT_EQ(list.Count(), 0);
  }
}
