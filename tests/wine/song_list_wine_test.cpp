// The song list in the stand-in player: a click on the middle cover turns it
// over, the list plays a song or the album, stays on top while the carousel
// steps under it, and goes away when the pointer moves over a side stack.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "library/library_files.h"
#include "player_host_run.h"
#include "raster/bmp_file.h"
#include "raster/picture_file.h"
#include "view/song_grid_painter.h"

using namespace tavio;
using namespace tavio::test;

namespace {

TColor32 CoverColor(int32_t i) { return Color32(2 * i, 90, 33); }

// An ID3v2.3 tag with title and track, then a little "audio".
std::string TaggedSong(const std::string& title, int32_t track) {
  const auto frame = [](const std::string& id, const std::string& text) {
    const std::string data = std::string(1, '\0') + text;
    return id + std::string(3, '\0') + static_cast<char>(data.size()) + std::string(2, '\0') + data;
  };
  const std::string frames = frame("TIT2", title) + frame("TRCK", std::to_string(track));
  return std::string("ID3\x03\x00\x00", 6) + std::string(3, '\0') + static_cast<char>(frames.size()) + frames + "audio";
}

struct TSongLibrary {
  std::string folder;       // the player's folder
  std::string albumFolder;  // album 0's songs: x.mp3 (track 1), y.mp3 (3), z.mp3 (2)
};

// Five albums with plain bitmap covers; album 0's folder holds three songs.
TSongLibrary LibraryWithSongs(const std::string& tag) {
  TSongLibrary lib;
  lib.folder = NewTempFolder(tag);
  lib.albumFolder = lib.folder + "Album\\";
  const std::string pluginFolder = lib.folder + "Plugins\\Tavio\\";
  CreateDirectoryA((lib.folder + "Plugins\\").c_str(), nullptr);
  CreateDirectoryA(pluginFolder.c_str(), nullptr);
  CreateDirectoryA(lib.albumFolder.c_str(), nullptr);
  for (const char* shot : {"list.bmp", "stepped.bmp", "cover.bmp"}) DeleteFileA((lib.folder + shot).c_str());
  const struct {
    const char* name;
    int32_t track;
  } songs[] = {{"x.mp3", 1}, {"y.mp3", 3}, {"z.mp3", 2}};
  for (const auto& song : songs)
    std::ofstream(lib.albumFolder + song.name, std::ios::binary) << TaggedSong(song.name, song.track);
  TOLSaveable albums, hidden;
  for (int32_t i = 0; i < 5; ++i) {
    auto* album = new TAlbum;
    album->Album = "Album " + std::to_string(i);
    album->CoverFile = (i == 0 ? lib.albumFolder : lib.folder) + "cover" + std::to_string(i) + ".bmp";
    TBitmap32 cover(64, 64);
    cover.Clear(CoverColor(i));
    SaveBmpFile(cover, album->CoverFile);
    albums.Add(album);
  }
  SaveLibraryFiles(pluginFolder, albums, hidden);
  WriteScriptedRunSettings(10);
  return lib;
}

// The frame's client area is 1120 x 420, so the 1110 x 370 view sits at
// (5, 25); its middle cover (side 254) at x 428, the list at (428, 20).
constexpr int kViewLeft = 5, kViewTop = 25, kCenterX = 428;

TColor32 PixelOf(const TBitmap32& shot, int x, int y) {
  if (shot.Width() < kViewLeft + 1110 || shot.Height() < kViewTop + 370) return 0;
  return shot.GetPixel(kViewLeft + x, kViewTop + y) | 0xFF000000u;
}

TColor32 ViewPixel(const std::string& shotFile, int x, int y) {
  TBitmap32 shot;
  LoadFromFile(shot, shotFile);
  return PixelOf(shot, x, y);
}

// The pixels of a w x h area of the view.
std::vector<TColor32> ViewArea(const std::string& shotFile, int x, int y, int w, int h) {
  TBitmap32 shot;
  LoadFromFile(shot, shotFile);
  std::vector<TColor32> area;
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) area.push_back(PixelOf(shot, x + c, y + r));
  return area;
}

// What the player was asked to do, without the plug-in's host messages.
std::vector<std::string> PlayerCommands(const PlayerHostRun& run) {
  std::vector<std::string> out;
  for (const auto& line : run.log)
    if (line.rfind("ipc 10", 0) == 0 || line.rfind("copydata", 0) == 0 || line.rfind("command", 0) == 0)
      out.push_back(line);
  return out;
}

using Lines = std::vector<std::string>;

// Song rows start 56 pixels below the list's top: the first is at view y 76..94.
const std::string kDoubleClickFirstSong = "dblclick 500 85";

}  // namespace

TEST(SongList, ClickTurnsTheCoverAndTheListPlaysASongOrTheAlbum_Wine) {
  const TSongLibrary lib = LibraryWithSongs("songlist");
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1000", "settle", "click 555 150",
                                  "screenshot " + lib.folder + "list.bmp", kDoubleClickFirstSong,
                                  "click 600 30",  // the album title
                                  "wheel -120", "settle", "screenshot " + lib.folder + "stepped.bmp", "quit"},
                                 "", lib.folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_EQ(ViewPixel(lib.folder + "list.bmp", kCenterX, 20), kSongHeaderOrange);
  EXPECT_EQ(ViewPixel(lib.folder + "list.bmp", kCenterX + 200, 20 + 60), kSongSelectedRow);
  const std::string x = "copydata 100 " + lib.albumFolder + "x.mp3";
  const std::string y = "copydata 100 " + lib.albumFolder + "y.mp3";
  const std::string z = "copydata 100 " + lib.albumFolder + "z.mp3";
  EXPECT_EQ(PlayerCommands(run),
            (Lines{"ipc 104", "ipc 101", x, "command 40045", "ipc 104", "ipc 101", x, z, y, "command 40045"}));
  // The carousel stepped under the list; the list stayed on top, and its
  // header names the new middle album.
  EXPECT_EQ(ViewPixel(lib.folder + "stepped.bmp", kCenterX, 20), kSongHeaderOrange);
  EXPECT_NE(ViewArea(lib.folder + "list.bmp", kCenterX, 20, 100, 30),
            ViewArea(lib.folder + "stepped.bmp", kCenterX, 20, 100, 30));
}

TEST(SongList, WhilePlayingASongIsOnlyQueuedByMouseOrKeyboard_Wine) {
  const TSongLibrary lib = LibraryWithSongs("songqueue");
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1000", "settle", "click 555 150", kDoubleClickFirstSong,
                                  "key 40", "key 13",  // Down, Enter: the second row
                                  "key 27", "screenshot " + lib.folder + "cover.bmp", "quit"},
                                 "--playing", lib.folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_EQ(PlayerCommands(run), (Lines{"ipc 104", "copydata 100 " + lib.albumFolder + "x.mp3", "ipc 104",
                                        "copydata 100 " + lib.albumFolder + "z.mp3"}));
  // Escape turned the cover back.
  EXPECT_EQ(ViewPixel(lib.folder + "cover.bmp", 555, 150), CoverColor(0));
}

TEST(SongList, PointerOverTheLeftStackTurnsTheCoverBack_Wine) {
  const TSongLibrary lib = LibraryWithSongs("songaway");
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1000", "settle", "click 555 150",
                                  "screenshot " + lib.folder + "list.bmp", "move 100 150",
                                  "screenshot " + lib.folder + "cover.bmp", "quit"},
                                 "", lib.folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_NE(ViewPixel(lib.folder + "list.bmp", 555, 150), CoverColor(0));
  EXPECT_EQ(ViewPixel(lib.folder + "cover.bmp", 555, 150), CoverColor(0));
}
