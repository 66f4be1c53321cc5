// The playing album: asked of the player once a second, marked, shown on
// request and followed when the song changes.
#include <gtest/gtest.h>

#include "fake_view_platform.h"

using namespace tavio;
using namespace tavio::test;

namespace {

// Answers the playlist position and the entry's path, as the player does.
class TFakePlayer final : public TPlayerMessenger {
 public:
  TWindowHandle FindWindowOfClass(const std::string&) override {
    ++searches;
    return running ? 1 : 0;
  }
  intptr_t Send(TWindowHandle, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (message != kWmUser) return 0;
    if (lParam == kIpcGetListPos) return 0;
    if (lParam == kIpcGetPlaylistFile && wParam == 0) return file.empty() ? 0 : reinterpret_cast<intptr_t>(file.c_str());
    return 0;
  }

  bool running = true;
  std::string file;
  int searches = 0;
};

struct TPlayingFixture : TViewFixture {
  TPlayingFixture() : TViewFixture(10, 0) {
    for (int32_t i = 0; i < 10; ++i) view.Albums.Items(i)->CoverFile = "C:\\Music\\Album" + std::to_string(i) + "\\folder.jpg";
    view.Playing.UsePlayer(player);
  }
  // White pixels in the band just under the middle cover.
  int MarkPixels() {
    const TCarouselPlaces& p = view.Places;
    const int32_t top = static_cast<int32_t>(TMarquelle2::kCoverTop) + p.CoverSide;
    int count = 0;
    for (int32_t y = top; y < top + 20; ++y)
      for (int32_t x = p.CenterX + p.CoverSide / 2 - 10; x < p.CenterX + p.CoverSide / 2 + 10; ++x)
        if (view.FrameBuffer.GetPixel(x, y) == kOpaqueWhite) ++count;
    return count;
  }
  void Tick(int64_t ms) {
    platform.now += ms;
    view.TimerTick();
  }
  TFakePlayer player;
};

}  // namespace

TEST(PlayingAlbum, FoundByFolderMarkedAndBroughtToTheMiddle) {
  TPlayingFixture f;
  f.player.file = "c:\\music\\ALBUM4\\02 Second.mp3";  // another letter case, the same folder
  f.Tick(0);
  EXPECT_EQ(f.view.Playing.Index(), 4);
  EXPECT_EQ(f.view.CurrentIndex, 0);  // following is off
  EXPECT_EQ(f.MarkPixels(), 0);       // album 4 is not in the middle
  f.view.ShowPlayingAlbum();
  EXPECT_EQ(f.view.CurrentIndex, 4);
  EXPECT_GT(f.MarkPixels(), 0);

  f.player.file = "C:\\Elsewhere\\song.mp3";  // not in the library: no mark, nowhere to go
  f.Tick(TPlayingAlbum::kPollMs);
  EXPECT_EQ(f.view.Playing.Index(), -1);
  EXPECT_EQ(f.MarkPixels(), 0);
  f.view.ShowPlayingAlbum();
  EXPECT_EQ(f.view.CurrentIndex, 4);

  f.player.running = false;
  f.Tick(TPlayingAlbum::kPollMs);
  EXPECT_EQ(f.view.Playing.Index(), -1);
}

TEST(PlayingAlbum, AskedOnceASecondAndFollowedWhenTheSongChanges) {
  TPlayingFixture f;
  f.player.file = "C:\\Music\\Album2\\01.mp3";
  f.Tick(0);
  f.Tick(400);
  f.Tick(400);
  EXPECT_EQ(f.player.searches, 1);
  f.Tick(200);
  EXPECT_EQ(f.player.searches, 2);

  f.view.SetFollowPlaying(true);  // switching it on goes there at once
  EXPECT_EQ(f.settings.writtenFollow, 1);
  EXPECT_EQ(f.view.CurrentIndex, 2);
  f.view.JumpTo(8);
  f.Tick(TPlayingAlbum::kPollMs);
  EXPECT_EQ(f.view.CurrentIndex, 8);  // the same song: the user may look elsewhere
  f.player.file = "C:\\Music\\Album6\\01.mp3";
  f.Tick(TPlayingAlbum::kPollMs);
  EXPECT_EQ(f.view.CurrentIndex, 6);
}
