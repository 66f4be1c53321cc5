#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_view_platform.h"
#include "support/temp_folder.h"
#include "library/library_files.h"

using namespace tavio;
using namespace tavio::test;

namespace {

// Pumps the view's posted tasks until condition holds (10 s at most).
bool PumpUntil(TFakeViewPlatform& platform, const std::function<bool()>& condition) {
  for (int i = 0; i < 2000; ++i) {
    platform.Pump();
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

// A Data.dat of count albums whose cover files do not exist.
void WriteLibrary(const std::string& folder, int32_t count) {
  TOLSaveable albums, hidden;
  for (int32_t i = 0; i < count; ++i) {
    auto* album = new TAlbum;
    album->Album = "Album " + std::string(1, static_cast<char>('A' + i));
    album->CoverFile = folder + "none" + std::to_string(i) + ".jpg";
    albums.Add(album);
  }
  SaveLibraryFiles(folder, albums, hidden);
}

}  // namespace

TEST(ViewLoaders, OpenedLibraryGetsItsCoversAndOneRefill) {
  const TTempFolder temp;
  const std::string& folder = temp.Path();
  WriteLibrary(folder, 10);
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  settings.values.PluginFolder = folder;
  settings.values.CurrentIndex = 13;  // 13 mod 10
  {
    TMarquelle2 view(platform, settings);
    platform.frameBuffer = &view.FrameBuffer;
    view.Resize(1110, 370);
    view.Start();
    EXPECT_EQ(view.AlbumCount, 10);
    EXPECT_EQ(view.CurrentIndex, 3);
    ASSERT_TRUE(view.ForwardLoader && view.BackwardLoader && view.HiddenLoader);
    ASSERT_TRUE(PumpUntil(platform, [&] { return view.MainLoadersDone && view.HiddenLoaderDone; }));
    ASSERT_TRUE(PumpUntil(platform, [&] { return platform.timerEnabled; }));  // the refill ran
    for (int32_t i = 0; i < 10; ++i) EXPECT_TRUE(view.Albums.Items(i)->CoverReady);
    // Every slot now holds a default cover with its mirror.
    for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(view.SlotAt(k).Height(), 400) << k;
    view.TimerTick();
    EXPECT_FALSE(view.ForwardLoader || view.BackwardLoader || view.HiddenLoader);
  }
  EXPECT_EQ(settings.writtenIndex, 3);
}

TEST(ViewLoaders, PauseStopsEveryLoaderAndResumesOnlyUnfinishedOnes) {
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  TMarquelle2 view(platform, settings);
  for (int32_t i = 0; i < 200; ++i) view.Albums.Add(PlainAlbum(i, 8));
  view.AlbumCount = 200;
  {
    view.StartLoaders();
    TLoaderPause pause(view);
    EXPECT_FALSE(view.ForwardLoader || view.BackwardLoader || view.HiddenLoader);
    // Nothing claims an album while the pause lasts.
    int claimed = 0;
    for (int32_t i = 0; i < 200; ++i) claimed += view.Albums.Items(i)->CoverReady ? 1 : 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    int claimedLater = 0;
    for (int32_t i = 0; i < 200; ++i) claimedLater += view.Albums.Items(i)->CoverReady ? 1 : 0;
    EXPECT_EQ(claimed, claimedLater);
    view.Albums.Sort([](const TAlbum& a, const TAlbum& b) { return b.Album.compare(a.Album); });
  }
  ASSERT_TRUE(PumpUntil(platform, [&] { return view.MainLoadersDone && view.HiddenLoaderDone; }));
  for (int32_t i = 0; i < 200; ++i) EXPECT_TRUE(view.Albums.Items(i)->CoverReady) << i;
  view.TimerTick();
  {
    TLoaderPause pause(view);
  }
  EXPECT_FALSE(view.ForwardLoader || view.BackwardLoader || view.HiddenLoader);
}

TEST(ViewLoaders, DestroyWaitsForLoadersInTheMiddleOfTheirWalk) {
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  for (int round = 0; round < 5; ++round) {
    auto view = std::make_unique<TMarquelle2>(platform, settings);
    for (int32_t i = 0; i < 300; ++i) view->Albums.Add(PlainAlbum(i, 4));
    for (int32_t i = 0; i < 100; ++i) view->HiddenAlbums.Add(PlainAlbum(i, 4));
    view->AlbumCount = 300;
    view->StartLoaders();
    std::this_thread::sleep_for(std::chrono::milliseconds(round));
    view.reset();  // ASan reports any loader still walking the freed lists
    platform.Drop();  // as the window drops the requests of a destroyed view
  }
}

// One refill at the fourth album of the forward walk used to be all: a cover
// the backward loader handed over after it stayed a white square on screen.
TEST(ViewLoaders, CoverArrivingAfterTheFirstRefillIsDrawn) {
  const TTempFolder temp;
  const std::string& folder = temp.Path();
  WriteLibrary(folder, 12);
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  settings.values.PluginFolder = folder;
  TMarquelle2 view(platform, settings);
  platform.frameBuffer = &view.FrameBuffer;
  // The backward loader's covers (shown left of the middle) wait until the
  // forward loader's refill has been drawn.
  std::atomic<bool> firstRefillDrawn{false};
  view.CoverPreparation = [&](TAlbum& album) {
    const bool leftOfMiddle = album.Album >= "Album J";  // albums 9, 10, 11
    while (leftOfMiddle && !firstRefillDrawn) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    PrepareAndHandOverCover(album);
  };
  view.Resize(1110, 370);
  view.Start();
  ASSERT_TRUE(PumpUntil(platform, [&] { return platform.timerEnabled; }));
  EXPECT_EQ(view.SlotAt(0).Height(), 333);  // album 9 is not there yet
  firstRefillDrawn = true;
  ASSERT_TRUE(PumpUntil(platform, [&] {
    if (!view.MainLoadersDone) return false;
    for (int32_t k = 0; k < 6; ++k)
      if (view.SlotAt(k).Height() != 400) return false;
    return true;
  }));
}
