// The songs of an album folder as the song list shows them, and the tool's
// "songs" command that prints them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <sys/wait.h>

#include "library/folder_songs.h"
#include "library/id3_test_files.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

using namespace tavio;
using tavio::test::Id3v1Tag;
using tavio::test::TTempFolder;

namespace {

// An ID3v2.3 text frame, ISO-8859-1, shorter than 256 bytes.
std::string TextFrame(const std::string& id, const std::string& text) {
  const std::string data = std::string(1, '\0') + text;
  return id + std::string(3, '\0') + static_cast<char>(data.size()) + std::string(2, '\0') + data;
}

// An ID3v2.3 tag around frames (shorter than 128 bytes, so one size byte).
std::string Id3v2Tag(const std::string& frames) {
  return std::string("ID3\x03\x00\x00", 6) + std::string(3, '\0') + static_cast<char>(frames.size()) + frames;
}

std::string Song(const std::string& title, const std::string& track) {
  return Id3v2Tag(TextFrame("TIT2", title) + TextFrame("TRCK", track)) + "audio";
}

std::string Summary(const std::vector<TSong>& songs) {
  std::string out;
  for (const TSong& song : songs) out += std::to_string(song.Track) + ":" + song.Title + ":" + song.FileName + " ";
  return out;
}

}  // namespace

TEST(FolderSongs, RowsFollowAscendingTracksWhateverOrderTheFilesComeIn) {
  TTempFolder folder;
  folder.Write("c.mp3", Song("Three", "3"));
  folder.Write("a.mp3", Song("One", "1"));
  folder.Write("b.mp3", Song("Two", "02/12"));
  const auto songs = ReadFolderSongs(folder.Path());
  EXPECT_EQ(Summary(songs), "1:One:a.mp3 2:Two:b.mp3 3:Three:c.mp3 ");
  for (const TSong& song : songs) EXPECT_EQ(song.Folder, folder.Path());
}

TEST(FolderSongs, TrackAndTitleFallBackToID3v1OnlyWithoutAnID3v2Track) {
  TTempFolder folder;
  folder.Write("total.mp3", Song("Seven", "07/12"));
  folder.Write("word.mp3", Song("V2 Title", "seven") + Id3v1Tag("V1 Title", "", "", "", "", 0).replace(126, 1, "\x05"));
  folder.Write("bare.mp3", Id3v2Tag(TextFrame("TIT2", "Lost Title")) + "audio");
  folder.Write("none.mp3", "no tag at all");
  std::map<std::string, std::string> byFile;
  for (const TSong& song : ReadFolderSongs(folder.Path()))
    byFile[song.FileName] = std::to_string(song.Track) + ":" + song.Title;
  EXPECT_EQ(byFile["total.mp3"], "7:Seven");
  // ID3v1.1 keeps the track in byte 126, behind a zero byte ending the comment.
  EXPECT_EQ(byFile["word.mp3"], "5:V1 Title");
  // No ID3v2 track and no ID3v1 tag: the ID3v2 title goes too.
  EXPECT_EQ(byFile["bare.mp3"], "0:");
  EXPECT_EQ(byFile["none.mp3"], "0:");
}

TEST(FolderSongs, OnlyMp3FilesAreListedAndAMissingFolderGivesNone) {
  TTempFolder folder;
  std::filesystem::create_directory(folder.Path() + "x.mp3");
  folder.Write("cover.jpg", "");
  folder.Write("LOUD.MP3", "");
  const auto songs = ReadFolderSongs(folder.Path());
  ASSERT_EQ(songs.size(), 1u);
  EXPECT_EQ(songs[0].FileName, "LOUD.MP3");
  EXPECT_TRUE(ReadFolderSongs(folder.Path() + "gone/").empty());
  EXPECT_TRUE(ReadFolderSongs("").empty());
}

TEST(SongsCommand, PrintsNumberTitleAndPathPerRowAndFailsOnAMissingFolder) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !std::filesystem::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  const auto run = [&](const std::string& folder, std::string& out) {
    FILE* pipe = popen((test::Unprivileged(tool) + " songs '" + folder + "' 2>/dev/null").c_str(), "r");
    char buffer[4096];
    size_t got;
    out.clear();
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    return WEXITSTATUS(pclose(pipe));
  };
  TTempFolder folder;
  test::OpenToOthers(folder.Path());
  std::string out;
  EXPECT_EQ(run(folder.Path(), out), 0);
  EXPECT_EQ(out, "");
  folder.Write("b.mp3", Song("Caf\xE9", "2"));
  folder.Write("a.mp3", Song("First", "1"));
  const std::string bare = folder.Path().substr(0, folder.Path().size() - 1);
  EXPECT_EQ(run(bare, out), 0);
  EXPECT_EQ(out, "1\tFirst\t" + folder.Path() + "a.mp3\n2\tCaf\xC3\xA9\t" + folder.Path() + "b.mp3\n");
  EXPECT_NE(run(folder.Path() + "gone", out), 0);
  // A folder that cannot be listed is no album without songs.
  std::filesystem::create_directory(folder.Path() + "locked");
  std::filesystem::permissions(folder.Path() + "locked", std::filesystem::perms::owner_write |
                                                             std::filesystem::perms::owner_exec |
                                                             std::filesystem::perms::others_exec);
  EXPECT_EQ(run(folder.Path() + "locked", out), 1);
}
