// A named pipe without a writer blocks whoever opens it for reading: the
// tool's commands must not open one called like a song or a cover.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// The command's exit status, 124 when it had to be killed.
int RunToolWithTimeout(const std::string& args) {
  const std::string command =
      "timeout -k 2 20 " + std::string(std::getenv("TAVIO_TOOL")) + " " + args + " >/dev/null 2>&1";
  return WEXITSTATUS(std::system(command.c_str()));
}

}  // namespace

TEST(NamedPipe, NoCommandWaitsOnAPipeCalledLikeASongOrACover) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !fs::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  const fs::path root = fs::path(::testing::TempDir()) / "tavio_named_pipe";
  fs::remove_all(root);
  const fs::path album = root / "music" / "Album";
  fs::create_directories(album);
  const std::string song = (album / "song.mp3").string();
  const std::string cover = (album / "folder.jpg").string();
  ASSERT_EQ(mkfifo(song.c_str(), 0600), 0);
  ASSERT_EQ(mkfifo(cover.c_str(), 0600), 0);
  const std::string music = "'" + (root / "music").string() + "'";
  const std::string out = "'" + (root / "plugin").string() + "'";

  EXPECT_EQ(RunToolWithTimeout("scan --out " + out + " " + music), 0);
  EXPECT_EQ(RunToolWithTimeout("scan --folders --out " + out + " " + music), 0);
  EXPECT_NE(RunToolWithTimeout("tags '" + song + "'"), 124);
  EXPECT_NE(RunToolWithTimeout("songs '" + album.string() + "'"), 124);
  EXPECT_EQ(RunToolWithTimeout("prepare-cover '" + cover + "' '" + (root / "x.bmp").string() + "'"), 1);
  EXPECT_EQ(RunToolWithTimeout("prepare-cover '" + song + "' '" + (root / "x.bmp").string() + "'"), 1);
  EXPECT_EQ(RunToolWithTimeout("list '" + song + "'"), 1);
  fs::remove_all(root);
}
