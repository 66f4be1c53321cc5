// The settings dialog end to end in the stand-in player, driven as a user
// drives it: opened by Config with a running view and without one, a search
// path added through the folder browser, a scan, the dialog closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "library/library_files.h"
#include "library/library_scan_files.h"
#include "library/ol_saveable.h"
#include "player_host_run.h"
#include "raster/picture_file.h"
#include "settings/registry_settings_store.h"
#include "settings/search_paths.h"
#include "settings/settings_keys.h"
#include "support/png_encoder.h"

using namespace tavio;
using namespace tavio::test;

namespace {

using Names = std::vector<std::string>;

// The plug-in's settings key is shared with the other tests of this prefix:
// these tests start without it and leave none behind.
class SettingsDialog : public ::testing::Test {
 protected:
  SettingsDialog() { RegDeleteTreeA(HKEY_CURRENT_USER, settings::kRegistryKeyPath); }
  ~SettingsDialog() override { RegDeleteTreeA(HKEY_CURRENT_USER, settings::kRegistryKeyPath); }

  static std::unique_ptr<TSettingsStore> Store() { return OpenRegistrySettingsStore(settings::kRegistryKeyPath); }

  // Closing writes only what the user changed, and these tests change none.
  static void ExpectNoDialogKeyWritten() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(settings::kRegistryKeyPath) + "\\SETTINGS").c_str(), 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
      return;
    for (const char* name : {"FSORT", "FANZEIGE", "LBINFO", "ALPHA", "FUNCA", "FUNCB", "FSIZE", "CONTROLPANEL",
                             "REVERSE", "SCANALL", "PICTUREMASKS", "EMBEDDEDART"})
      EXPECT_NE(RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS) << name;
    RegCloseKey(key);
  }
};

// Album folders with an MP3 file and a blue folder.jpg each.
std::string WriteLibrary(const std::string& folder, int count) {
  const std::string music = folder + "Music";
  for (int i = 0; i < count; ++i) {
    const std::string album = music + "\\Album" + std::to_string(i) + "\\";
    WriteBytes(album + "01.mp3", Mp3WithTags("Artist", "Album " + std::to_string(i), "2001", "Pop"));
    WriteJpeg(album + "folder.jpg", 64, 64);
  }
  return music;
}

int32_t AlbumsIn(const std::string& dataFile) {
  TOLSaveable albums;
  albums.LoadFromFile(dataFile);
  return albums.Count();
}

bool NoErrors(const PlayerHostRun& run) {
  for (const auto& line : run.log)
    if (line.rfind("error", 0) == 0) return false;
  return true;
}

// A value of SETTINGS stored as a DWORD, as another tool may leave it.
void SetDword(const char* name, DWORD number) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(settings::kRegistryKeyPath) + "\\SETTINGS").c_str(), 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);
}

// The stored type and number of a value of SETTINGS; REG_NONE when missing.
DWORD StoredDword(const char* name, DWORD& number) {
  DWORD type = REG_NONE, size = sizeof number;
  if (RegGetValueA(HKEY_CURRENT_USER, (std::string(settings::kRegistryKeyPath) + "\\SETTINGS").c_str(), name,
                   RRF_RT_ANY, &type, &number, &size) != ERROR_SUCCESS)
    return REG_NONE;
  return type;
}

// Three albums in Data.dat, red, green and blue, as a scan once found them.
void WriteShownLibrary(const std::string& folder) {
  const std::string plugin = folder + "Plugins\\Tavio\\";
  CreateDirectoryA((folder + "Plugins").c_str(), nullptr);
  CreateDirectoryA(plugin.c_str(), nullptr);
  TOLSaveable albums, hidden;
  const TColor32 colors[] = {Color32(220, 30, 30), Color32(30, 200, 30), Color32(30, 30, 220)};
  for (int i = 0; i < 3; ++i) {
    const std::string cover = folder + "cover" + std::to_string(i) + ".jpg";
    SaveJpegFile(PlainPicture(64, 64, colors[i]), cover);
    auto* album = new TAlbum;
    album->Album = "Album " + std::to_string(i);
    album->CoverFile = cover;
    albums.Add(album);
  }
  SaveLibraryFiles(plugin, albums, hidden);
}

bool SameRegion(const TBitmap32& a, const TBitmap32& b, int right) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < right; ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

std::string Bytes(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    std::fclose(f);
  }
  return bytes;
}

}  // namespace

TEST_F(SettingsDialog, FromTheViewAPathIsAddedScannedAndItsCoversShown_Wine) {
  const std::string folder = NewTempFolder("settings");
  const std::string music = WriteLibrary(folder, 3);
  const auto run = RunPlayerHost({"resize 658 515", "wait 300", "chdir " + music, "config", "dialog-tab Library",
                                  "dialog-button Add ...", "wait 1500", "dialog-button OK", "dialog-button Scan Directories ...",
                                  "dialog-button OK", "dialog-button Close", "wait 500",
                                  "screenshot " + folder + "shot.bmp", "quit"},
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(NoErrors(run)) << run.log.back();
  EXPECT_TRUE(run.Contains("dialog Settings"));
  EXPECT_TRUE(run.Contains("message 3 albums found."));

  Names paths;
  ReadSearchPaths(*Store(), paths);
  EXPECT_EQ(paths, Names{music});
  ExpectNoDialogKeyWritten();
  EXPECT_EQ(AlbumsIn(folder + "Plugins\\Tavio\\Data.dat"), 3);

  TBitmap32 shot;
  LoadFromFile(shot, folder + "shot.bmp");
  ASSERT_EQ(shot.Width(), 658);
  // The middle cover's centre: view at (2, 72), cover side 254 at x 200, y 20.
  const TColor32 middle = shot.GetPixel(2 + 200 + 127, 72 + 20 + 127);
  EXPECT_NEAR(static_cast<int>(RedOf(middle)), 40, 12);
  EXPECT_NEAR(static_cast<int>(GreenOf(middle)), 120, 12);
  EXPECT_NEAR(static_cast<int>(BlueOf(middle)), 200, 12);
}

TEST_F(SettingsDialog, WithoutAViewTheScanWritesOnlyTheDataFile_Wine) {
  const std::string folder = NewTempFolder("settings");
  const std::string music = WriteLibrary(folder, 2);
  WriteSearchPaths(*Store(), {music});
  const std::string plugin = folder + "Plugins\\Tavio\\";
  CreateDirectoryA((folder + "Plugins").c_str(), nullptr);
  CreateDirectoryA(plugin.c_str(), nullptr);
  {
    TOLSaveable hidden;
    hidden.Add(new TAlbum);
    hidden.Items(0)->Album = "Hidden";
    hidden.SaveToFile(plugin + "Data2.dat");
  }
  const std::string hiddenBefore = Bytes(plugin + "Data2.dat");
  ASSERT_FALSE(hiddenBefore.empty());
  const auto run = RunPlayerHost({"wait 300", "quit-module", "wait 300", "config", "dialog-tab Library",
                                  "dialog-button Scan Directories ...", "dialog-button OK", "dialog-close", "wait 300",
                                  "quit"},
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(NoErrors(run)) << run.log.back();
  EXPECT_TRUE(run.Contains("dialog Settings"));
  EXPECT_TRUE(run.Contains("message 2 albums found."));
  EXPECT_EQ(AlbumsIn(plugin + "Data.dat"), 2);
  EXPECT_EQ(Bytes(plugin + "Data2.dat"), hiddenBefore);
  ExpectNoDialogKeyWritten();
}

// A value stored as the wrong kind once kept the plug-in from opening, and
// the dialog then erased the settings; the dialog was nobody's, so the
// carousel scrolled behind it; a scan that found nothing left the old
// covers; the tab strip came last when tabbing; long paths were cut off.
TEST_F(SettingsDialog, BrokenValuesSurviveTheViewStaysStillAndAnEmptyScanEmptiesIt_Wine) {
  const std::string folder = NewTempFolder("broken");
  WriteShownLibrary(folder);
  CreateDirectoryA((folder + "Empty").c_str(), nullptr);
  WriteScriptedRunSettings(10);
  SetDword("LBINFO", 7);
  SetDword("FSORT", 3);
  SetDword("ALPHA", 120);
  const std::string longPath = "C:\\" + std::string(150, 'x');
  WriteSearchPaths(*Store(), {folder + "Empty", longPath});
  const auto run = RunPlayerHost(
      {"resize 658 515", "settle", "screenshot " + folder + "before.bmp", "config", "dialog-button OK",
       "dialog-owner", "dialog-focus", "key 9", "dialog-focus", "dialog-extent 1101", "move 10 100", "wheel -120",
       "click 329 150", "wait 1000", "screenshot " + folder + "during.bmp", "dialog-tab Library",
       "dialog-button Scan Directories ...", "dialog-button OK", "dialog-button Close", "wait 500",
       "screenshot " + folder + "after.bmp", "quit"},
      "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(NoErrors(run)) << run.log.back();
  EXPECT_EQ(run.CountOf("message These settings cannot be read and keep their defaults until you change them: "
                        "LBINFO, FSORT"),
            1);
  EXPECT_TRUE(run.Contains("owner frame"));
  EXPECT_TRUE(run.Contains("focus SysTabControl32 ")) << "the tab strip comes first";
  EXPECT_TRUE(run.Contains("focus Button Check all"));
  EXPECT_TRUE(run.Contains("extent 1101 wider"));
  EXPECT_TRUE(run.Contains("message 0 albums found."));

  DWORD number = 0;
  EXPECT_EQ(StoredDword("LBINFO", number), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number, 7u);
  EXPECT_EQ(StoredDword("FSORT", number), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number, 3u);
  EXPECT_EQ(StoredDword("ALPHA", number), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number, 120u);
  EXPECT_EQ(StoredDword("FANZEIGE", number), static_cast<DWORD>(REG_NONE)) << "nothing the user left alone is written";
  Names paths;
  ReadSearchPaths(*Store(), paths);
  EXPECT_EQ(paths, (Names{folder + "Empty", longPath}));

  TBitmap32 before, during, after;
  LoadFromFile(before, folder + "before.bmp");
  LoadFromFile(during, folder + "during.bmp");
  LoadFromFile(after, folder + "after.bmp");
  // Left of where the centred dialog may overlap the frame.
  EXPECT_TRUE(SameRegion(before, during, 480)) << "the carousel moved behind the dialog";
  EXPECT_NE(before.GetPixel(329, 150), kOpaqueBlack);
  EXPECT_EQ(after.GetPixel(329, 150) | 0xFF000000u, kOpaqueBlack) << "an old cover outlived the empty scan";
  bool hint = false;  // white text at the view's centre
  for (int x = 299; x < 420 && !hint; ++x)
    for (int y = 257; y < 272 && !hint; ++y) {
      const TColor32 c = after.GetPixel(x, y);
      hint = RedOf(c) > 200 && GreenOf(c) > 200 && BlueOf(c) > 200;
    }
  EXPECT_TRUE(hint);
}

// An album whose cover is only embedded, one with a stored cover beside a
// back cover, one with a PNG and one with a broken picture: four albums,
// and the broken picture named in the one box at the end.
TEST_F(SettingsDialog, ScanOfEveryKindOfCoverEndsInOneSummaryBox_Wine) {
  const std::string folder = NewTempFolder("settings");
  const std::string music = folder + "Music\\";
  WriteBytes(music + "Embedded\\01.mp3", Mp3WithTags("Artist", "Embedded", "2001", "Pop",
                                                     PictureFrame(4, JpegBytes(8, 8)) + PictureFrame(3, JpegBytes(64, 64))));
  WriteBytes(music + "Stored\\01.mp3", Mp3WithTags("Artist", "Stored", "2001", "Pop"));
  WriteJpeg(music + "Stored\\folder.jpg", 64, 64);
  WriteJpeg(music + "Stored\\back.jpg", 8, 8);
  WriteBytes(music + "Png\\01.mp3", Mp3WithTags("Artist", "Png", "2001", "Pop"));
  TBitmap32 png(64, 64);
  png.Clear(Color32(0x20, 0x80, 0x40));
  const std::vector<uint8_t> pngBytes = test::EncodePng(png, false);
  WriteBytes(music + "Png\\cover.png", std::string(pngBytes.begin(), pngBytes.end()));
  WriteBytes(music + "Broken\\01.mp3", Mp3WithTags("Artist", "Broken", "2001", "Pop"));
  WriteBrokenPicture(music + "Broken\\folder.jpg");
  WriteSearchPaths(*Store(), {music});
  const auto run = RunPlayerHost({"resize 658 515", "wait 300", "config", "dialog-tab Library",
                                  "dialog-button Scan Directories ...", "dialog-button OK", "wait 500",
                                  "dialog-button Close", "wait 500", "settle", "screenshot " + folder + "shot.bmp",
                                  "quit"},
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(NoErrors(run)) << run.log.back();
  TBitmap32 shot;
  LoadFromFile(shot, folder + "shot.bmp");
  const auto shows = [&](int r, int g, int b) {
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x) {
        const TColor32 c = shot.GetPixel(x, y);
        const auto within = [](uint32_t v, int want) { return std::abs(static_cast<int>(v) - want) < 6; };
        if (within(RedOf(c), r) && within(GreenOf(c), g) && within(BlueOf(c), b)) return true;
      }
    return false;
  };
  EXPECT_TRUE(shows(0x20, 0x80, 0x40)) << "the PNG cover is drawn";
  EXPECT_TRUE(shows(40, 120, 200)) << "the JPEG and embedded covers are drawn";
  EXPECT_TRUE(run.Contains("message 4 albums found. Error loading " + music + "Broken\\folder.jpg"));
  int boxes = 0;
  for (const auto& line : run.log) boxes += line.rfind("message ", 0) == 0 ? 1 : 0;
  EXPECT_EQ(boxes, 1);
  TOLSaveable albums;
  albums.LoadFromFile(folder + "Plugins\\Tavio\\Data.dat");
  ASSERT_EQ(albums.Count(), 4);
  for (int32_t i = 0; i < albums.Count(); ++i) {
    const TAlbum& album = *albums.Items(i);
    if (album.Album == "Embedded") {
      EXPECT_EQ(album.CoverFile, music + "Embedded\\01.mp3");
    } else if (album.Album == "Png") {
      EXPECT_EQ(album.CoverFile, music + "Png\\cover.png");
    }
  }
}
