// The settings dialog without its windows: what it shows on a fresh system,
// what closing writes, the comma form, the two drag lists, the search paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/shared_keys.h"
#include "settings/comma_text.h"
#include "settings/config_model.h"
#include "settings/file_settings_store.h"
#include "settings/search_paths.h"
#include "support/temp_folder.h"

using namespace tavio;
using tavio::test::TTempFolder;

namespace {

using Names = std::vector<std::string>;

class ConfigDialog : public ::testing::Test {
 protected:
  ConfigDialog() : store(folder.Path() + "settings") {}

  void Show() { dialog.FormShow(store, folder.Path() + "plugin/"); }
  Names InfoTexts() const {
    Names out;
    for (const TInfoEntry& e : dialog.InfoEntries) out.push_back(e.Text);
    return out;
  }
  Names TickedInfo() const {
    Names out;
    for (const TInfoEntry& e : dialog.InfoEntries)
      if (e.Checked) out.push_back(e.Text);
    return out;
  }

  TTempFolder folder;
  TFileSettingsStore store;
  TConfigModel dialog;
};

TAlbum* Album(const std::string& title, int32_t year) {
  auto* album = new TAlbum;
  album->Album = title;
  album->Artist = "Artist";
  album->Year = year;
  return album;
}

}  // namespace

TEST(CommaText, QuotesWhatABlankOrCommaWouldSplitAndReadsItBack) {
  const Names entries{"Album", "two words", "a,b", "say \"hi\"", "", "tab\there"};
  const std::string text = CommaText(entries);
  EXPECT_EQ(text, "Album,\"two words\",\"a,b\",\"say \"\"hi\"\"\",\"\",\"tab\there\"");
  EXPECT_EQ(ParseCommaText(text), entries);
  EXPECT_EQ(CommaText({"Artist", "Album", "Genre", "Year"}), "Artist,Album,Genre,Year");
}

TEST(CommaText, ABlankOutsideQuotesEndsAnEntry) {
  EXPECT_EQ(ParseCommaText("Year Album,Artist"), (Names{"Year", "Album", "Artist"}));
  EXPECT_EQ(ParseCommaText("  Year ,  Album  "), (Names{"Year", "Album"}));
  EXPECT_EQ(ParseCommaText("a,,b"), (Names{"a", "", "b"}));
  EXPECT_EQ(ParseCommaText("a,"), (Names{"a", ""}));
  EXPECT_EQ(ParseCommaText(""), Names{});
  EXPECT_EQ(ParseCommaText("\"open quote"), Names{"open quote"});
}

TEST_F(ConfigDialog, FreshSystemShowsTheDefaults) {
  Show();
  EXPECT_EQ(dialog.MirrorAlpha(), 78);
  EXPECT_EQ(dialog.CoverSize(), 74);
  EXPECT_EQ(InfoTexts(), (Names{"Artist", "Album", "Genre", "Year"}));
  EXPECT_EQ(TickedInfo(), Names{"Album"});
  EXPECT_EQ(dialog.SortEntries, (Names{"Album", "Artist", "Genre", "Year"}));
  EXPECT_FALSE(dialog.ScanAll);
  EXPECT_TRUE(dialog.EmbeddedArt);
  EXPECT_FALSE(dialog.UseControlPanel);
  EXPECT_FALSE(dialog.ReverseScroll);
  EXPECT_EQ(dialog.PictureMasks, "*.jpg;*.jpeg;*.png;*.bmp");
  EXPECT_EQ(dialog.Curve.FuncA, 8830);
  EXPECT_EQ(dialog.Curve.FuncB, 37590);
  EXPECT_TRUE(dialog.SearchPaths.empty());
}

TEST_F(ConfigDialog, ClosingWritesOnlyWhatTheUserChangedAndCreatesThePluginFolder) {
  store.WriteString("SETTINGS", "FANZEIGE", "Year,Artist");
  store.WriteString("SETTINGS", "FSIZE", "80");  // as text, as another tool left it
  store.WriteFlag("SETTINGS", "SCANALL", true);
  store.WriteFlag("SETTINGS", "EMBEDDEDART", false);
  WriteSearchPaths(store, {"/music/b", "/music/a"});
  Show();
  EXPECT_EQ(TickedInfo(), (Names{"Artist", "Year"}));
  dialog.PictureMasks = "*.png";
  dialog.SetMirrorAlpha(90);
  dialog.FormClose(store);

  EXPECT_TRUE(folder.Exists("plugin"));
  EXPECT_EQ(CaptionKeys(), "Artist,Year");
  Names written;
  store.ListNames("SETTINGS", written);
  EXPECT_EQ(written, (Names{"FANZEIGE", "FSIZE", "SCANALL", "EMBEDDEDART", "PICTUREMASKS", "ALPHA"}));
  EXPECT_EQ(store.ReadString("SETTINGS", "FSIZE", "missing"), "80");
  EXPECT_EQ(store.ReadInteger("SETTINGS", "ALPHA", -1), 90);
  EXPECT_EQ(store.ReadString("SETTINGS", "EMBEDDEDART", "missing"), "0");
  EXPECT_FALSE(dialog.NewScan().EmbeddedArt) << "the scan takes the box as it stands";
  Names paths;
  ReadSearchPaths(store, paths);
  EXPECT_EQ(paths, (Names{"/music/b", "/music/a"}));

  TConfigModel again;
  again.FormShow(store, folder.Path() + "plugin/");
  EXPECT_EQ(again.PictureMasks, "*.png") << "the masks the user typed come back";
}

// A value stored as the wrong kind once made the dialog load half its
// settings and overwrite everything with defaults when it closed.
TEST_F(ConfigDialog, UnreadableValuesShowTheirDefaultsAreNamedOnceAndSurviveTheClose) {
  store.WriteInteger("SETTINGS", "LBINFO", 7);  // a number where text belongs
  store.WriteInteger("SETTINGS", "FSORT", 3);
  store.WriteInteger("SETTINGS", "ALPHA", 120);
  store.WriteString("SETTINGS", "FANZEIGE", "Genre");
  WriteSearchPaths(store, {"/music"});
  Show();
  EXPECT_EQ(dialog.UnreadableSettings, (Names{"LBINFO", "FSORT"}));
  EXPECT_EQ(InfoTexts(), (Names{"Artist", "Album", "Genre", "Year"}));
  EXPECT_EQ(TickedInfo(), Names{"Genre"});
  EXPECT_EQ(dialog.SortEntries, (Names{"Album", "Artist", "Genre", "Year"}));
  EXPECT_EQ(dialog.MirrorAlpha(), 120);
  EXPECT_EQ(dialog.SearchPaths, Names{"/music"});
  dialog.FormClose(store);
  EXPECT_EQ(store.ReadInteger("SETTINGS", "LBINFO", -1), 7);
  EXPECT_EQ(store.ReadInteger("SETTINGS", "FSORT", -1), 3);
  EXPECT_EQ(store.ReadInteger("SETTINGS", "ALPHA", -1), 120);
  EXPECT_EQ(store.ReadString("SETTINGS", "FANZEIGE", ""), "Genre");

  // Changed by the user, the value is written in its proper kind.
  Show();
  dialog.SelectedSort = 3;
  dialog.DragOver(TDragList::Sort, TDragList::Sort, 0);
  dialog.FormClose(store);
  EXPECT_EQ(store.ReadString("SETTINGS", "FSORT", ""), "Year,Album,Artist,Genre");
  EXPECT_EQ(store.ReadInteger("SETTINGS", "LBINFO", -1), 7);
}

TEST_F(ConfigDialog, UntickingEveryInfoEntryStoresAnEmptyCaptionList) {
  Show();
  for (TInfoEntry& entry : dialog.InfoEntries) entry.Checked = false;
  dialog.FormClose(store);
  EXPECT_EQ(store.ReadString("SETTINGS", "FANZEIGE", "missing"), "");
  EXPECT_EQ(CaptionKeys(), "");
}

// A size clamped to the slider's lowest position moves no slider, yet the view
// must take what is shown.
TEST_F(ConfigDialog, SlidersStayInTheirRangesAndTheShownSizeIsAlwaysReported) {
  int changes = 0;
  dialog.OnSizeChange = [&] { ++changes; };
  store.WriteInteger("SETTINGS", "FSIZE", 10);
  store.WriteInteger("SETTINGS", "ALPHA", -3);
  Show();
  EXPECT_EQ(dialog.CoverSize(), 50);
  EXPECT_EQ(dialog.MirrorAlpha(), 0);
  EXPECT_EQ(changes, 1);
  dialog.SetCoverSize(40);
  EXPECT_EQ(changes, 1);
  dialog.SetCoverSize(60);
  EXPECT_EQ(changes, 2);
}

TEST_F(ConfigDialog, SameFolderTwiceIsListedTwiceAndStoredOnce) {
  Show();
  dialog.AddSearchPath("/music");
  dialog.AddSearchPath("/music");
  EXPECT_EQ(dialog.SearchPaths, (Names{"/music", "/music"}));
  dialog.FormClose(store);
  Names paths;
  ReadSearchPaths(store, paths);
  EXPECT_EQ(paths, Names{"/music"});
}

TEST_F(ConfigDialog, DeleteRemovesOnlyTheSelectedPath) {
  dialog.SearchPaths = {"/a", "/b", "/c"};
  dialog.DeleteSearchPath();  // nothing selected
  EXPECT_EQ(dialog.SearchPaths.size(), 3u);
  dialog.SelectedPath = 1;
  dialog.DeleteSearchPath();
  EXPECT_EQ(dialog.SearchPaths, (Names{"/a", "/c"}));
  EXPECT_EQ(dialog.SelectedPath, -1);
}

TEST_F(ConfigDialog, DraggingYearToTheTopSortsTheAlbumsByYearAtOnce) {
  TOLSaveable albums, hidden;
  albums.Add(Album("B", 1999));
  albums.Add(Album("A", 2005));
  albums.Add(Album("C", 1980));
  dialog.SetAlbums(albums);
  dialog.SetHiddenAlbums(hidden);
  int guardedChanges = 0;
  dialog.ChangeLists = [&](const std::function<void()>& change) {
    ++guardedChanges;
    change();
  };
  Show();
  dialog.SelectedSort = 3;  // "Year", picked up at the bottom
  for (int32_t under : {3, 2, 1, 0}) dialog.DragOver(TDragList::Sort, TDragList::Sort, under);
  EXPECT_EQ(dialog.SortEntries, (Names{"Year", "Album", "Artist", "Genre"}));
  EXPECT_EQ(dialog.SelectedSort, 0);
  EXPECT_EQ(SortKeys(), "Year,Album,Artist,Genre");
  EXPECT_EQ(albums.Items(0)->Album, "C");
  EXPECT_EQ(albums.Items(2)->Album, "A");
  EXPECT_EQ(guardedChanges, 4) << "every movement re-sorts, and only with the loaders kept off";
}

TEST_F(ConfigDialog, DragsOverEmptySpaceOrFromTheOtherListMoveNothing) {
  Show();
  dialog.SelectedInfo = 0;
  dialog.InfoEntries[0].Checked = true;
  dialog.DragOver(TDragList::Info, TDragList::Info, -1);
  dialog.DragOver(TDragList::Info, TDragList::Sort, 3);
  EXPECT_EQ(dialog.InfoEntries[0].Text, "Artist");
  dialog.DragOver(TDragList::Info, TDragList::Info, 2);
  EXPECT_EQ(InfoTexts(), (Names{"Album", "Genre", "Artist", "Year"}));
  EXPECT_TRUE(dialog.InfoEntries[2].Checked) << "an entry keeps its tick while it moves";

  SetSortKeys("stale");
  dialog.SelectedSort = 0;
  dialog.DragOver(TDragList::Sort, TDragList::Info, 3);
  EXPECT_EQ(dialog.SortEntries[0], "Album");
  EXPECT_EQ(SortKeys(), "Album,Artist,Genre,Year") << "a refused drag still refreshes the sort keys";
}

TEST_F(ConfigDialog, ClosingAppliesTheGenreFilterOnlyAfterAnEdit) {
  TOLSaveable albums, hidden;
  albums.Add(Album("A", 1));
  albums.Items(0)->Genre = "Rock";
  albums.Add(Album("B", 2));
  albums.Items(1)->Genre = "Jazz";
  dialog.SetAlbums(albums);
  dialog.SetHiddenAlbums(hidden);
  Show();
  dialog.Genres.SetAllChecked(false);
  dialog.Genres.GenreFilterChanged = false;  // as if nobody had clicked
  dialog.FormClose(store);
  EXPECT_EQ(albums.Count(), 2);
  dialog.Genres.Toggle(dialog.Genres.IndexOf("Jazz"));
  dialog.FormClose(store);
  ASSERT_EQ(albums.Count(), 1);
  EXPECT_EQ(albums.Items(0)->Album, "B");
  EXPECT_EQ(hidden.Count(), 1);
}
