// The song list: the grid's model and picture, the click that builds it, the
// flip, the play actions and the moves that take it away.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_view_platform.h"
#include "library/id3_test_files.h"
#include "support/temp_folder.h"
#include "view/song_grid_painter.h"

using namespace tavio;
using namespace tavio::test;

namespace {

// Records the player commands as "U104", "C40045", "D:path".
class TRecordingPlayer final : public TPlayerMessenger {
 public:
  TWindowHandle FindWindowOfClass(const std::string&) override { return 1; }
  intptr_t Send(TWindowHandle, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (message == kWmUser) trace.push_back("U" + std::to_string(lParam));
    if (message == kWmCommand) trace.push_back("C" + std::to_string(wParam));
    if (message == kWmCopyData)
      trace.push_back("D:" + std::string(static_cast<const char*>(reinterpret_cast<const TCopyDataRecord*>(lParam)->Bytes)));
    return 0;
  }
  std::vector<std::string> trace;
};

using Trace = std::vector<std::string>;

std::vector<TSongRow> Rows(int32_t count) {
  std::vector<TSongRow> rows;
  for (int32_t i = 1; i <= count; ++i) rows.push_back({"/m/" + std::to_string(i) + ".mp3", "Song " + std::to_string(i)});
  return rows;
}

// The view of 1110 x 370 (CoverSide 254, CenterX 428) whose middle album's
// folder holds songs files 1.mp3 .. songs.mp3 with tracks 1 .. songs.
struct TSongListFixture : TViewFixture {
  explicit TSongListFixture(int32_t songs = 3) : TViewFixture(5) {
    for (int32_t i = 1; i <= songs; ++i) {
      std::string tag = Id3v1Tag("Song " + std::to_string(i), "", "", "", "", 0);
      tag[126] = static_cast<char>(i);  // the ID3v1.1 track
      folder.Write(std::to_string(i) + ".mp3", tag);
    }
    view.Albums.Items(0)->CoverFile = folder.Path() + "folder.jpg";
    view.SongList.UsePlayer(player);
    view.StepCount = 5;
  }
  void OpenList() {
    view.PressX = view.Places.CenterX + 1;
    view.Click();
  }
  TColor32 Rgb(int32_t x, int32_t y) const { return view.FrameBuffer.GetPixel(x, y) | 0xFF000000u; }

  TTempFolder folder;
  TRecordingPlayer player;
};

}  // namespace

TEST(SongGridModel, MarginsCentreTheTextColumnsAndNeverGoNegative) {
  TSongGridModel grid;
  grid.SetMargins(254);
  EXPECT_EQ(grid.ColWidth(0), 14);  // Round(14.5) = 14
  EXPECT_EQ(grid.ColWidth(3), 14);
  grid.SetMargins(256);
  EXPECT_EQ(grid.ColWidth(0), 16);  // Round(15.5) = 16
  grid.SetMargins(62);
  EXPECT_EQ(grid.ColWidth(0), 0);
}

TEST(SongGridModel, SelectionScrollsTheSongRowsButNeverTheHeader) {
  TSongGridModel grid;
  grid.SetSongs(Rows(30));
  grid.SetMargins(254);
  grid.SetSize(256, 262);  // header 56 pixels, then ten whole rows of 19
  EXPECT_EQ(grid.Selected(), 2);
  for (int i = 0; i < 10; ++i) grid.MoveSelection(TGridKey::Down);
  EXPECT_EQ(grid.Selected(), 12);
  EXPECT_EQ(grid.TopRow(), 3);
  EXPECT_EQ(grid.CellAt(20, 5), (TGridCell{1, 0}));
  EXPECT_EQ(grid.CellAt(20, 40), (TGridCell{1, 1}));
  EXPECT_EQ(grid.CellAt(20, 56), (TGridCell{1, 3}));
  grid.MoveSelection(TGridKey::End);
  EXPECT_EQ(grid.Selected(), 31);
  EXPECT_EQ(grid.TopRow(), 22);
  grid.MoveSelection(TGridKey::PageUp);
  EXPECT_EQ(grid.Selected(), 21);
  grid.MoveSelection(TGridKey::Home);
  EXPECT_EQ(grid.TopRow(), 2);
  grid.MoveSelection(TGridKey::Up);
  EXPECT_EQ(grid.Selected(), 2);
  grid.ScrollBy(100);
  EXPECT_EQ(grid.TopRow(), 22);
  EXPECT_EQ(grid.Selected(), 2);  // the wheel scrolls, it does not select
  grid.ScrollBy(-100);
  EXPECT_EQ(grid.TopRow(), 2);
  // Below the last row and right of the last column there is no cell.
  grid.SetSongs(Rows(1));
  EXPECT_EQ(grid.CellAt(250, 100), (TGridCell{3, -1}));
}

TEST(SongGridModel, OnlyHeaderRowsLetAColumnBorderBeDragged) {
  TSongGridModel grid;
  grid.SetSongs(Rows(3));
  grid.SetMargins(254);
  grid.SetSize(256, 262);
  EXPECT_FALSE(grid.BeginColumnDrag(40, 70));  // a song row
  ASSERT_TRUE(grid.BeginColumnDrag(41, 40));   // column 1's border is at 15 + 25
  grid.DragColumnTo(60);
  EXPECT_EQ(grid.ColWidth(1), 45);
  grid.DragColumnTo(3);
  EXPECT_EQ(grid.ColWidth(1), 0);
  grid.EndColumnDrag();
  EXPECT_FALSE(grid.Dragging());
}

TEST(SongGridPainter, HeaderBandSelectedRowAndBackgroundHaveTheirColours) {
  TSongGridModel grid;
  grid.SetSongs(Rows(2));
  grid.SetMargins(254);
  grid.SetSize(256, 262);
  TBitmap32 picture(254, 339);
  PaintSongGrid(picture, grid, "Album");
  const int32_t line = grid.ColWidth(0);  // the line right of column 0
  EXPECT_EQ(picture.GetPixel(line, 10), kSongHeaderOrange);   // the band covers the lines
  EXPECT_EQ(picture.GetPixel(line, 45), kSongGridLines);      // the "Nr" row does not
  EXPECT_EQ(picture.GetPixel(100, 45), kSongHeaderOrange);
  EXPECT_EQ(picture.GetPixel(5, 60), kSongSelectedRow);       // the whole row, margin included
  EXPECT_EQ(picture.GetPixel(100, 80), kSongGridBackground);  // second song
  EXPECT_EQ(picture.GetPixel(100, 93), kSongGridLines);       // below it
  EXPECT_EQ(picture.GetPixel(100, 200), kSongGridBackground);  // no rows here
  EXPECT_EQ(picture.GetPixel(100, 300), kTransparentBlack);    // below the grid: untouched
}

TEST(SongListClick, OpensOnlyWhenTheLastPressWasRightOfTheMiddleCoversLeftEdge) {
  TSongListFixture f;
  f.view.PressX = f.view.Places.CenterX;
  f.view.Click();
  EXPECT_FALSE(f.view.SongList.Visible());
  f.view.PressX = f.view.Places.CenterX + f.view.Places.CoverSide + 1;
  f.view.Click();
  EXPECT_FALSE(f.view.SongList.Visible());
  f.view.PressX = f.view.Places.CenterX + f.view.Places.CoverSide;
  f.view.Click();
  ASSERT_TRUE(f.view.SongList.Visible());
  EXPECT_FALSE(f.view.Busy);
  const TSongGridModel& grid = f.view.SongList.Grid();
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.Selected(), 2);
  EXPECT_EQ(grid.CellText(1, 4), "3");
  EXPECT_EQ(grid.CellText(0, 2).substr(0, f.folder.Path().size()), f.folder.Path());
  EXPECT_EQ((std::vector<int32_t>{f.view.SongList.Left(), f.view.SongList.Top(), grid.Width(), grid.Height()}),
            (std::vector<int32_t>{428, 20, 256, 262}));
  // A click on the middle column while the list is shown takes it away.
  f.view.Click();
  EXPECT_FALSE(f.view.SongList.Visible());
}

TEST(SongListFlip, EachHalfHasFourFifthsOfTheStepsFrames) {
  for (const auto& [steps, frames] : {std::pair{50, 40}, {3, 2}, {1, 1}}) {
    TSongListFixture f;
    f.view.StepCount = steps;
    const int before = f.platform.flushes;
    f.OpenList();
    EXPECT_EQ(f.platform.flushes - before, 2 * frames) << steps;
    EXPECT_EQ(f.platform.messageRounds, 0);
  }
}

TEST(SongListFlip, TheCoverTurnsIntoTheListAndBack) {
  TSongListFixture f;
  f.platform.recordFrames = true;
  f.OpenList();
  const int32_t cx = f.view.Places.CenterX;
  ASSERT_EQ(f.platform.frames.size(), 8u);
  const TBitmap32& opened = f.platform.frames.back();
  EXPECT_EQ(opened.GetPixel(cx + 128, 25) | 0xFF000000u, kSongHeaderOrange);
  EXPECT_EQ(opened.GetPixel(cx + 128, 20 + 60) | 0xFF000000u, kSongSelectedRow);
  EXPECT_EQ(opened.GetPixel(cx + 128, 20 + 200) | 0xFF000000u, kSongGridBackground);
  // The first frame is the cover narrowing about its centre line.
  EXPECT_EQ(AlbumShown(f.platform.frames.front().GetPixel(cx + 127, 100), 5), 0);
  EXPECT_EQ(f.platform.frames.front().GetPixel(cx + 2, 100), kTransparentBlack);
  f.platform.frames.clear();
  f.view.FlipSongList();
  EXPECT_FALSE(f.view.SongList.Visible());
  EXPECT_EQ(AlbumShown(f.platform.frames.back().GetPixel(cx + 128, 100), 5), 0);
}

TEST(SongListFlip, ARefillAskedMeanwhileWaitsUntilTheListIsIn) {
  TSongListFixture f;
  f.platform.timerEnabled = false;
  bool refillRanBusy = false;
  f.platform.onFlush = [&] {
    if (f.view.Busy) f.view.RefillSlots();
    refillRanBusy |= f.view.Busy && f.platform.timerEnabled;
  };
  f.OpenList();
  EXPECT_FALSE(refillRanBusy);
  EXPECT_TRUE(f.platform.timerEnabled);
  EXPECT_TRUE(f.view.SongList.Visible());
}

TEST(SongListPlay, TheTitleHeaderPlaysTheAlbumOnlyWhenPressedAndReleasedOnIt) {
  TSongListFixture f(2);
  f.OpenList();
  TSongList& list = f.view.SongList;
  const std::string a = "D:" + f.folder.Path() + "1.mp3", b = "D:" + f.folder.Path() + "2.mp3";
  list.GridMouseDown(30, 40);  // "Nr"
  list.GridMouseUp(30, 40);
  list.GridMouseDown(100, 10);  // title, released on a song
  list.GridMouseUp(100, 60);
  EXPECT_TRUE(f.player.trace.empty());
  list.GridMouseDown(100, 10);
  list.GridMouseUp(120, 12);
  EXPECT_EQ(f.player.trace, (Trace{"U104", "U101", a, b, "C40045"}));
  // A double-click on the title is two clicks.
  f.player.trace.clear();
  list.GridMouseDown(100, 10);
  list.GridMouseUp(100, 10);
  list.GridDoubleClick(100, 10);
  list.GridMouseUp(100, 10);
  EXPECT_EQ(f.player.trace.size(), 10u);
}

TEST(SongListPlay, DoubleClickPlaysTheRowUnderItOrElseTheSelectedSong) {
  TSongListFixture f(2);
  f.OpenList();
  TSongList& list = f.view.SongList;
  list.GridDoubleClick(250, 80);  // the right margin of row 3
  EXPECT_EQ(f.player.trace, (Trace{"U104", "U101", "D:" + f.folder.Path() + "2.mp3", "C40045"}));
  f.player.trace.clear();
  list.GridDoubleClick(100, 200);  // below the last row
  list.GridEnter();
  EXPECT_EQ(f.player.trace.size(), 8u);
  EXPECT_EQ(f.player.trace[2], "D:" + f.folder.Path() + "2.mp3");
}

TEST(SongListPlay, AFolderWithoutSongsShowsTheHeaderAndPlaysAnEmptyAlbum) {
  TSongListFixture f(0);
  f.view.Albums.Items(0)->CoverFile = f.folder.Path() + "gone/folder.jpg";
  f.OpenList();
  ASSERT_TRUE(f.view.SongList.Visible());
  EXPECT_EQ(f.view.SongList.Grid().RowCount(), 2);
  f.view.SongList.GridDoubleClick(100, 100);
  EXPECT_TRUE(f.player.trace.empty());
  f.view.SongList.GridMouseDown(100, 10);
  f.view.SongList.GridMouseUp(100, 10);
  EXPECT_EQ(f.player.trace, (Trace{"U104", "U101", "C40045"}));
}

TEST(SongListClose, MovingOverASideStackFlipsTheListAwayBeforeItScrolls) {
  TSongListFixture f;
  f.OpenList();
  f.view.MouseMove(100, 300);  // below the covers: nothing
  EXPECT_TRUE(f.view.SongList.Visible());
  f.view.Busy = true;
  f.view.MouseMove(100, 150);
  EXPECT_TRUE(f.view.SongList.Visible());
  f.view.Busy = false;
  f.view.MouseMove(100, 150);
  EXPECT_FALSE(f.view.SongList.Visible());
  EXPECT_EQ(f.view.ScrollDirection, 0);
  f.view.MouseMove(100, 150);
  EXPECT_EQ(f.view.ScrollDirection, -1);
  f.OpenList();
  f.view.SongList.GridEscape();
  EXPECT_FALSE(f.view.SongList.Visible());
  // A new size moves the covers; the list goes at once, not on a mere repeat.
  f.OpenList();
  f.view.Resize(1110, 370);
  EXPECT_TRUE(f.view.SongList.Visible());
  f.view.Resize(900, 300);
  EXPECT_FALSE(f.view.SongList.Visible());
}
