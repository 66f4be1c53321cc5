#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "fake_view_platform.h"
#include "support/temp_folder.h"
#include "library/library_files.h"
#include "raster/file_bytes.h"
#include "raster/jpeg_file.h"

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
    // Every slot comes to hold a default cover with its mirror. (The first
    // loader to end its walk reports the list done while the other may still
    // be handing over its last cover, so the slots may take a moment more.)
    const auto allSlotsFilled = [&] {
      for (int32_t k = 0; k < 6; ++k)
        if (view.SlotAt(k).Height() != 400) return false;
      return true;
    };
    EXPECT_TRUE(PumpUntil(platform, allSlotsFilled));
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

namespace {

// count albums over four 40 x 40 pictures, added straight to the view.
void AddPictureAlbums(TMarquelle2& view, const std::string& folder, int32_t count) {
  for (int32_t k = 0; k < 4; ++k) {
    TBitmap32 picture(40, 40);
    picture.Clear(AlbumColor(k));
    SaveJpegFile(picture, folder + std::to_string(k) + ".jpg");
  }
  for (int32_t i = 0; i < count; ++i) {
    auto* album = new TAlbum;
    album->Album = "Album " + std::to_string(i);
    album->CoverFile = folder + std::to_string(i % 4) + ".jpg";
    view.Albums.Add(album);
  }
  view.AlbumCount = count;
}

bool PreparedAreExactly(const TMarquelle2& view, int32_t middle, int32_t reach) {
  for (int32_t i = 0; i < view.AlbumCount; ++i) {
    const int32_t d = std::min((i - middle + view.AlbumCount) % view.AlbumCount,
                               (middle - i + view.AlbumCount) % view.AlbumCount);
    if (view.Albums.Items(i)->CoverReady != (d <= reach)) return false;
  }
  return true;
}

}  // namespace

TEST(ViewLoaders, BudgetKeepsTheCoversAroundTheMiddleAsTheCarouselMoves) {
  const TTempFolder temp;
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  TMarquelle2 view(platform, settings);
  platform.frameBuffer = &view.FrameBuffer;
  AddPictureAlbums(view, temp.Path(), 40);
  view.CurrentIndex = 38;
  view.Resize(330, 110);
  const int64_t coverBytes = 40 * 40 * 4;
  view.CoverBudget.SetLimit(15 * coverBytes);  // the middle and seven each side
  view.StartLoaders();
  ASSERT_TRUE(PumpUntil(platform, [&] { return PreparedAreExactly(view, 38, 7); }));
  view.FastMode = true;
  for (int i = 0; i < 12; ++i) view.StepNext();  // across the end of the list
  EXPECT_EQ(view.CurrentIndex, 10);
  ASSERT_TRUE(PumpUntil(platform, [&] {
    view.TimerTick();
    if (!PreparedAreExactly(view, 10, 7)) return false;
    // Every slot shows its picture again, none the white square.
    for (int32_t k = 0; k < 6; ++k)
      if (view.SlotAt(k).Height() != 53) return false;
    return true;
  }));
  EXPECT_LE(view.CoverBudget.PreparedBytes(), 15 * coverBytes);
  EXPECT_FALSE(view.MainLoadersDone);  // they wait for the middle to move
}

TEST(ViewLoaders, LoadersFinishedBeforeACoverWasReleasedStartAgain) {
  const TTempFolder temp;
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  TMarquelle2 view(platform, settings);
  platform.frameBuffer = &view.FrameBuffer;
  AddPictureAlbums(view, temp.Path(), 20);
  view.Resize(330, 110);
  view.StartLoaders();
  ASSERT_TRUE(PumpUntil(platform, [&] { return view.MainLoadersDone.load(); }));
  view.TimerTick();
  EXPECT_FALSE(view.ForwardLoader || view.BackwardLoader);
  // A smaller budget (a larger cover saved, say) leaves albums unprepared
  // with no loader running; moving the middle brings them back.
  view.CoverBudget.SetLimit(11 * 40 * 40 * 4);
  ASSERT_TRUE(PreparedAreExactly(view, 0, 5));
  view.FastMode = true;
  view.StepPrevious();
  view.StepPrevious();
  ASSERT_TRUE(PumpUntil(platform, [&] {
    view.TimerTick();
    return PreparedAreExactly(view, 18, 5);
  }));
}

// A scan leaves an album whose picture would not load unprepared; with no
// cover budget nothing restarted the loaders, and it stayed a white square.
TEST(ViewLoaders, AlbumLeftUnpreparedGetsTheDefaultCoverWhenLoadersResume) {
  const TTempFolder temp;
  WriteFileBytes(temp.Path() + "broken.jpg", {0xFF, 0xD8, 0xFF, 0x00});
  for (const int64_t limit : {int64_t{0}, 64 * TCoverBudget::kMegabyte}) {
    TFakeViewPlatform platform;
    TFakeViewSettings settings;
    TMarquelle2 view(platform, settings);
    view.CoverBudget.SetLimit(limit);
    for (int32_t i = 0; i < 6; ++i) {
      view.Albums.Add(PlainAlbum(i, 8));
      view.Albums.Items(i)->CoverReady = i != 4;
    }
    view.Albums.Items(4)->CoverFile = temp.Path() + "broken.jpg";
    view.AlbumCount = 6;
    { TLoaderPause pause(view); }
    TAlbum& broken = *view.Albums.Items(4);
    EXPECT_TRUE(PumpUntil(platform, [&] {
      std::lock_guard<std::mutex> lock(broken.CoverLock);
      return broken.Cover.Width() == 300;
    })) << limit;
    EXPECT_EQ(view.Albums.Items(3)->Cover.Width(), 8) << limit;
  }
}
