// The tool's scan over the demo library: the library the demo shows must come
// out whole in both modes, and with Wine's paths when asked.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "library/library_scan_files.h"
#include "library/ol_saveable.h"
#include "raster/picture_file.h"

using namespace std::string_literals;

namespace {

namespace fs = std::filesystem;

int RunTool(const std::string& args) {
  const std::string command = std::string(std::getenv("TAVIO_TOOL")) + " " + args + " >/dev/null 2>&1";
  return WEXITSTATUS(std::system(command.c_str()));
}

struct TDemoLibrary {
  TDemoLibrary() {
    root = fs::path(::testing::TempDir()) / "tavio_scan_command";
    fs::remove_all(root);
    library = (root / "library").string();
  }
  ~TDemoLibrary() { fs::remove_all(root); }
  fs::path root;
  std::string library;
};

}  // namespace

TEST(ScanCommand, DemoLibraryScansWholeInBothModesAndWithWinePaths) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !fs::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  TDemoLibrary demo;
  ASSERT_EQ(RunTool("demo-library '" + demo.library + "'"), 0);

  struct TCase {
    const char* options;
    int32_t albums;
  };
  // 34 albums, every seventh without a picture.
  for (const TCase& c : {TCase{"", 30}, TCase{"--folders", 34}, TCase{"--folders --windows-paths", 34},
                         TCase{"--windows-prefix Z:", 30}}) {
    const std::string out = (demo.root / "out").string();
    fs::remove_all(out);
    ASSERT_EQ(RunTool(std::string("scan ") + c.options + " --out '" + out + "' '" + demo.library + "'"), 0) << c.options;
    tavio::TOLSaveable albums;
    albums.LoadFromFile(out + "/Data.dat");
    ASSERT_EQ(albums.Count(), c.albums) << c.options;
    const bool winePaths = std::string(c.options).find("--windows") != std::string::npos;
    int32_t withoutPicture = 0;
    for (int32_t i = 0; i < albums.Count(); ++i) {
      const tavio::TAlbum& a = *albums.Items(i);
      EXPECT_FALSE(a.Artist.empty() || a.Album.empty() || a.Year == 0) << a.CoverFile;
      if (a.CoverFile.ends_with("xx.xxx")) ++withoutPicture;
      if (winePaths) {
        EXPECT_TRUE(a.CoverFile.starts_with("Z:\\")) << a.CoverFile;
        EXPECT_EQ(a.CoverFile.find('/'), std::string::npos) << a.CoverFile;
      } else {
        EXPECT_TRUE(fs::exists(a.CoverFile) || a.CoverFile.ends_with("/xx.xxx")) << a.CoverFile;
      }
    }
    EXPECT_EQ(withoutPicture, c.albums - 30) << c.options;
  }
}

// The library a user has today: an album whose cover is only embedded (a
// back cover before the front), one with only a PNG, one with folder.jpg
// and back.jpg, one with a broken JPEG. Four albums, each with its own cover.
TEST(ScanCommand, EveryKindOfCoverMakesOneAlbumEach) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !fs::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  using namespace tavio::test;
  TDemoLibrary demo;
  const fs::path music = demo.library;
  WriteBytes(music / "Embedded" / "01.mp3", Mp3WithTags("A", "Embedded", "2001", "Pop",
                                                        PictureFrame(4, JpegBytes(8, 8)) + PictureFrame(3, JpegBytes(48, 32))));
  WriteBytes(music / "Png" / "01.mp3", Mp3WithTags("A", "Png", "2001", "Pop"));
  WriteBytes(music / "Png" / "front.png",
             "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00\x04\x08\x02"
             "\x00\x00\x00\x26\x93\x09\x29\x00\x00\x00\x10\x49\x44\x41\x54\x78\x9C\x63\x50\x48\x38\x00\x47\x0C\xC4\x71"
             "\x00\xFE\x43\x14\x01\xEC\x18\x9D\x43\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82"s);
  WriteBytes(music / "Stored" / "01.mp3", Mp3WithTags("A", "Stored", "2001", "Pop"));
  WriteJpeg(music / "Stored" / "folder.jpg", 16, 16);
  WriteJpeg(music / "Stored" / "back.jpg", 8, 8);
  WriteBytes(music / "Broken" / "01.mp3", Mp3WithTags("A", "Broken", "2001", "Pop"));
  WriteBrokenPicture(music / "Broken" / "folder.jpg");
  const std::string out = (demo.root / "out").string();
  ASSERT_EQ(RunTool("scan --masks '*.jpg;*.png;*.bmp' --out '" + out + "' '" + demo.library + "'"), 0);
  tavio::TOLSaveable albums;
  albums.LoadFromFile(out + "/Data.dat");
  std::map<std::string, std::string> covers;
  for (int32_t i = 0; i < albums.Count(); ++i) covers[albums.Items(i)->Album] = albums.Items(i)->CoverFile;
  EXPECT_EQ(covers, (std::map<std::string, std::string>{{"Broken", (music / "Broken" / "folder.jpg").string()},
                                                        {"Embedded", (music / "Embedded" / "01.mp3").string()},
                                                        {"Png", (music / "Png" / "front.png").string()},
                                                        {"Stored", (music / "Stored" / "folder.jpg").string()}}));

  const std::string shown = (demo.root / "embedded.bmp").string();
  ASSERT_EQ(RunTool("prepare-cover '" + covers["Embedded"] + "' '" + shown + "'"), 0);
  tavio::TBitmap32 front;
  tavio::LoadFromFile(front, shown);
  EXPECT_EQ(front.Width(), 48) << "the front cover, not the back cover before it";
}
