#include "view/song_list.h"

#include <algorithm>

#include "library/folder_songs.h"
#include "player/play_sequences.h"
#include "raster/rounding.h"
#include "view/cover_drawing.h"
#include "view/marquelle2.h"
#include "view/song_grid_painter.h"

namespace tavio {

namespace {

// The hourglass for one scope, the cursor from before however it is left.
class TWaitCursor {
 public:
  explicit TWaitCursor(TSongGridScreen* screen) : screen_(screen) {
    if (screen_) screen_->ShowWaitCursor(true);
  }
  ~TWaitCursor() {
    if (screen_) screen_->ShowWaitCursor(false);
  }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

 private:
  TSongGridScreen* screen_;
};

std::vector<TSongRow> RowsOf(const std::vector<TSong>& songs) {
  std::vector<TSongRow> rows;
  rows.reserve(songs.size());
  for (const TSong& song : songs) rows.push_back(TSongRow{song.Folder + song.FileName, song.Title});
  return rows;
}

}  // namespace

void TMarquelle2::Click() {
  if (AlbumCount == 0 || Busy || Inert) return;
  {
    TBusyScope busy(*this);
    SongList.Click();
  }
  RunPendingRefill();
}

void TMarquelle2::OpenSongList() {
  if (AlbumCount == 0 || Busy || SongList.Visible()) return;
  {
    TBusyScope busy(*this);
    SongList.Turn();
  }
  RunPendingRefill();
}

void TMarquelle2::CloseSongList() {
  if (Busy || !SongList.Visible()) return;
  {
    TBusyScope busy(*this);
    SongList.FlipSongList();
  }
  RunPendingRefill();
}

int32_t FlipFrameCount(int32_t stepCount) { return std::max(Round(0.8 * stepCount), 1); }

TSongList::TSongList(TMarquelle2& view) : view_(view), player_(&PlatformPlayerMessenger()) {}

std::string TSongList::AlbumTitle() const {
  if (view_.AlbumCount <= 0 || view_.CurrentIndex < 0 || view_.CurrentIndex >= view_.Albums.Count()) return "";
  return view_.Albums.Items(view_.CurrentIndex)->Album;
}

bool TSongList::PressWasOverMiddleCover() const {
  const TCarouselPlaces& p = view_.Places;
  return p.CenterX < view_.PressX && view_.PressX <= p.CenterX + p.CoverSide;
}

void TSongList::Click() {
  if (PressWasOverMiddleCover()) Turn();
}

void TSongList::Turn() {
  TWaitCursor wait(screen_);
  const TAlbum& album = *view_.Albums.Items(view_.CurrentIndex);
  // A folder that is gone or holds no MP3 gives the header rows alone.
  grid_.SetSongs(RowsOf(ReadFolderSongs(FolderPartOf(album.CoverFile))));
  grid_.SetMargins(view_.Places.CoverSide);
  FlipSongList();
}

void TSongList::PaintGridInto(TBitmap32& bitmap) {
  grid_.SetSize(bitmap.Width() + 2, Round(3.0 * bitmap.Height() / 4.0));
  PaintSongGrid(bitmap, grid_, AlbumTitle());
  // The list on screen reaches 8 pixels further down than its picture.
  grid_.SetSize(grid_.Width(), grid_.Height() + 8);
}

void TSongList::ClearFlipArea() {
  TBitmap32& frame = view_.FrameBuffer;
  const int32_t left = view_.Places.CenterX;
  const TRect area =
      IntersectRect(TRect{left, kTop, left + view_.Places.CoverSide + 4, frame.Height()}, frame.BoundsRect());
  for (int32_t y = area.Top; y < area.Bottom; ++y) std::fill_n(frame.Row(y) + area.Left, area.Width(), kTransparentBlack);
}

void TSongList::DrawFlipFrame(const TBitmap32& picture, float x, float angle) {
  ClearFlipArea();
  DrawCover(view_.FrameBuffer, view_.Transformation, view_.SourceRect, view_.Places.CoverSide, picture,
            static_cast<float>(Round(x)), static_cast<float>(kTop), angle);
  view_.Platform.Flush();
}

void TSongList::FlipSongList() {
  const int32_t side = view_.Places.CoverSide;
  const float centerX = static_cast<float>(view_.Places.CenterX);
  const float half = static_cast<float>(side) / 2.0f;
  TBitmap32 gridPicture(side, Round(4.0 * side / 3.0));
  PaintGridInto(gridPicture);
  // The window would hide the turn of the list going away; it is shown
  // again once the list has come in.
  if (screen_) screen_->HideGrid();
  const TBitmap32& cover = view_.SlotAt(3);
  const TBitmap32& first = visible_ ? gridPicture : cover;
  const TBitmap32& second = visible_ ? cover : gridPicture;
  const int32_t n = FlipFrameCount(view_.StepCount);
  if (side > 0) {
    for (int32_t i = 1; i <= n; ++i) {
      const float share = static_cast<float>(i) / static_cast<float>(n);
      DrawFlipFrame(first, half * share + centerX, 90.0f - 90.0f * share);
    }
  }
  left_ = view_.Places.CenterX;
  top_ = kTop;
  if (side > 0) {
    for (int32_t j = 1; j <= n; ++j) {
      const float share = static_cast<float>(j) / static_cast<float>(n);
      DrawFlipFrame(second, static_cast<float>(Round(centerX + half + half * share) - side), 180.0f - 90.0f * share);
    }
  }
  visible_ = !visible_;
  if (visible_ && screen_) screen_->ShowGrid(left_, top_);
}

void TSongList::Hide() {
  if (!visible_) return;
  visible_ = false;
  if (screen_) screen_->HideGrid();
}

void TSongList::PlaySong() {
  if (grid_.Selected() < 0) return;
  PlayOneSong(*player_, grid_.CellText(0, grid_.Selected()));
}

void TSongList::PlayAlbum(int32_t, int32_t row) {
  if (row != 0) return;
  PlayWholeAlbum(*player_, grid_.AllPaths());
}

void TSongList::GridMouseDown(int32_t x, int32_t y) {
  pressed_ = TGridCell{};
  if (grid_.BeginColumnDrag(x, y)) return;
  const TGridCell cell = grid_.CellAt(x, y);
  if (cell.Row >= TSongGridModel::kHeaderRows) grid_.Select(cell.Row);
  pressed_ = cell;
}

void TSongList::GridMouseMove(int32_t x, int32_t) { grid_.DragColumnTo(x); }

void TSongList::GridMouseUp(int32_t x, int32_t y) {
  if (grid_.Dragging()) {
    grid_.EndColumnDrag();
    return;
  }
  const TGridCell pressed = pressed_;
  pressed_ = TGridCell{};
  const bool header = pressed.Col >= 0 && pressed.Row >= 0 && pressed.Row < TSongGridModel::kHeaderRows;
  if (header && grid_.CellAt(x, y) == pressed) PlayAlbum(pressed.Col, pressed.Row);
}

void TSongList::GridDoubleClick(int32_t x, int32_t y) {
  GridMouseDown(x, y);
  // On a header cell the second click is one more click, ended by the release.
  const int32_t row = grid_.CellAt(x, y).Row;
  if (row == 0 || row == 1 || grid_.Dragging()) return;
  PlaySong();
}

void TSongList::GridEscape() {
  if (visible_ && !view_.Busy) FlipSongList();
}

void TSongList::GridWheel(int32_t delta) {
  // Three rows a notch, as list boxes scroll; a finer wheel at least one.
  int32_t rows = -delta * 3 / 120;
  if (rows == 0 && delta != 0) rows = delta > 0 ? -1 : 1;
  grid_.ScrollBy(rows);
}

}  // namespace tavio
