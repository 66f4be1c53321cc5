#include "library/library_scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "library/file_access.h"
#include "library/library_scan_files.h"
#include "raster/bevel_edges.h"
#include "raster/module_resources.h"

using namespace tavio;
using namespace tavio::test;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAreArray;
using ::testing::UnorderedElementsAre;

namespace {

namespace fs = std::filesystem;

// A fresh folder for the running test.
class TScanTree {
 public:
  TScanTree() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::path(::testing::TempDir()) / "tavio_scan" / info->name();
    fs::remove_all(root_);
    fs::create_directories(root_ / "plugin");
  }
  ~TScanTree() { fs::remove_all(root_); }

  // Below the library folder "music".
  fs::path At(const std::string& relative) const { return root_ / "music" / relative; }
  std::string Music() const { return (root_ / "music").string(); }
  std::string PluginFolder() const { return (root_ / "plugin").string() + "/"; }
  void Album(const std::string& folder, const std::string& artist, const std::string& genre = "Rock") const {
    WriteBytes(At(folder) / "01 Song.mp3", Mp3WithTags(artist, artist + " Album", "1999", genre));
  }

  // "relative cover file|artist" per album, in list order.
  std::vector<std::string> Describe(const TOLSaveable& list) const {
    std::vector<std::string> out;
    const std::string prefix = Music() + "/";
    for (int32_t i = 0; i < list.Count(); ++i) {
      const std::string& cover = list.Items(i)->CoverFile;
      out.push_back((cover.starts_with(prefix) ? cover.substr(prefix.size()) : cover) + "|" + list.Items(i)->Artist);
    }
    return out;
  }

 private:
  fs::path root_;
};

// Albums at the top, below, directly in the search path, hidden, and folders
// that are no album.
void WriteMixedLibrary(const TScanTree& tree) {
  WriteBytes(tree.At("root.mp3"), Mp3WithTags("Root", "Root Album", "2000", "Pop"));
  WriteJpeg(tree.At("rootpic.jpg"), 8, 8);
  tree.Album("A", "A");
  WriteJpeg(tree.At("A/folder.jpg"), 32, 24);
  WriteBmp(tree.At("A/cover.bmp"), 16, 16);
  tree.Album("A/Sub", "Sub");
  WriteBmp(tree.At("A/Sub/cover.bmp"), 16, 16);
  tree.Album("B", "B");
  WriteJpeg(tree.At("C/folder.jpg"), 8, 8);
  tree.Album(".Hidden", "Hidden");
  WriteJpeg(tree.At(".Hidden/folder.jpg"), 8, 8);
  tree.Album(".Hidden/Inner", "Inner");
  // Neither a hidden MP3 file nor a folder named like one makes an album.
  WriteBytes(tree.At("D/.01.mp3"), Mp3WithTags("D", "D", "1", "x"));
  fs::create_directories(tree.At("D/fake.mp3"));
  WriteBytes(tree.At("E/notes.txt"), "text");
}

TLibraryScan ScanOf(const TScanTree& tree, bool scanAll, TOLSaveable* albums) {
  TLibraryScan scan;
  scan.SearchPaths = {tree.Music()};
  scan.ScanAll = scanAll;
  scan.PluginFolder = tree.PluginFolder();
  scan.Albums = albums;
  return scan;
}

ptrdiff_t IndexOf(const std::vector<std::string>& list, const std::string& item) {
  return std::distance(list.begin(), std::find(list.begin(), list.end(), item));
}

TBitmap32 DefaultCoverBevelled() {
  TBitmap32 cover;
  LoadFromResourceName(cover, "MOSSEL");
  BevelEdges(cover, cover.BoundsRect());
  return cover;
}

bool SamePixels(const TBitmap32& a, const TBitmap32& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Bits(), a.Bits() + static_cast<size_t>(a.Width()) * a.Height(), b.Bits());
}

const TAlbum* Find(const TOLSaveable& list, const std::string& artist) {
  for (int32_t i = 0; i < list.Count(); ++i)
    if (list.Items(i)->Artist == artist) return list.Items(i);
  return nullptr;
}

}  // namespace

TEST(LibraryScan, FolderModeFindsFoldersBelowThePathWithTheirFirstMaskPictureOrTheDefault) {
  TScanTree tree;
  WriteMixedLibrary(tree);
  TOLSaveable albums;
  TLibraryScan scan = ScanOf(tree, true, &albums);
  scan.ScanFolders(tree.Music(), albums);

  const std::vector<std::string> found = tree.Describe(albums);
  EXPECT_THAT(found, UnorderedElementsAre("A/folder.jpg|A", "B/xx.xxx|B", "A/Sub/cover.bmp|Sub",
                                          ".Hidden/Inner/xx.xxx|Inner"));
  // All folders of a level are reported before the walk goes deeper.
  EXPECT_GT(IndexOf(found, "A/Sub/cover.bmp|Sub"), IndexOf(found, "B/xx.xxx|B"));
  EXPECT_GT(IndexOf(found, ".Hidden/Inner/xx.xxx|Inner"), IndexOf(found, "A/folder.jpg|A"));

  const TAlbum* a = Find(albums, "A");
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(a->CoverReady);
  EXPECT_EQ(a->Cover.Width(), 32);
  EXPECT_EQ(a->Cover.Height(), 24);
  EXPECT_EQ(a->Album, "A Album");
  EXPECT_EQ(a->Year, 1999);
  EXPECT_EQ(a->Genre, "Rock");
  EXPECT_NE(a->Cover.GetPixel(0, 0), a->Cover.GetPixel(16, 12)) << "cover not bevelled";

  const TAlbum* b = Find(albums, "B");
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->CoverReady);
  EXPECT_TRUE(SamePixels(b->Cover, DefaultCoverBevelled())) << "default cover without title, bevelled";
}

TEST(LibraryScan, PictureModeMakesOneAlbumOfEveryMp3FolderWithAPicture) {
  TScanTree tree;
  WriteMixedLibrary(tree);
  TOLSaveable albums;
  TLibraryScan scan = ScanOf(tree, false, &albums);
  scan.ScanPictures(tree.Music(), albums);

  // A holds folder.jpg and cover.bmp: one album. B and .Hidden/Inner have no
  // picture, C no music.
  const std::vector<std::string> found = tree.Describe(albums);
  EXPECT_THAT(found, UnorderedElementsAre("rootpic.jpg|Root", "A/folder.jpg|A", "A/Sub/cover.bmp|Sub",
                                          ".Hidden/folder.jpg|Hidden"));
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0], "rootpic.jpg|Root") << "the search path's own album comes first";
  EXPECT_LT(IndexOf(found, "A/folder.jpg|A"), IndexOf(found, "A/Sub/cover.bmp|Sub"));
  for (int32_t i = 0; i < albums.Count(); ++i) EXPECT_TRUE(albums.Items(i)->CoverReady);
}

TEST(LibraryScan, FolderNameWithSemicolonStillFindsItsPicture) {
  TScanTree tree;
  tree.Album("Simon; Garfunkel", "SG");
  WriteJpeg(tree.At("Simon; Garfunkel/folder.jpg"), 8, 8);
  TOLSaveable albums;
  TLibraryScan scan = ScanOf(tree, true, &albums);
  scan.ScanFolders(tree.Music(), albums);
  EXPECT_THAT(tree.Describe(albums), ElementsAre("Simon; Garfunkel/folder.jpg|SG"));
}

TEST(LibraryScan, SearchPathWithSemicolonIsSearchedWhole) {
  TScanTree tree;
  tree.Album("Simon; Garfunkel/Bookends", "SG");
  WriteJpeg(tree.At("Simon; Garfunkel/Bookends/folder.jpg"), 8, 8);
  for (const bool scanAll : {false, true}) {
    TOLSaveable albums;
    TLibraryScan scan = ScanOf(tree, scanAll, &albums);
    scan.SearchPaths = {tree.At("Simon; Garfunkel").string()};
    scan.Execute();
    EXPECT_THAT(tree.Describe(albums), ElementsAre("Simon; Garfunkel/Bookends/folder.jpg|SG")) << scanAll;
  }
}

TEST(LibraryScan, OverlappingSearchPathsYieldTheirAlbumsOncePerPathInPathOrder) {
  TScanTree tree;
  tree.Album("X", "X");
  WriteJpeg(tree.At("X/folder.jpg"), 8, 8);
  tree.Album("X/Y", "Y");
  WriteJpeg(tree.At("X/Y/folder.jpg"), 8, 8);
  for (const bool scanAll : {false, true}) {
    TOLSaveable albums;
    TLibraryScan scan = ScanOf(tree, scanAll, &albums);
    scan.SearchPaths = {tree.At("X").string(), tree.Music()};
    scan.Execute();
    if (scanAll) {
      EXPECT_THAT(tree.Describe(albums), ElementsAre("X/Y/folder.jpg|Y", "X/folder.jpg|X", "X/Y/folder.jpg|Y"));
    } else {
      // Picture mode also takes the pictures directly in a search path.
      EXPECT_THAT(tree.Describe(albums),
                  ElementsAre("X/folder.jpg|X", "X/Y/folder.jpg|Y", "X/folder.jpg|X", "X/Y/folder.jpg|Y"));
    }
  }
}

TEST(LibraryScan, ExecuteReplacesBothListsSavesAndCallsBackInOrder) {
  TScanTree tree;
  tree.Album("A", "A", "Jazz");
  WriteJpeg(tree.At("A/folder.jpg"), 8, 8);
  TOLSaveable albums, hidden, old;
  albums.Add(new TAlbum);
  albums.Add(new TAlbum);
  hidden.Add(new TAlbum);
  TGenreFilter genres;
  auto* rock = new TAlbum;
  rock->Genre = "Rock";
  old.Add(rock);
  genres.AddGenres(old, false);

  std::vector<std::string> events;
  TLibraryScan scan = ScanOf(tree, false, &albums);
  scan.HiddenAlbums = &hidden;
  scan.Genres = &genres;
  const std::string dataFile = tree.PluginFolder() + "Data.dat";
  scan.OnScanStart = [&] {
    events.push_back("start " + std::to_string(albums.Count()) + " " + std::to_string(hidden.Count()));
  };
  scan.OnMessage = [&](const std::string& text) { events.push_back(text); };
  scan.OnScanDone = [&] {
    events.push_back("done " + std::to_string(FileExists(dataFile)) + " " + std::to_string(genres.Count()));
  };
  scan.Execute();

  EXPECT_THAT(events, ElementsAre("start 2 1", "1 albums found.", "done 1 1"));
  EXPECT_EQ(hidden.Count(), 0);
  ASSERT_EQ(albums.Count(), 1);
  ASSERT_EQ(genres.Count(), 2);
  EXPECT_EQ(genres.Entry(0).Text, "Jazz");
  EXPECT_TRUE(genres.Entry(0).Checked);
  EXPECT_FALSE(genres.Entry(1).Checked) << "an existing entry keeps its check mark";
  EXPECT_FALSE(genres.GenreFilterChanged);

  TOLSaveable saved;
  saved.LoadFromFile(dataFile);
  ASSERT_EQ(saved.Count(), 1);
  EXPECT_EQ(saved.Items(0)->CoverFile, albums.Items(0)->CoverFile);
  EXPECT_EQ(saved.Items(0)->Artist, "A");
  EXPECT_EQ(saved.Items(0)->Genre, "Jazz");
}

TEST(LibraryScan, ScanWithoutViewWritesDataFileListsGenresAndLeavesHiddenFileAlone) {
  TScanTree tree;
  tree.Album("A", "A", "");
  tree.Album("B", "B", "Folk");
  const std::string hiddenFile = tree.PluginFolder() + "Data2.dat";
  WriteBytes(hiddenFile, "as it was");
  TGenreFilter genres;
  std::vector<std::string> messages;
  TLibraryScan scan = ScanOf(tree, true, nullptr);
  scan.SearchPaths = {tree.At("missing").string(), tree.Music()};
  scan.Genres = &genres;
  scan.OnMessage = [&](const std::string& text) { messages.push_back(text); };
  scan.Execute();

  EXPECT_THAT(messages, ElementsAre("2 albums found."));
  TOLSaveable saved;
  saved.LoadFromFile(tree.PluginFolder() + "Data.dat");
  EXPECT_EQ(saved.Count(), 2);
  ASSERT_EQ(genres.Count(), 2);
  EXPECT_EQ(genres.Entry(0).Text, "Folk");
  EXPECT_EQ(genres.Entry(1).Text, "Without Genre");
  EXPECT_TRUE(genres.Entry(0).Checked && genres.Entry(1).Checked);
  std::ifstream kept(hiddenFile);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "as it was");
}

TEST(LibraryScan, NothingFoundAndUnwritableDataFileStillReportZeroAlbums) {
  TScanTree tree;
  std::vector<std::string> messages;
  TLibraryScan scan = ScanOf(tree, false, nullptr);
  scan.SearchPaths = {tree.At("missing").string()};
  scan.PluginFolder = tree.PluginFolder() + "not/yet/";
  scan.OnMessage = [&](const std::string& text) { messages.push_back(text); };
  EXPECT_NO_THROW(scan.Execute());
  EXPECT_THAT(messages, ElementsAre("0 albums found."));
  EXPECT_FALSE(fs::exists(tree.PluginFolder() + "not"));
}

TEST(LibraryScan, BrokenPictureIsReportedInTheSummaryAndItsAlbumKept) {
  TScanTree tree;
  tree.Album("A", "A");
  WriteBrokenPicture(tree.At("A/folder.jpg"));
  WriteBrokenPicture(tree.At("NoMusic/back.jpg"));
  const std::string brokenCover = tree.At("A/folder.jpg").string();
  for (const bool scanAll : {false, true}) {
    std::vector<std::string> messages;
    TOLSaveable albums;
    TLibraryScan scan = ScanOf(tree, scanAll, &albums);
    scan.OnMessage = [&](const std::string& text) { messages.push_back(text); };
    scan.Execute();

    // A folder without music is no album, so its pictures are not loaded.
    EXPECT_THAT(messages, ElementsAre("1 albums found.\nError loading " + brokenCover));
    ASSERT_EQ(albums.Count(), 1);
    const TAlbum& a = *albums.Items(0);
    EXPECT_EQ(a.CoverFile, brokenCover);
    // Left to the view's loaders, which give it the titled default cover.
    EXPECT_FALSE(a.CoverReady);
  }
}

TEST(LibraryScan, SummaryNamesAtMostTwentyBrokenCovers) {
  std::vector<std::string> errors;
  for (int i = 0; i < 23; ++i) errors.push_back("c" + std::to_string(i));
  const std::string text = ScanSummaryText(5, errors);
  EXPECT_TRUE(text.starts_with("5 albums found.\nError loading c0\nError loading c1\n")) << text;
  EXPECT_TRUE(text.ends_with("\nError loading c19\n\u2026 and 3 more")) << text;
  EXPECT_EQ(ScanSummaryText(5, std::vector<std::string>(errors.begin(), errors.begin() + 20)),
            text.substr(0, text.rfind('\n')));
}

TEST(LibraryScan, OneCoverPerFolderTheStoredOneFirstThenMasksThenEmbeddedThenDefault) {
  TScanTree tree;
  // Stored cover beside other pictures the masks prefer, and an embedded one.
  WriteBytes(tree.At("Stored/01.mp3"), Mp3WithTags("Stored", "S", "1", "x", PictureFrame(3, JpegBytes(4, 4))));
  WriteJpeg(tree.At("Stored/Folder.JPG"), 30, 20);
  WriteJpeg(tree.At("Stored/back.jpg"), 8, 8);
  WriteBmp(tree.At("Stored/front.bmp"), 8, 8);
  // A matching picture beats the embedded one.
  WriteBytes(tree.At("Masked/01.mp3"), Mp3WithTags("Masked", "M", "1", "x", PictureFrame(3, JpegBytes(4, 4))));
  WriteBmp(tree.At("Masked/front.bmp"), 9, 9);
  // Only embedded pictures: the front cover, though a back cover comes first.
  WriteBytes(tree.At("Embedded/01.mp3"),
             Mp3WithTags("Embedded", "E", "1", "x", PictureFrame(4, JpegBytes(5, 5)) + PictureFrame(3, JpegBytes(12, 10))));
  tree.Album("Plain", "Plain");

  struct TCase {
    bool scanAll, embedded;
    std::vector<std::string> expected;
  };
  const std::string embeddedMp3 = "Embedded/01.mp3|Embedded";
  const TCase cases[] = {
      {false, true, {"Stored/Folder.JPG|Stored", "Masked/front.bmp|Masked", embeddedMp3}},
      {true, true, {"Stored/Folder.JPG|Stored", "Masked/front.bmp|Masked", embeddedMp3, "Plain/xx.xxx|Plain"}},
      {false, false, {"Stored/Folder.JPG|Stored", "Masked/front.bmp|Masked"}},
      {true, false,
       {"Stored/Folder.JPG|Stored", "Masked/front.bmp|Masked", "Embedded/xx.xxx|Embedded", "Plain/xx.xxx|Plain"}},
  };
  for (const TCase& c : cases) {
    TOLSaveable albums;
    TLibraryScan scan = ScanOf(tree, c.scanAll, &albums);
    scan.PictureMasks = "*.bmp";
    scan.EmbeddedArt = c.embedded;
    scan.Execute();
    EXPECT_THAT(tree.Describe(albums), UnorderedElementsAreArray(c.expected)) << c.scanAll << c.embedded;
    if (const TAlbum* e = Find(albums, "Embedded"); e && c.embedded) {
      EXPECT_EQ(e->Cover.Width(), 12);
      EXPECT_EQ(e->Cover.Height(), 10);
      EXPECT_EQ(e->Album, "E");
    }
    if (const TAlbum* stored = Find(albums, "Stored")) {
      EXPECT_EQ(stored->Cover.Width(), 30);
    }
  }
}

TEST(LibraryScan, ProgressCountsFoldersAndAlbumsUpToTheResult) {
  TScanTree tree;
  tree.Album("A", "A");
  WriteJpeg(tree.At("A/folder.jpg"), 8, 8);
  WriteJpeg(tree.At("A/back.jpg"), 8, 8);
  tree.Album("B", "B");
  WriteJpeg(tree.At("C/folder.jpg"), 8, 8);
  struct TCase {
    bool scanAll;
    int32_t folders, albums;
  };
  // Folder mode examines A, B and C; picture mode searches the search path
  // itself too, and counts folders, not the pictures it finds in them. Of the
  // folders with music, A and B, only A has a cover.
  for (const TCase& c : {TCase{true, 3, 2}, TCase{false, 4, 1}}) {
    std::vector<TScanProgress> calls;
    TLibraryScan scan = ScanOf(tree, c.scanAll, nullptr);
    scan.OnProgress = [&](const TScanProgress& p) { calls.push_back(p); };
    scan.Execute();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().FoldersVisited, c.folders);
    EXPECT_EQ(calls.back().AlbumsFound, c.albums);
    for (size_t i = 1; i < calls.size(); ++i) {
      EXPECT_GE(calls[i].FoldersVisited, calls[i - 1].FoldersVisited);
      EXPECT_GE(calls[i].AlbumsFound, calls[i - 1].AlbumsFound);
    }
  }
}

TEST(LibraryScan, CoverMemoryLimitKeepsCoversInScanOrderAndStillReportsBrokenOnes) {
  TScanTree tree;
  for (const char* folder : {"A", "B", "C", "D"}) {
    tree.Album(folder, folder);
    WriteJpeg(tree.At(std::string(folder) + "/folder.jpg"), 20, 20);
  }
  WriteBrokenPicture(tree.At("D/folder.jpg"));
  std::vector<std::string> messages;
  TOLSaveable albums;
  TLibraryScan scan = ScanOf(tree, true, &albums);
  scan.OnMessage = [&](const std::string& text) { messages.push_back(text); };
  scan.CoverMemoryLimit = 2 * 20 * 20 * 4;  // two of the covers
  scan.Execute();
  EXPECT_THAT(messages, ElementsAre("4 albums found.\nError loading " + tree.At("D/folder.jpg").string()));
  ASSERT_EQ(albums.Count(), 4);
  // In scan order the first two pictures fit; the broken one's bevelled white
  // square (250 x 250) never does. The rest are left unprepared, the shared
  // white square, for the loaders.
  int fitted = 0;
  for (int32_t i = 0; i < albums.Count(); ++i) {
    const TAlbum& a = *albums.Items(i);
    const bool keep = a.CoverFile != tree.At("D/folder.jpg").string() && fitted < 2;
    fitted += keep ? 1 : 0;
    EXPECT_EQ(a.CoverReady, keep) << i;
    EXPECT_EQ(a.Cover.Width(), keep ? 20 : 250) << i;
    EXPECT_EQ(a.Cover.SharesPixels(), !keep) << i;
  }
  EXPECT_EQ(fitted, 2);
}
