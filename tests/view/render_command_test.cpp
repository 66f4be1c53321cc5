// tavio render, run as a program on a library written here.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "fake_view_platform.h"
#include "library/library_files.h"
#include "raster/bmp_file.h"
#include "raster/picture_file.h"

using namespace tavio;
using namespace tavio::test;

namespace {

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tool = std::getenv("TAVIO_TOOL");
    if (!tool) GTEST_SKIP() << "TAVIO_TOOL is not set (ctest sets it)";
    tool_ = tool;
    folder_ = (std::filesystem::temp_directory_path() /
               ("tavio_render_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
                  .string() +
              "/";
    std::filesystem::create_directories(folder_);
    // Seven albums sorted as written ("Album 0" .. "Album 6"); bitmaps keep
    // their colours exactly. Album 3 has no picture.
    TOLSaveable albums, hidden;
    for (int32_t i = 0; i < 7; ++i) {
      TAlbum* album = PlainAlbum(i);
      album->CoverFile = folder_ + "cover" + std::to_string(i) + ".bmp";
      if (i != 3) SaveBmpFile(album->Cover, album->CoverFile);
      albums.Add(album);
    }
    SaveLibraryFiles(folder_, albums, hidden);
  }
  void TearDown() override {
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

  int Render(const std::string& args, TBitmap32* frame) {
    const std::string out = folder_ + "frame.bmp";
    std::filesystem::remove(out);
    const int status = std::system((tool_ + " render --data " + folder_ + " " + args + " --out " + out + " 2>/dev/null").c_str());
    if (frame && status == 0) LoadFromFile(*frame, out);
    return status;
  }

  std::string tool_;
  std::string folder_;
};

bool SameFrame(const TBitmap32& a, const TBitmap32& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Bits(), a.Bits() + a.Width() * a.Height(), b.Bits());
}

}  // namespace

TEST_F(RenderCommand, RestFrameShowsTheAlbumsAroundTheIndex) {
  TBitmap32 frame;
  ASSERT_EQ(Render("--size 1110x370 --index 5", &frame), 0);
  ASSERT_EQ(frame.Width(), 1110);
  ASSERT_EQ(frame.Height(), 370);
  EXPECT_EQ(AlbumShown(frame.GetPixel(555, 150), 7), 5);
  EXPECT_EQ(AlbumShown(frame.GetPixel(320, 150), 7), 4);
  EXPECT_EQ(AlbumShown(frame.GetPixel(750, 150), 7), 6);
  EXPECT_EQ(AlbumShown(frame.GetPixel(840, 150), 7), 0);
  // Album 3 has no picture: the default one, white at its top left.
  ASSERT_EQ(Render("--size 1110x370 --index 3", &frame), 0);
  EXPECT_EQ(frame.GetPixel(445, 45) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(RenderCommand, LastFrameOfAStepIsTheRestFrameItLeadsTo) {
  TBitmap32 rest, moving;
  ASSERT_EQ(Render("--size 654x218 --index 1", &rest), 0);
  ASSERT_EQ(Render("--size 654x218 --index 2 --frame 50 --direction previous --curve 0 1000000", &moving), 0);
  EXPECT_TRUE(SameFrame(rest, moving));
  // A step to the next album starts from the frame it leaves (k = N).
  ASSERT_EQ(Render("--size 654x218 --index 2", &rest), 0);
  ASSERT_EQ(Render("--size 654x218 --index 2 --frame 50 --direction next", &moving), 0);
  EXPECT_TRUE(SameFrame(rest, moving));
  ASSERT_EQ(Render("--size 654x218 --index 2 --frame 25 --direction next", &moving), 0);
  EXPECT_FALSE(SameFrame(rest, moving));
}

TEST_F(RenderCommand, MirrorAlphaOptionReachesTheMirror) {
  TBitmap32 dim, bright;
  ASSERT_EQ(Render("--size 1110x370 --alpha 40", &dim), 0);
  ASSERT_EQ(Render("--size 1110x370 --alpha 200", &bright), 0);
  // Just below the middle cover: its mirror.
  EXPECT_LT(GreenOf(dim.GetPixel(555, 20 + 254 + 10)), GreenOf(bright.GetPixel(555, 20 + 254 + 10)));
}

TEST_F(RenderCommand, BadArgumentsAndEmptyLibrariesFail) {
  EXPECT_NE(Render("--size 10", nullptr), 0);
  EXPECT_NE(Render("--size 100x100 --frame 3", nullptr), 0);
  EXPECT_NE(Render("--size 100x100 --frame 51 --direction next", nullptr), 0);
  std::filesystem::remove(folder_ + "Data.dat");
  EXPECT_NE(Render("--size 100x100", nullptr), 0);
}
