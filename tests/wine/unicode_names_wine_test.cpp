// Names in every script at the Win32 edges, on a Western system code page:
// folders and files the scan must reach, tags in every encoding, folders
// deeper than MAX_PATH, the player's wide add-file command, registry texts,
// typing to jump, and the captions, titles and song list drawn with glyphs
// that the code page has no room for.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "library/library_files.h"
#include "library/library_scan.h"
#include "library/compare_albums.h"
#include "library/folder_songs.h"
#include "library/library_scan_files.h"
#include "library/ol_saveable.h"
#include "player_host_run.h"
#include "raster/text_painter.h"
#include "view/song_grid_painter.h"
#include "library/directory_listing.h"
#include "library/file_access.h"
#include "settings/registry_settings_store.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "support/script_library.h"
#include "text/open_file.h"
#include "text/wide_path_win32.h"

using namespace tavio;
using namespace tavio::test;
using ::testing::UnorderedElementsAreArray;

namespace {

// One folder name per script; each also names the album inside it.
const std::vector<std::string> kScriptNames = {
    "Кино — Группа крови",   // Cyrillic
    "Ελληνικά τραγούδια",    // Greek
    "日本語の歌",            // Japanese
    "中文歌曲",              // Chinese
    "שירים בעברית",          // Hebrew
    "أغاني عربية",           // Arabic
    "Emoji 🎵🎸",              // beyond the BMP
    "Café Müller à Zürich",  // Western accents
};
const std::string kJapaneseFolder = kScriptNames[2];
const std::string kWesternFolder = kScriptNames[7];

void MakeFolder(const std::string& path) { CreateDirectoryW(WidePath(path).c_str(), nullptr); }

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = OpenFile(path, "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::string Utf16TaggedSong(const std::string& title, const std::string& artist, const std::string& album) {
  // With a track number the song list takes the title from this tag.
  return Mp3WithFrames(Utf16TextFrame("TIT2", title) + Utf16TextFrame("TRCK", "1") + Utf16TextFrame("TPE1", artist) +
                       Utf16TextFrame("TALB", album)) +
         "audio";
}

std::string SongOf(const std::string& folder, const std::string& name) { return folder + name + "\\" + name + ".mp3"; }

// A folder path of about 300 characters below root, made level by level.
std::string DeepFolder(const std::string& root) {
  std::string path = root;
  for (int i = 0; path.size() < 300; ++i) {
    path += "\\Tiefer Ordner " + std::to_string(i) + " глубже";
    MakeFolder(path);
  }
  return path;
}

}  // namespace

TEST(UnicodeNames, ScanReachesFoldersOfEveryScriptAndPastMaxPath_Wine) {
  const std::string root = NewTempFolder("unicode_scan") + "Bibliothèque ライブラリ";
  MakeFolder(root);
  std::vector<std::string> expected;
  for (const std::string& name : kScriptNames) {
    MakeFolder(root + "\\" + name);
    WriteFileBytes(root + "\\" + name + "\\" + name + ".mp3", Utf16TaggedSong(name, name, name));
    WriteFileBytes(root + "\\" + name + "\\folder.jpg", JpegBytes(8, 8));
    expected.push_back(root + "\\" + name + "\\folder.jpg");
  }
  const std::string deep = DeepFolder(root);
  ASSERT_GT(deep.size(), static_cast<size_t>(MAX_PATH));
  WriteFileBytes(deep + "\\tief.mp3", Utf16TaggedSong("Tief", "Tief", "Tief"));
  WriteFileBytes(deep + "\\folder.jpg", JpegBytes(8, 8));
  expected.push_back(deep + "\\folder.jpg");

  TOLSaveable albums;
  TLibraryScan scan;
  scan.SearchPaths = {root};
  scan.ScanAll = true;
  scan.PluginFolder = root + "\\";
  scan.Albums = &albums;
  scan.Execute();
  std::vector<std::string> found;
  for (int32_t i = 0; i < albums.Count(); ++i) found.push_back(albums.Items(i)->CoverFile);
  // The stored paths are the plain ones: the long-path prefix stays at the calls.
  EXPECT_THAT(found, UnorderedElementsAreArray(expected));
}

// Without an identity past MAX_PATH a junction there would be walked round
// and round until the paths grew too long even for the wide functions.
TEST(UnicodeNames, JunctionGuardKnowsFoldersPastMaxPath_Wine) {
  const std::string root = NewTempFolder("unicode_identity") + "Ψ";
  MakeFolder(root);
  const std::string deep = DeepFolder(root);
  const std::string parent = deep.substr(0, deep.rfind('\\'));
  const std::optional<TFolderIdentity> identity = FolderIdentity(deep + "\\");
  ASSERT_TRUE(identity.has_value());
  EXPECT_EQ(FolderIdentity(parent + "/./" + deep.substr(parent.size() + 1)), identity) << "spelt otherwise";
  EXPECT_NE(FolderIdentity(parent), identity);
}

TEST(UnicodeNames, RegistryTextsOutsideTheCodePageRoundTrip_Wine) {
  const std::string keyPath = "Software\\TavioTest\\Unicode";
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(keyPath).c_str());
  {
    const auto store = OpenRegistrySettingsStore(keyPath);
    store->WriteString("Paths", "C:\\Музыка\\日本語", "0");
    store->WriteString("Settings", "Caption", "Ωμέγα 🎵 שלום");
    std::vector<std::string> names;
    store->ListNames("Paths", names);
    EXPECT_EQ(names, std::vector<std::string>{"C:\\Музыка\\日本語"});
    EXPECT_EQ(store->ReadString("Settings", "Caption", ""), "Ωμέγα 🎵 שלום");
  }
  // What an older build's ANSI calls wrote reads as the same text.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (keyPath + "\\Settings").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const char ansi[] = "Caf\xE9 M\xFCller";  // Windows-1252
  RegSetValueExA(key, "Old", 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi), sizeof ansi);
  RegCloseKey(key);
  EXPECT_EQ(OpenRegistrySettingsStore(keyPath)->ReadString("Settings", "Old", ""), "Café Müller");
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(keyPath).c_str());
}

namespace {

TBitmap32 Drawn(const std::string& text, const TFontSpec& font) {
  TBitmap32 cell(40, 30);
  cell.Clear(kOpaqueWhite);
  PaintText(cell, 2, 2, text, TTextStyle{font, kOpaqueBlack, true, kOpaqueWhite});
  return cell;
}

bool SamePixels(const TBitmap32& a, const TBitmap32& b) {
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x)
      if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
  return true;
}

}  // namespace

// A face without a script's glyphs draws every letter of it as the same
// box; two different letters drawing alike means the font links are missing.
TEST(UnicodeNames, EveryFaceOfTheViewDrawsEachScriptsOwnLetters_Wine) {
  const char* const pairs[][2] = {{"Ж", "Щ"}, {"Ω", "λ"}, {"の", "歌"}, {"中", "文"}, {"ש", "ב"}, {"ع", "ر"}, {"é", "ü"}};
  const TFontSpec faces[] = {kDefaultUiFont, {"ARIAL", 12, true}, kSongTitleFont};
  for (const TFontSpec& face : faces) {
    for (const auto& pair : pairs) {
      EXPECT_FALSE(SamePixels(Drawn(pair[0], face), Drawn(pair[1], face))) << face.Name << " " << pair[0] << pair[1];
      EXPECT_FALSE(SamePixels(Drawn(pair[0], face), Drawn(" ", face))) << face.Name << " " << pair[0];
    }
  }
}

namespace {

// One album per name given, with no cover picture, so each shows its titled
// default cover; each album's folder holds one song named in its script.
// Returns the player's folder.
std::string LibraryOf(const std::vector<std::string>& names, const std::string& tag) {
  const std::string folder = NewTempFolder(tag);
  const std::string pluginFolder = folder + "Plugins\\Tavio\\";
  MakeFolder(folder + "Plugins");
  MakeFolder(pluginFolder);
  TOLSaveable albums, hidden;
  for (const std::string& name : names) {
    MakeFolder(folder + name);
    WriteFileBytes(SongOf(folder, name), Utf16TaggedSong("Lied " + name, name, name));
    auto* album = new TAlbum;
    album->Album = name;
    album->Artist = name;
    album->CoverFile = folder + name + "\\xx.xxx";
    albums.Add(album);
  }
  SaveLibraryFiles(pluginFolder, albums, hidden);
  WriteScriptedRunSettings(10);
  return folder;
}

std::vector<std::string> AddFileCommands(const PlayerHostRun& run) {
  std::vector<std::string> out;
  for (const auto& line : run.log)
    if (line.rfind("copydata", 0) == 0) out.push_back(line);
  return out;
}

// Opens the middle album's song list and double-clicks its first song.
const std::vector<std::string> kPlayFirstSong = {"resize 1120 420", "wait 1000",       "settle",
                                                 "click 555 150",   "dblclick 500 85", "quit"};

}  // namespace

// The screenshots are for the eye: captions, default-cover titles and song
// rows must show the scripts' glyphs, not boxes or question marks.
TEST(UnicodeNames, CaptionsTitlesAndSongListDrawEveryScript_Wine) {
  const std::string folder = LibraryOf(kScriptNames, "unicode_view");
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1000", "settle", "screenshot " + folder + "carousel.bmp",
                                  "click 555 150", "screenshot " + folder + "songs.bmp", "quit"},
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_TRUE(FileExists(folder + "songs.bmp"));
  std::printf("screenshots: %s{carousel,songs}.bmp\n", folder.c_str());
}

TEST(UnicodeNames, SongOutsideTheCodePageGoesToThePlayerWide_Wine) {
  const std::string folder = LibraryOf({kJapaneseFolder}, "unicode_wide");
  const auto run = RunPlayerHost(kPlayFirstSong, "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(AddFileCommands(run), std::vector<std::string>{"copydata 1100 " + SongOf(folder, kJapaneseFolder)});
}

TEST(UnicodeNames, SongTheCodePageHoldsStillGoesAnsi_Wine) {
  const std::string folder = LibraryOf({kWesternFolder}, "unicode_ansi");
  const auto run = RunPlayerHost(kPlayFirstSong, "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(AddFileCommands(run), std::vector<std::string>{"copydata 100 " + SongOf(folder, kWesternFolder)});
}

namespace {

struct TTagTexts {
  std::string Title, Artist, Album, Genre;
  auto operator<=>(const TTagTexts&) const = default;
};

}  // namespace

// Tags in UTF-16, UTF-8, the code page and ID3v1 must reach the data files,
// the song list and the view as the same letters; a typed Cyrillic letter,
// in lower case, must find its album.
TEST(UnicodeNames, TagsOfEveryScriptReachDataFilesSongListAndTypeToJump_Wine) {
  const std::string folder = NewTempFolder("unicode_tags");
  const std::string pluginFolder = folder + "Plugins\\Tavio\\";
  MakeFolder(folder + "Plugins");
  MakeFolder(pluginFolder);
  const std::string music = folder + "Музыка";
  WriteScriptLibrary(Utf8Path(music));
  {
    TOLSaveable scanned, hidden;
    TLibraryScan scan;
    scan.SearchPaths = {music};
    scan.ScanAll = true;
    scan.PluginFolder = pluginFolder;
    scan.Albums = &scanned;
    scan.Execute();
    SaveLibraryFiles(pluginFolder, scanned, hidden);
  }
  TOLSaveable albums, hidden;
  LoadLibraryFiles(pluginFolder, albums, hidden);
  std::vector<TTagTexts> stored, expected;
  for (int32_t i = 0; i < albums.Count(); ++i) {
    const TAlbum& a = *albums.Items(i);
    stored.push_back({a.Title, a.Artist, a.Album, a.Genre});
  }
  for (const TScriptAlbum& a : ScriptAlbums()) {
    expected.push_back({a.Title, a.Artist, a.Album, a.Genre});
    const std::vector<TSong> songs = ReadFolderSongs(music + "\\" + a.Folder + "\\");
    ASSERT_EQ(songs.size(), 1u) << a.Folder;
    EXPECT_EQ(songs[0].Title, a.Title);
  }
  EXPECT_THAT(stored, UnorderedElementsAreArray(expected));

  WriteScriptedRunSettings(10);
  const auto run = RunPlayerHost({"resize 1120 420", "wait 1000", "settle", "click 20 360", "type гр", "settle",
                                  "screenshot " + folder + "jumped.bmp", "click 555 150",
                                  "screenshot " + folder + "songs.bmp", "quit"},
                                 "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  // The view writes its middle album, counted in its own order, when it ends.
  const int32_t index = OpenSettingsStore()->ReadInteger(settings::kSettings, settings::kCurrentIndex, -1);
  ASSERT_TRUE(index >= 0 && index < albums.Count()) << index;
  albums.Sort(CompareAlbums);
  EXPECT_EQ(albums.Items(index)->Album, "Группа крови");
  std::printf("screenshots: %s{jumped,songs}.bmp\n", folder.c_str());
}
