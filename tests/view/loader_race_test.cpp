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

void WritePictures(const std::string& folder) {
  for (int32_t i = 0; i < 4; ++i) {
    TBitmap32 picture(48 + 8 * i, 40);
    picture.Clear(AlbumColor(i));
    SaveJpegFile(picture, folder + std::to_string(i) + ".jpg");
  }
}

void AddAlbums(TOLSaveable& list, int32_t count, const std::string& folder) {
  for (int32_t i = 0; i < count; ++i) {
    TAlbum* album = PlainAlbum(i, 16);
    // Every fifth album has no picture and gets the default one.
    album->CoverFile = folder + (i % 5 == 4 ? "none" : std::to_string(i % 4)) + ".jpg";
    list.Add(album);
  }
}

// A small view over 240 shown and 40 hidden albums, stepping in two frames.
void SetUpRaceView(TMarquelle2& view, const std::string& folder) {
  view.Resize(330, 110);
  AddAlbums(view.Albums, 240, folder);
  AddAlbums(view.HiddenAlbums, 40, folder);
  view.AlbumCount = 240;
  view.StepCount = 2;
}

}  // namespace

TEST(LoaderRace, LoadersAndTheViewThreadNeverShareACoverUnlocked) {
  const TTempFolder temp;
  const std::string& folder = temp.Path();
  WritePictures(folder);
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  {
    TMarquelle2 view(platform, settings);
    SetUpRaceView(view, folder);
    view.CurrentIndex = 30;
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

// Beyond the budget the loaders release covers while the view's thread fills
// slots from them, steps (moving the middle the loaders chase) and re-sorts.
TEST(LoaderRace, BudgetReleasesNoCoverTheViewThreadIsUsing) {
  const TTempFolder temp;
  const std::string& folder = temp.Path();
  WritePictures(folder);
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  {
    TMarquelle2 view(platform, settings);
    SetUpRaceView(view, folder);
    const int64_t limit = 4 * TCoverBudget::kMegabyte;  // about fifty of these albums
    view.CoverBudget.SetLimit(limit);
    view.StartLoaders();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    for (int round = 0; std::chrono::steady_clock::now() < deadline; ++round) {
      platform.Pump();
      view.FillSlot(view.CurrentIndex + round % 9 - 4, view.SlotAt(round % 6));
      view.FastMode = round % 4 != 0;
      // Runs of eight steps one way, then three back: the middle keeps moving.
      if (round % 11 < 8)
        view.StepNext();
      else
        view.StepPrevious();
      view.TimerTick();
      if (round % 40 == 39) {
        TLoaderPause pause(view);
        view.Albums.Sort([](const TAlbum& a, const TAlbum& b) { return b.Album.compare(a.Album); });
      }
    }
    // At rest the loaders catch up: the middle's neighbours are prepared
    // and the covers stay within the budget.
    const auto settled = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool ready = false;
    while (!ready && std::chrono::steady_clock::now() < settled) {
      platform.Pump();
      view.TimerTick();
      ready = true;
      for (int32_t d = -TCoverBudget::kAlwaysKept; d <= TCoverBudget::kAlwaysKept; ++d)
        ready = ready && view.Albums.Items((view.CurrentIndex + d + 240) % 240)->CoverReady;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_TRUE(ready);
    EXPECT_LE(view.CoverBudget.PreparedBytes(), limit);
  }
  platform.Drop();
}
