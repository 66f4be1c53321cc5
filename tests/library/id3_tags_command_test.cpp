#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "library/id3_test_files.h"
#include "support/command_output.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

using namespace std::string_literals;
using tavio::test::Id3v1Tag;
using tavio::test::WriteTagFile;

namespace {

int RunTool(const std::string& args, std::string& out) {
  return tavio::test::RunCapturingOutput(
      tavio::test::Unprivileged(std::getenv("TAVIO_TOOL")) + " tags " + args + " 2>/dev/null", out);
}

}  // namespace

TEST(TagsCommand, PrintsAlbumFieldsAndTrackEvenForFilesWithoutTags) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !std::filesystem::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  const std::string tagged = WriteTagFile(
      "ID3" "\x03\x00" "\x00"
      "\x00\x00\x00\x1F" // tag size 31 (syncsafe)
      "TALB" "\x00\x00\x00\x05" "\x00\x00" "\x00" "Caf" "\xE9"
      "TRCK" "\x00\x00\x00\x06" "\x00\x00" "\x00" "04/10"s +
      Id3v1Tag("Title", "Artist", "Other", "1980", "", 17), "_tagged");
  const std::string bare = WriteTagFile("no tags", "_bare");
  std::string out;
  EXPECT_EQ(RunTool("'" + tagged + "' '" + bare + "'", out), 0);
  EXPECT_EQ(out, tagged + "\n" "\t\tCaf\xC3\xA9\t0\t\t4\n" + bare + "\n" "\t\t\t0\t\t0\n");
}

TEST(TagsCommand, MissingOrUnreadableFileFailsTheRunAndTheOthersAreStillPrinted) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !std::filesystem::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  tavio::test::TTempFolder folder;
  tavio::test::OpenToOthers(folder.Path());
  folder.Write("good.mp3", Id3v1Tag("Title", "Artist", "Album", "1999", "", 255));
  folder.Write("locked.mp3", Id3v1Tag("Title", "Artist", "Album", "1999", "", 255));
  std::filesystem::permissions(folder.Path() + "good.mp3", std::filesystem::perms::others_read,
                               std::filesystem::perm_options::add);
  std::filesystem::permissions(folder.Path() + "locked.mp3", std::filesystem::perms::none);
  std::string out;
  EXPECT_EQ(RunTool("'" + folder.Path() + "missing.mp3' '" + folder.Path() + "good.mp3'", out), 1);
  EXPECT_EQ(out, folder.Path() + "good.mp3\n" "Title\tArtist\tAlbum\t1999\t\t0\n");
  EXPECT_EQ(RunTool("'" + folder.Path() + "locked.mp3'", out), 1);
  EXPECT_EQ(out, "");
}
