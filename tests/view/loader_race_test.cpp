// The three loaders against the view's thread filling slots, stepping,
// refilling and pausing them for a re-sort. Also built with ThreadSanitizer
// (test_view_tsan), which fails the run on any data race.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_view_platform.h"
#include "support/temp_folder.h"
#include "raster/jpeg_file.h"

using namespace tavio;
using namespace tavio::test;

namespace {

}  // namespace

TEST(LoaderRace, LoadersAndTheViewThreadNeverShareACoverUnlocked) {
  const TTempFolder temp;
  const std::string& folder = temp.Path();
  for (int32_t i = 0; i < 4; ++i) {
    TBitmap32 picture(48 + 8 * i, 40);
    picture.Clear(AlbumColor(i));
    SaveJpegFile(picture, folder + std::to_string(i) + ".jpg");
  }
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  {
    TMarquelle2 view(platform, settings);
    view.Resize(330, 110);
    const auto addAlbums = [&](TOLSaveable& list, int32_t count) {
      for (int32_t i = 0; i < count; ++i) {
        TAlbum* album = PlainAlbum(i, 16);
        // Every fifth album has no picture and gets the default one.
        album->CoverFile = folder + (i % 5 == 4 ? "none" : std::to_string(i % 4)) + ".jpg";
        list.Add(album);
      }
    };
    addAlbums(view.Albums, 240);
    addAlbums(view.HiddenAlbums, 40);
    view.AlbumCount = 240;
    view.CurrentIndex = 30;
    view.StepCount = 2;
    view.StartLoaders();
    int round = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!(view.MainLoadersDone && view.HiddenLoaderDone) && std::chrono::steady_clock::now() < deadline) {
      platform.Pump();
      view.FillSlot(round * 7, view.SlotAt(round % 6));
      view.FastMode = round % 3 != 0;
      if (round % 2 == 0)
        view.StepNext();
      else
        view.StepPrevious();
      if (round % 10 == 5) {
        TLoaderPause pause(view);
        view.Albums.Sort([](const TAlbum& a, const TAlbum& b) { return a.CoverFile.compare(b.CoverFile); });
      }
      ++round;
    }
    ASSERT_TRUE(view.MainLoadersDone && view.HiddenLoaderDone);
    view.TimerTick();
    platform.Pump();
    for (int32_t i = 0; i < 240; ++i) EXPECT_TRUE(view.Albums.Items(i)->CoverReady) << i;
    for (int32_t i = 0; i < 40; ++i) EXPECT_NE(view.HiddenAlbums.Items(i)->Cover.Width(), 16) << i;
  }
  platform.Drop();
}
