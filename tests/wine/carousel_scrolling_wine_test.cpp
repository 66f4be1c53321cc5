// The carousel in the stand-in player: pointer, wheel and held button move it,
// seen in screenshots of the middle cover.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/library_files.h"
#include "player_host_run.h"
#include "raster/bmp_file.h"
#include "raster/picture_file.h"

using namespace tavio;
using namespace tavio::test;

namespace {

// Album i's plain cover colour; red tells the album (i < 128).
TColor32 CoverColor(int32_t i) { return Color32(2 * i, 60, 77); }

int32_t AlbumOfColor(TColor32 c) {
  if (GreenOf(c) != 60 || BlueOf(c) != 77 || RedOf(c) % 2 != 0) return -1;
  return static_cast<int32_t>(RedOf(c) / 2);
}

// A player folder whose plug-in folder holds count albums ("Album 000", ...)
// with small bitmap covers, and the settings of a scripted run.
std::string PlayerFolderWithLibrary(const std::string& tag, int32_t count) {
  const std::string folder = NewTempFolder(tag);
  const std::string plugins = folder + "Plugins\\";
  const std::string pluginFolder = plugins + "Tavio\\";
  CreateDirectoryA(plugins.c_str(), nullptr);
  CreateDirectoryA(pluginFolder.c_str(), nullptr);
  // Folder names repeat across runs (Wine reuses process ids): no stale shots.
  for (const char* shot : {"before.bmp", "back.bmp", "after.bmp"}) DeleteFileA((folder + shot).c_str());
  TOLSaveable albums, hidden;
  for (int32_t i = 0; i < count; ++i) {
    auto* album = new TAlbum;
    char title[16];
    std::snprintf(title, sizeof title, "Album %03d", i);
    album->Album = title;
    album->CoverFile = folder + "cover" + std::to_string(i) + ".bmp";
    TBitmap32 cover(64, 64);
    cover.Clear(CoverColor(i));
    SaveBmpFile(cover, album->CoverFile);
    albums.Add(album);
  }
  SaveLibraryFiles(pluginFolder, albums, hidden);
  WriteScriptedRunSettings(20);
  return folder;
}

// The frame's client area is 1120 x 420, so the 1110 x 370 view sits at (5, 25).
constexpr int kViewLeft = 5, kViewTop = 25;

// The album the middle cover of a screenshot shows; -1 when none.
int32_t MiddleAlbum(const std::string& shotFile) {
  TBitmap32 shot;
  LoadFromFile(shot, shotFile);
  if (shot.Width() < kViewLeft + 1110 || shot.Height() < kViewTop + 370) return -2;
  return AlbumOfColor(shot.GetPixel(kViewLeft + 555, kViewTop + 150));
}

std::vector<std::string> Script(const std::string& folder, std::initializer_list<std::string> middle) {
  std::vector<std::string> script{"resize 1120 420", "wait 1000", "settle", "screenshot " + folder + "before.bmp"};
  script.insert(script.end(), middle);
  script.push_back("screenshot " + folder + "after.bmp");
  script.push_back("quit");
  return script;
}

}  // namespace

TEST(CarouselScrolling, PointerOverTheLeftStackBringsInThePreviousAlbums_Wine) {
  const std::string folder = PlayerFolderWithLibrary("left", 10);
  const auto run = RunPlayerHost(Script(folder, {"move 100 150", "wait 1500", "move 555 150", "settle"}), "",
                                 folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_EQ(MiddleAlbum(folder + "before.bmp"), 0);
  const int32_t after = MiddleAlbum(folder + "after.bmp");
  // A few animated steps (about a second each, the first maybe shorter) back from album 0.
  EXPECT_TRUE(after >= 6 && after <= 9) << after;
}

TEST(CarouselScrolling, OneWheelNotchIsOneStep_Wine) {
  const std::string folder = PlayerFolderWithLibrary("wheel", 10);
  const auto run = RunPlayerHost(
      Script(folder, {"wheel -120", "settle", "screenshot " + folder + "back.bmp", "wheel 120", "settle",
                      "wheel 120", "settle"}),
      "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_EQ(MiddleAlbum(folder + "before.bmp"), 0);
  EXPECT_EQ(MiddleAlbum(folder + "back.bmp"), 9);
  EXPECT_EQ(MiddleAlbum(folder + "after.bmp"), 1);
}

TEST(CarouselScrolling, HeldButtonScrollsManyAlbumsAtOnce_Wine) {
  const std::string folder = PlayerFolderWithLibrary("held", 100);
  const auto run = RunPlayerHost(Script(folder, {"press 100 150", "move 100 150", "wait 1000", "release 100 150",
                                                 "move 555 150", "settle"}),
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_EQ(MiddleAlbum(folder + "before.bmp"), 0);
  const int32_t after = MiddleAlbum(folder + "after.bmp");
  // Animated steps manage one or two albums a second; instant ones, one each
  // 20 ms timer tick, many more even on a slow machine.
  EXPECT_GE(after, 10);
  EXPECT_LE(after, 95);
}

TEST(CarouselScrolling, WheelNotchSentToTheFocusedFrameReachesTheView_Wine) {
  const std::string folder = PlayerFolderWithLibrary("framewheel", 10);
  PlayerHostProcess player(
      {"resize 1120 420", "wait 1000", "settle", "screenshot " + folder + "before.bmp", "wait 1000", "settle",
       "screenshot " + folder + "after.bmp", "quit"},
      "", folder);
  ASSERT_TRUE(player.WaitForPlayerWindow());
  for (int i = 0; i < 200 && GetFileAttributesA((folder + "before.bmp").c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
    Sleep(50);
  // The player's frame holds the focus while the view is used, so the wheel
  // arrives there, not at the view.
  const HWND frame = FindWindowA("PlayerHostFrame", nullptr);
  ASSERT_NE(frame, nullptr);
  PostMessageA(frame, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<short>(-120)), MAKELPARAM(300, 300));
  const auto run = player.Finish();
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_EQ(MiddleAlbum(folder + "before.bmp"), 0);
  EXPECT_EQ(MiddleAlbum(folder + "after.bmp"), 9);
}
