#include "library/embedded_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/id3_test_files.h"
#include "library/id3v2_tag.h"

using namespace tavio;
using namespace std::string_literals;
using tavio::test::Syncsafe;
using tavio::test::Unsynchronise;
using tavio::test::WriteTagFile;

namespace {

std::string Frame23(const std::string& id, const std::string& data) {
  return id + std::string{static_cast<char>(data.size() >> 24), static_cast<char>(data.size() >> 16),
                          static_cast<char>(data.size() >> 8), static_cast<char>(data.size())} +
         "\x00\x00"s + data;
}

std::string Tag23(const std::string& frames, bool unsynchronised = false) {
  const std::string body = unsynchronised ? Unsynchronise(frames) : frames;
  return "ID3" "\x03\x00"s + (unsynchronised ? "\x80"s : "\x00"s) + Syncsafe(body.size()) + body;
}

std::string Apic(uint8_t type, const std::string& picture) {
  return "\x00" "image/jpeg\x00"s  // ISO-8859-1, MIME type
         + std::string(1, static_cast<char>(type)) +
         "cover\x00"s  // description
         + picture;
}

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TID3v2Tag Read(const std::string& bytes, TTagParts parts, const std::string& suffix = "") {
  TID3v2Tag tag;
  tag.ReadFromFile(WriteTagFile(bytes, suffix), parts);
  return tag;
}

}  // namespace

TEST(EmbeddedPicture, PayloadsOfFramesNotAskedForAreNeitherReadNorKept) {
  const std::string bytes = Tag23(Frame23("PRIV", "owner\x00"s + std::string(1000, 'p')) +
                                  Frame23("APIC", Apic(4, "BACK")) +        // back cover first
                                  Frame23("TALB", "\x00" "Earlier"s) +
                                  Frame23("APIC", Apic(3, "FRONT")) +
                                  Frame23("APIC", Apic(3, "SECOND FRONT")) +
                                  Frame23("GEOB", std::string(500, 'g')) +
                                  Frame23("TALB", "\x00" "Album"s) +
                                  Frame23("TPE1", "\x00" "Artist"s));
  const TID3v2Tag texts = Read(bytes, TTagParts::Texts, "_texts");
  ASSERT_EQ(texts.Frames().size(), 8u);
  for (size_t i = 0; i < texts.Frames().size(); ++i)
    EXPECT_EQ(texts.Frames()[i].Data.empty(), i != 6 && i != 7) << texts.Frames()[i].Id << " " << i;
  EXPECT_EQ(texts.GetAlbum(), "Album");
  EXPECT_EQ(texts.Picture(), nullptr);
  EXPECT_TRUE(EmbeddedPicture(texts).empty());

  const TID3v2Tag withPicture = Read(bytes, TTagParts::TextsAndPicture, "_picture");
  EXPECT_EQ(AsText(EmbeddedPicture(withPicture)), "FRONT");
  for (const TID3v2Frame& frame : withPicture.Frames())
    EXPECT_TRUE(frame.Data.empty() || frame.Id == "TALB" || frame.Id == "TPE1") << frame.Id;
  EXPECT_EQ(withPicture.GetArtist(), "Artist");

  // Without a front cover the first picture counts.
  EXPECT_EQ(AsText(ReadEmbeddedPicture(WriteTagFile(
                Tag23(Frame23("APIC", Apic(4, "BACK")) + Frame23("APIC", Apic(0, "OTHER"))), "_back"))),
            "BACK");
}

// Chunk borders fall at every phase of the $FF $00 pairs once across the
// three prefix lengths.
TEST(EmbeddedPicture, StreamedResynchronisationAgreesWithTheTagUndoneWhole) {
  std::string picture;
  for (int i = 0; picture.size() < 200 * 1024; ++i) picture += i % 5 == 0 ? "\xFF\xD8\xFF\xE0"s : "\xFF\x00\x41"s;
  for (size_t pad = 0; pad < 3; ++pad) {
    const std::string bytes = Tag23(Frame23("TPE1", "\x00"s + std::string(pad + 1, 'A')) +
                                        Frame23("APIC", Apic(3, picture)) + Frame23("TALB", "\x00" "Album"s),
                                    true);
    const TID3v2Tag tag = Read(bytes, TTagParts::TextsAndPicture, "_" + std::to_string(pad));
    EXPECT_TRUE(tag.Unsynchronisation());
    EXPECT_EQ(tag.GetAlbum(), "Album") << pad;
    EXPECT_EQ(tag.GetArtist(), std::string(pad + 1, 'A'));
    EXPECT_TRUE(AsText(EmbeddedPicture(tag)) == picture) << pad;
  }
}

TEST(EmbeddedPicture, PictureAbove16MBIsRefusedAndTheTagReadOn) {
  const std::string big(TID3v2Tag::kMaxFrameBytes + 1 - Apic(3, "").size(), '\xAA');
  const TID3v2Tag tag = Read(Tag23(Frame23("APIC", Apic(3, big)) + Frame23("TALB", "\x00" "Album"s)),
                             TTagParts::TextsAndPicture);
  EXPECT_EQ(tag.Picture(), nullptr);
  EXPECT_EQ(tag.GetAlbum(), "Album");
}

TEST(EmbeddedPicture, FieldsOfEachVersionAndTextEncoding) {
  struct TCase {
    const char* what;
    int version;
    std::string data;
    int type;  // -1: not a picture frame
    std::string picture;
  };
  const TCase cases[] = {
      {"v2.2 PIC", 2, "\x00" "JPG" "\x03" "desc\x00" "DATA"s, 3, "DATA"},
      {"v2.3 ISO-8859-1", 3, "\x00" "image/jpeg\x00" "\x04" "\x00" "DATA"s, 4, "DATA"},
      // U+0064 U+6500: a zero pair between the two code units is no end.
      {"v2.4 UTF-16", 4, "\x01" "image/png\x00" "\x03" "\xFF\xFE" "d\x00" "\x00\x65" "\x00\x00" "DATA"s, 3, "DATA"},
      {"v2.4 UTF-16BE, empty description", 4, "\x02" "\x00" "\x03" "\x00\x00" "\x89PNG"s, 3, "\x89PNG"},
      {"UTF-8 description never ends", 3, "\x03" "image/jpeg\x00" "\x03" "desc"s, -1, ""},
      {"MIME type never ends", 3, "\x00" "image/jpeg"s, -1, ""},
      {"PIC cut in its format", 2, "\x00" "JP"s, -1, ""},
      {"empty", 3, "", -1, ""},
  };
  for (const TCase& c : cases) {
    const std::optional<TPictureFrame> frame = ParsePictureFrame(c.data, c.version);
    ASSERT_EQ(frame.has_value(), c.type >= 0) << c.what;
    if (!frame) continue;
    EXPECT_EQ(frame->PictureType, c.type) << c.what;
    EXPECT_EQ(frame->Picture, c.picture) << c.what;
  }
}
