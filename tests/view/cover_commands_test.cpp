// The cover commands on a view without a window: a pasted or chosen picture
// becomes folder.jpg, shows in the middle slot and reaches Data.dat, and a
// failed write leaves the user's old cover file as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "fake_view_platform.h"
#include "library/library_files.h"
#include "library/library_scan.h"
#include "raster/bmp_file.h"
#include "raster/file_bytes.h"
#include "raster/jpeg_file.h"
#include "support/temp_folder.h"

using namespace tavio;
using namespace tavio::test;

namespace {

class TFakeCoverPicker : public TCoverPicker {
 public:
  TCoverPicture ClipboardBitmap() override { return clipboard; }
  TCoverPicture ChooseWebCover(const TAlbum& album) override {
    askedFor = album.Album;
    timerOnDuringDialog = platform->timerEnabled;
    return chosen;
  }
  std::vector<const TAlbum*> FindMissingCovers(const std::vector<TAlbum*>& albums,
                                               const std::function<void()>&) override {
    for (const TAlbum* album : albums) missing.push_back(album->Album);
    inertMeanwhile = view->Inert;
    timerOnDuringDialog = platform->timerEnabled;
    // The first is found, as the search would store it.
    albums[0]->CoverFile = FolderOf(albums[0]->CoverFile) + "found.bmp";
    SaveBmpFile(TBitmap32(16, 16), albums[0]->CoverFile);
    return {albums[0]};
  }
  TCoverPicture clipboard, chosen;
  std::string askedFor;
  std::vector<std::string> missing;
  bool inertMeanwhile = false;
  TMarquelle2* view = nullptr;
  bool timerOnDuringDialog = true;
  TFakeViewPlatform* platform = nullptr;
};

TBitmap32 Plain(int32_t w, int32_t h, TColor32 color) {
  TBitmap32 b(w, h);
  b.Clear(color);
  return b;
}

// Album 1 in the middle, its folder a fresh temporary folder with front.bmp.
struct TCoverFixture : TViewFixture {
  TCoverFixture() : TViewFixture(3, 1) {
    view.PluginFolder = temp.Path();
    view.Albums.Items(1)->CoverFile = temp.Path() + "front.bmp";
    SaveBmpFile(Plain(8, 8, Color32(1, 2, 3)), temp.Path() + "front.bmp");
    source.platform = &platform;
    source.view = &view;
    view.Covers.Source = &source;
  }
  TColor32 MiddlePixel() { return view.SlotAt(3).GetPixel(10, 10); }

  TTempFolder temp;
  TFakeCoverPicker source;
};

bool Near(TColor32 a, TColor32 b) {
  const auto d = [](uint32_t x, uint32_t y) { return x > y ? x - y : y - x; };
  return d(RedOf(a), RedOf(b)) < 8 && d(GreenOf(a), GreenOf(b)) < 8 && d(BlueOf(a), BlueOf(b)) < 8;
}

}  // namespace

TEST(CoverCommands, PastedBitmapBecomesFolderJpgShownAndSaved) {
  TCoverFixture f;
  const std::string front = f.temp.Read("front.bmp");
  f.source.clipboard.Bitmap = Plain(200, 150, Color32(250, 20, 20));
  f.view.PasteCover();
  const std::string jpg = f.temp.Path() + "folder.jpg";
  ASSERT_TRUE(f.temp.Exists("folder.jpg"));
  for (const auto& entry : std::filesystem::directory_iterator(f.temp.Path()))
    EXPECT_NE(entry.path().extension(), ".tmp") << "a temporary file was left behind";
  EXPECT_EQ(f.temp.Read("front.bmp"), front);
  const std::vector<uint8_t> bytes = ReadFileBytes(jpg);
  EXPECT_EQ(DecodeJpeg(bytes.data(), bytes.size()).Width(), 200);
  EXPECT_EQ(f.view.Albums.Items(1)->CoverFile, jpg);
  EXPECT_EQ(f.view.Albums.Items(1)->Cover.Width(), 200) << "the cover keeps the file's own size";
  EXPECT_TRUE(Near(f.MiddlePixel(), Color32(250, 20, 20)));
  EXPECT_TRUE(Near(f.view.FrameBuffer.GetPixel(555, 150), Color32(250, 20, 20))) << std::hex << f.view.FrameBuffer.GetPixel(555, 150);
  TOLSaveable albums, hidden;
  LoadLibraryFiles(f.temp.Path(), albums, hidden);
  ASSERT_EQ(albums.Count(), 3);
  EXPECT_EQ(albums.Items(1)->CoverFile, jpg);
}

TEST(CoverCommands, ChosenJpegIsStoredByteForByteWithTheTimerOffMeanwhile) {
  TCoverFixture f;
  f.source.chosen.Jpeg = EncodeJpeg(Plain(40, 40, Color32(20, 20, 250)), 55);
  f.view.LoadCover();
  EXPECT_EQ(f.source.askedFor, "Album 1");
  EXPECT_FALSE(f.source.timerOnDuringDialog);
  EXPECT_TRUE(f.platform.timerEnabled);
  EXPECT_EQ(ReadFileBytes(f.temp.Path() + "folder.jpg"), f.source.chosen.Jpeg);
  EXPECT_TRUE(Near(f.MiddlePixel(), Color32(20, 20, 250)));
}

TEST(CoverCommands, FindMissingCoversAsksOnlyForDefaultCoversAndPreparesTheFoundOnesAfresh) {
  TCoverFixture f;
  for (const int32_t i : {0, 2}) f.view.Albums.Items(i)->CoverFile = f.temp.Path() + kNoPictureName;
  // As in a running view, every cover is prepared already.
  for (int32_t i = 0; i < 3; ++i) f.view.Albums.Items(i)->CoverReady = true;
  f.view.FindMissingCovers();
  EXPECT_EQ(f.source.missing, (std::vector<std::string>{"Album 0", "Album 2"}));
  EXPECT_TRUE(f.source.inertMeanwhile);
  EXPECT_FALSE(f.source.timerOnDuringDialog);
  EXPECT_FALSE(f.view.Inert);
  EXPECT_TRUE(f.platform.timerEnabled);
  f.view.StopLoaders();
  EXPECT_NE(f.view.Albums.Items(0)->Cover.GetPixel(10, 10), AlbumColor(0)) << "the old cover was shown on";
  EXPECT_EQ(f.view.Albums.Items(2)->Cover.GetPixel(10, 10), AlbumColor(2));
}

TEST(CoverCommands, NothingHappensWithoutAPicture) {
  TCoverFixture f;
  f.view.PasteCover();
  f.view.LoadCover();
  EXPECT_FALSE(f.temp.Exists("folder.jpg"));
  EXPECT_FALSE(f.temp.Exists("Data.dat"));
  EXPECT_EQ(f.view.Albums.Items(1)->CoverFile, f.temp.Path() + "front.bmp");
  EXPECT_TRUE(f.platform.timerEnabled) << "the timer comes back after a dialog without a choice";
}

TEST(CoverCommands, FailedWriteKeepsTheOldFolderJpgAndRaises) {
  TCoverFixture f;
  // A folder with a file in it where folder.jpg goes makes the write fail
  // as a full disk would.
  std::filesystem::create_directory(f.temp.Path() + "folder.jpg");
  f.temp.Write("folder.jpg/old cover", "old cover");
  f.source.clipboard.Bitmap = Plain(30, 30, Color32(9, 9, 9));
  const TColor32 before = f.MiddlePixel();
  EXPECT_ANY_THROW(f.view.PasteCover());
  EXPECT_EQ(f.temp.Read("folder.jpg/old cover"), "old cover");
  EXPECT_EQ(f.MiddlePixel(), before);
  EXPECT_FALSE(f.temp.Exists("Data.dat"));
}
