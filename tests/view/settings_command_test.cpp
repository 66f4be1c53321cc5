// The view's settings command: what it hands the dialog, what it takes back,
// and a scan from the dialog that either replaces the library whole or, when
// stopped, leaves the lists and "Data.dat" exactly as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fake_view_platform.h"
#include "library/library_files.h"
#include "library/library_scan_files.h"
#include "settings/background_scan.h"
#include "settings/config_model.h"
#include "settings/file_settings_store.h"
#include "support/temp_folder.h"

using namespace tavio;
using namespace tavio::test;

namespace {

class SettingsCommand : public ::testing::Test {
 protected:
  SettingsCommand() : store(folder.Path() + "settings"), fixture(10, 7) {
    fixture.view.PluginFolder = folder.Path();
    for (int32_t i = 0; i < 10; ++i) fixture.view.Albums.Items(i)->Genre = i % 2 ? "Jazz" : "Rock";
  }

  // The user's part: the dialog loads the store, user acts, the dialog closes.
  void OnDialog(std::function<void(TConfigModel&)> user) {
    fixture.platform.onSettingsDialog = [this, user](TConfigModel& dialog) {
      dialog.FormShow(store, folder.Path());
      user(dialog);
      dialog.FormClose(store);
    };
  }

  // Album folders under music/ with MP3 and picture, and one search path.
  std::string WriteLibrary(int32_t count) {
    const std::string music = folder.Path() + "music/";
    for (int32_t i = 0; i < count; ++i) {
      const std::string album = music + "Album" + std::to_string(i) + "/";
      WriteBytes(album + "01.mp3", Mp3WithTags("Scanned", "Album " + std::to_string(i), "2001", "Pop"));
      WriteJpeg(album + "folder.jpg", 8, 8);
    }
    return music;
  }

  // Runs a scan from the dialog as the window would, the fake platform's
  // queue standing in for the dialog's messages.
  void Scan(TConfigModel& dialog, bool stopAtOnce) {
    TBackgroundScan scan([this](std::function<void()> task) { fixture.platform.PostToViewThread(std::move(task)); });
    bool finished = false;
    scan.OnFinished = [&](std::unique_ptr<TOLSaveable> found, const std::vector<std::string>& loadErrors,
                          const std::string&) {
      finished = true;
      if (found)
        dialog.FinishScan(*found, [this](const std::string& text) { messages.push_back(text); }, loadErrors);
      else
        dialog.AbandonScan();
    };
    dialog.BeginScan();
    scan.Start(dialog.NewScan());
    if (stopAtOnce) scan.Stop();
    while (!finished) fixture.platform.Pump();
  }

  TTempFolder folder;
  TFileSettingsStore store;
  TViewFixture fixture;
  std::vector<std::string> messages;
};

}  // namespace

TEST_F(SettingsCommand, ClosingWithoutChangesRefillsTheSlotsAndSavesTheLibrary) {
  OnDialog([](TConfigModel&) {});
  fixture.view.Timer.Enabled = false;
  const int flushesBefore = fixture.platform.flushes;
  fixture.view.ScrollDirection = 1;
  fixture.view.OpenSettings();
  EXPECT_EQ(fixture.platform.settingsDialogs, 1);
  EXPECT_EQ(fixture.view.ScrollDirection, 0);
  EXPECT_TRUE(fixture.platform.timerEnabled);
  EXPECT_GT(fixture.platform.flushes, flushesBefore);
  EXPECT_EQ(fixture.AlbumInSlot(3), 7);
  EXPECT_TRUE(folder.Exists(kAlbumsFileName));
  EXPECT_FALSE(folder.Exists(kHiddenAlbumsFileName));
  EXPECT_EQ(fixture.view.MirrorAlpha, 78);
  EXPECT_DOUBLE_EQ(fixture.view.CurveA, 0.00883);
}

TEST_F(SettingsCommand, GenreFilterLeavingFiveAlbumsMovesTheMiddleFromSevenToTwo) {
  OnDialog([](TConfigModel& dialog) { dialog.Genres.SetChecked(dialog.Genres.IndexOf("Jazz"), false); });
  fixture.view.OpenSettings();
  EXPECT_EQ(fixture.view.AlbumCount, 5);
  EXPECT_EQ(fixture.view.CurrentIndex, 2);
  EXPECT_EQ(fixture.view.HiddenAlbums.Count(), 5);
  EXPECT_TRUE(folder.Exists(kHiddenAlbumsFileName));
}

TEST_F(SettingsCommand, SizeSliderResizesTheViewAndTheDialogsValuesComeBack) {
  OnDialog([](TConfigModel& dialog) {
    dialog.SetCoverSize(90);
    dialog.SetMirrorAlpha(200);
    dialog.ReverseScroll = true;
    dialog.UseControlPanel = true;
    dialog.Curve.ChartMouseMove(true, 50, 80);
  });
  fixture.view.OpenSettings();
  EXPECT_DOUBLE_EQ(fixture.view.SizeFactor, 0.9);
  EXPECT_EQ(fixture.platform.parentLayouts, 2) << "the stored size when shown, then the user's";
  EXPECT_EQ(fixture.view.MirrorAlpha, 200);
  EXPECT_TRUE(fixture.view.ReverseScroll);
  EXPECT_TRUE(fixture.view.UseControlPanel);
  EXPECT_DOUBLE_EQ(fixture.view.CurveA, 0.00625);
  EXPECT_DOUBLE_EQ(fixture.view.CurveB, 0.3125);
}

TEST_F(SettingsCommand, FinishedScanReplacesTheWholeLibrary) {
  fixture.view.HiddenAlbums.Add(PlainAlbum(99));
  const std::string music = WriteLibrary(3);
  OnDialog([&](TConfigModel& dialog) {
    dialog.SearchPaths = {music};
    Scan(dialog, false);
    EXPECT_EQ(dialog.Genres.IndexOf("Pop") >= 0, true);
  });
  fixture.view.OpenSettings();
  EXPECT_EQ(messages, std::vector<std::string>{"3 albums found."});
  EXPECT_EQ(fixture.view.AlbumCount, 3);
  EXPECT_EQ(fixture.view.CurrentIndex, 0);
  EXPECT_EQ(fixture.view.HiddenAlbums.Count(), 0);
  EXPECT_EQ(fixture.view.Albums.Items(0)->Album, "Album 0");
  TOLSaveable saved, hidden;
  LoadLibraryFiles(folder.Path(), saved, hidden);
  EXPECT_EQ(saved.Count(), 3);
}

// A scan prepares every picture it finds; beyond the view's budget a large
// library would exhaust the plug-in's memory before the loaders take over.
TEST_F(SettingsCommand, ScanFromTheDialogKeepsCoversWithinTheViewsBudget) {
  fixture.view.CoverBudget.SetLimit(5 * TCoverBudget::kMegabyte);
  int64_t scanLimit = -1;
  OnDialog([&](TConfigModel& dialog) { scanLimit = dialog.NewScan().CoverMemoryLimit; });
  fixture.view.OpenSettings();
  EXPECT_EQ(scanLimit, 5 * TCoverBudget::kMegabyte);
  EXPECT_GT(TConfigModel().NewScan().CoverMemoryLimit, 0);  // a dialog without a view
}

TEST_F(SettingsCommand, StoppedScanLeavesListsAndDataFileByteForByte) {
  SaveLibraryFiles(folder.Path(), fixture.view.Albums, fixture.view.HiddenAlbums);
  const std::string dataBefore = folder.Read(kAlbumsFileName);
  const std::string music = WriteLibrary(3);
  TAlbum* first = fixture.view.Albums.Items(0);
  OnDialog([&](TConfigModel& dialog) {
    dialog.SearchPaths = {music};
    Scan(dialog, true);
  });
  // The command itself saves the library after the dialog; compare before it.
  fixture.platform.onSettingsDialog = [&, user = fixture.platform.onSettingsDialog](TConfigModel& dialog) {
    user(dialog);
    EXPECT_EQ(folder.Read(kAlbumsFileName), dataBefore);
  };
  fixture.view.OpenSettings();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(fixture.view.AlbumCount, 10);
  EXPECT_EQ(fixture.view.Albums.Items(0), first);
  EXPECT_EQ(fixture.view.CurrentIndex, 7);
  EXPECT_EQ(folder.Read(kAlbumsFileName), dataBefore);
}

// Known by folder: a re-sort, a filter and a scan's new records all keep it.
TEST_F(SettingsCommand, MiddleAlbumStaysInTheMiddleWhenTheOrderChanges) {
  const std::string music = WriteLibrary(4);
  for (int32_t i = 0; i < 10; ++i)
    fixture.view.Albums.Items(i)->CoverFile = music + "Album" + std::to_string(i) + "/folder.jpg";
  fixture.view.Albums.Items(7)->Album = "A first by title";
  // A drop on the sort list sorts again, as any change of the sort keys does.
  OnDialog([](TConfigModel& dialog) { dialog.DragOver(TDragList::Sort, TDragList::Sort, 0); });
  fixture.view.OpenSettings();
  EXPECT_EQ(fixture.view.Albums.Items(0)->Album, "A first by title");
  EXPECT_EQ(fixture.view.CurrentIndex, 0);

  // "Album 3" stays shown by the filter and is found again by the scan.
  for (int32_t i = 0; i < 10; ++i)
    if (fixture.view.Albums.Items(i)->Album == "Album 3") fixture.view.CurrentIndex = i;
  fixture.view.RefillSlots();
  OnDialog([](TConfigModel& dialog) { dialog.Genres.SetChecked(dialog.Genres.IndexOf("Rock"), false); });
  fixture.view.OpenSettings();
  ASSERT_EQ(fixture.view.AlbumCount, 5);
  EXPECT_EQ(fixture.view.Albums.Items(fixture.view.CurrentIndex)->Album, "Album 3");

  OnDialog([&](TConfigModel& dialog) {
    dialog.SearchPaths = {music};
    Scan(dialog, false);
  });
  fixture.view.OpenSettings();
  ASSERT_EQ(fixture.view.AlbumCount, 4);
  EXPECT_EQ(fixture.view.Albums.Items(fixture.view.CurrentIndex)->Album, "Album 3");
}

// Behind an open dialog the carousel once scrolled and opened the song list.
TEST_F(SettingsCommand, PointerClicksAndWheelDoNothingWhileTheDialogIsOpen) {
  TMarquelle2& view = fixture.view;
  OnDialog([&](TConfigModel&) {
    view.MouseMove(5, 10);  // over the left stack
    view.DoMouseWheel(-120);
    view.MouseDown(TMouseButton::mbLeft, 5, 10);
    view.TimerTick();
    view.Click();
    EXPECT_EQ(view.CurrentIndex, 7);
    EXPECT_EQ(view.ScrollDirection, 0);
    EXPECT_FALSE(view.FastMode);
    EXPECT_FALSE(view.SongList.Visible());
  });
  view.OpenSettings();
  view.MouseMove(5, 10);
  EXPECT_EQ(view.ScrollDirection, -1) << "the view takes input again once the dialog has closed";
}

TEST_F(SettingsCommand, ScanThatFindsNothingLeavesABlackViewAndTheStoredSizeIsApplied) {
  store.WriteInteger("SETTINGS", "FSIZE", 10);
  std::filesystem::create_directory(folder.Path() + "empty");
  OnDialog([&](TConfigModel& dialog) {
    dialog.SearchPaths = {folder.Path() + "empty"};
    Scan(dialog, false);
  });
  fixture.view.OpenSettings();
  EXPECT_EQ(messages, std::vector<std::string>{"0 albums found."});
  EXPECT_EQ(fixture.view.AlbumCount, 0);
  EXPECT_EQ(fixture.view.FrameBuffer.GetPixel(555, 150), kOpaqueBlack) << "no old cover";
  EXPECT_DOUBLE_EQ(fixture.view.SizeFactor, 0.5) << "the size the dialog showed";
}
