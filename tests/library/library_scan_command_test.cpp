// The tool's scan over the demo library: the library the demo shows must come
// out whole in both modes, and with Wine's paths when asked.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "library/ol_saveable.h"

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
