// Finding albums in the stand-in player: keys, type-to-jump, wheel bursts and
// the playing album, seen in screenshots of the middle cover.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/library_files.h"
#include "library/library_scan_files.h"
#include "player_host_run.h"
#include "raster/bmp_file.h"
#include "raster/picture_file.h"
#include "settings/search_paths.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

using namespace tavio;
using namespace tavio::test;

namespace {

TColor32 CoverColor(int32_t i) { return Color32(2 * i, 90, 33); }

int32_t AlbumOfColor(TColor32 c) {
  if (GreenOf(c) != 90 || BlueOf(c) != 33 || RedOf(c) % 2 != 0) return -1;
  return static_cast<int32_t>(RedOf(c) / 2);
}

// count albums "Album 000", ... each in a folder of its own ("a<i>\"), with
// the given titles replacing the first ones; the settings of a scripted run.
std::string PlayerFolderWithLibrary(const std::string& tag, int32_t count,
                                    const std::vector<std::string>& titles = {}) {
  const std::string folder = NewTempFolder(tag);
  const std::string pluginFolder = folder + "Plugins\\Tavio\\";
  CreateDirectoryA((folder + "Plugins\\").c_str(), nullptr);
  CreateDirectoryA(pluginFolder.c_str(), nullptr);
  TOLSaveable albums, hidden;
  for (int32_t i = 0; i < count; ++i) {
    auto* album = new TAlbum;
    char title[16];
    std::snprintf(title, sizeof title, "Album %03d", i);
    album->Album = i < static_cast<int32_t>(titles.size()) ? titles[i] : title;
    const std::string albumFolder = folder + "a" + std::to_string(i) + "\\";
    CreateDirectoryA(albumFolder.c_str(), nullptr);
    album->CoverFile = albumFolder + "cover.bmp";
    TBitmap32 cover(64, 64);
    cover.Clear(CoverColor(i));
    SaveBmpFile(cover, album->CoverFile);
    albums.Add(album);
  }
  SaveLibraryFiles(pluginFolder, albums, hidden);
  WriteScriptedRunSettings(20);
  return folder;
}

// The 1110 x 370 view sits at (5, 25) of the 1120 x 420 client area.
constexpr int kViewLeft = 5, kViewTop = 25;

TBitmap32 Shot(const std::string& file) {
  TBitmap32 shot;
  LoadFromFile(shot, file);
  return shot;
}

int32_t MiddleAlbum(const std::string& shotFile) {
  const TBitmap32 shot = Shot(shotFile);
  if (shot.Width() < kViewLeft + 1110 || shot.Height() < kViewTop + 370) return -2;
  return AlbumOfColor(shot.GetPixel(kViewLeft + 555, kViewTop + 150));
}

// Script lines that take shots name.bmp in folder after the carousel settles.
std::vector<std::string> Settled(const std::string& folder, const std::string& name) {
  return {"settle", "screenshot " + folder + name + ".bmp"};
}

std::vector<std::string> Script(const std::vector<std::vector<std::string>>& parts) {
  std::vector<std::string> script{"resize 1120 420", "wait 1000", "settle"};
  for (const auto& part : parts) script.insert(script.end(), part.begin(), part.end());
  script.push_back("quit");
  return script;
}

}  // namespace

TEST(Navigation, KeysStepOrJumpOnceTheViewIsClicked_Wine) {
  const std::string folder = PlayerFolderWithLibrary("keys", 20);
  // A click in the bottom strip left of the panel does nothing but take the focus.
  const auto run = RunPlayerHost(Script({{"click 20 360", "key 39"}, Settled(folder, "right"),
                                         {"key 34"}, Settled(folder, "pagedown"),
                                         {"key 35"}, Settled(folder, "end"),
                                         {"key 36"}, Settled(folder, "home"),
                                         {"key 33"}, Settled(folder, "pageup"),
                                         {"key 37"}, Settled(folder, "left")}),
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_EQ(MiddleAlbum(folder + "right.bmp"), 1);
  EXPECT_EQ(MiddleAlbum(folder + "pagedown.bmp"), 6);
  EXPECT_EQ(MiddleAlbum(folder + "end.bmp"), 19);
  EXPECT_EQ(MiddleAlbum(folder + "home.bmp"), 0);
  EXPECT_EQ(MiddleAlbum(folder + "pageup.bmp"), 15);
  EXPECT_EQ(MiddleAlbum(folder + "left.bmp"), 14);
}

TEST(Navigation, TypedTextJumpsToTheFirstAlbumStartingWithIt_Wine) {
  const std::string folder =
      PlayerFolderWithLibrary("type", 12, {"Zoo", "Moon", "zebra crossing", "Zeitgeist", "Abba"});
  const auto run = RunPlayerHost(Script({{"click 20 360", "type ze"}, Settled(folder, "ze"),
                                         {"wait 1600", "type zo"}, Settled(folder, "zo"),
                                         {"wait 1600", "type q"}, Settled(folder, "q")}),
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  // Sorted by title, case ignored: ..., "zebra crossing", "Zeitgeist", "Zoo".
  EXPECT_EQ(MiddleAlbum(folder + "ze.bmp"), 2);
  EXPECT_EQ(MiddleAlbum(folder + "zo.bmp"), 0);
  EXPECT_EQ(MiddleAlbum(folder + "q.bmp"), 0);  // no album starts with "q": nothing moves
}

TEST(Navigation, FiveWheelNotchesInABurstMoveFiveAlbums_Wine) {
  const std::string folder = PlayerFolderWithLibrary("burst", 20);
  const auto run = RunPlayerHost(
      Script({{"wheel 120", "wheel 120", "wheel 120", "wheel 120", "wheel 120"}, Settled(folder, "after")}), "",
      folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_EQ(MiddleAlbum(folder + "after.bmp"), 5);
}

TEST(Navigation, PlayingAlbumIsMarkedAndShownFromTheMenu_Wine) {
  const std::string folder = PlayerFolderWithLibrary("playing", 20);
  const std::string song = folder + "a12\\01 Song.mp3";
  const auto run = RunPlayerHost(Script({{"wait 1500"}, Settled(folder, "before"),
                                         {"rclick 555 150", "menu Show playing album"}, Settled(folder, "shown"),
                                         {"play " + folder + "a3\\02.mp3", "rclick 555 150",
                                          "menu Follow the playing album", "wait 2500"},
                                         Settled(folder, "followed")}),
                                 "--playing-file \"" + song + "\"", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_EQ(MiddleAlbum(folder + "before.bmp"), 0);
  EXPECT_EQ(MiddleAlbum(folder + "shown.bmp"), 12);
  EXPECT_EQ(MiddleAlbum(folder + "followed.bmp"), 3);
  // The mark: white under the middle cover once it shows the playing album.
  const auto markPixels = [&](const std::string& name) {
    const TBitmap32 shot = Shot(folder + name + ".bmp");
    int count = 0;
    for (int y = kViewTop + 20 + 254; y < kViewTop + 20 + 254 + 20; ++y)
      for (int x = kViewLeft + 555 - 12; x < kViewLeft + 555 + 12; ++x)
        if ((shot.GetPixel(x, y) & 0xFFFFFF) == 0xFFFFFF) ++count;
    return count;
  };
  EXPECT_EQ(markPixels("before"), 0);
  EXPECT_GT(markPixels("shown"), 10);
}

// A scan from the settings dialog makes new records and sorts them again:
// the album in the middle before is the one in the middle after.
TEST(Navigation, MiddleAlbumStaysAfterAScanInTheSettingsDialog_Wine) {
  const std::string folder = NewTempFolder("stay");
  const std::string pluginFolder = folder + "Plugins\\Tavio\\";
  CreateDirectoryA((folder + "Plugins\\").c_str(), nullptr);
  CreateDirectoryA(pluginFolder.c_str(), nullptr);
  const std::string music = folder + "Music";
  TOLSaveable albums, hidden;
  for (int i = 0; i < 8; ++i) {
    const std::string albumFolder = music + "\\Album" + std::to_string(i) + "\\";
    WriteBytes(albumFolder + "01.mp3", Mp3WithTags("Artist", "Album " + std::to_string(i), "2001", "Pop"));
    WriteJpeg(albumFolder + "folder.jpg", 64, 64);
    auto* album = new TAlbum;
    album->Album = "Album " + std::to_string(i);
    album->CoverFile = albumFolder + "folder.jpg";
    albums.Add(album);
  }
  SaveLibraryFiles(pluginFolder, albums, hidden);
  WriteScriptedRunSettings(20);
  WriteSearchPaths(*OpenSettingsStore(), {music});

  const auto run = RunPlayerHost(Script({{"click 20 360", "key 35", "settle", "config", "dialog-tab Library",
                                          "dialog-button Scan Directories ...", "dialog-button OK",
                                          "dialog-button Close", "settle"}}),
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Contains("message 8 albums found."));
  // The view writes its middle album when it ends.
  const int32_t index = OpenSettingsStore()->ReadInteger(settings::kSettings, settings::kCurrentIndex, -1);
  TOLSaveable saved, savedHidden;
  LoadLibraryFiles(pluginFolder, saved, savedHidden);
  ASSERT_EQ(saved.Count(), 8);
  ASSERT_TRUE(index >= 0 && index < 8) << index;
  EXPECT_EQ(saved.Items(index)->Album, "Album 7");
}
