#include "view/song_grid_painter.h"

#include <algorithm>

namespace tavio {

namespace {

void FillRect(TBitmap32& canvas, const TRect& rect, TColor32 color) {
  const TRect area = IntersectRect(rect, canvas.BoundsRect());
  if (area.IsEmpty()) return;
  for (int32_t y = area.Top; y < area.Bottom; ++y) std::fill_n(canvas.Row(y) + area.Left, area.Width(), color);
}

void DrawText(TBitmap32& canvas, int32_t x, int32_t y, const std::string& text, const TFontSpec& font,
              TColor32 color) {
  PaintText(canvas, x, y, text, TTextStyle{font, color, false, kTransparentBlack});
}

}  // namespace

void DrawSongCell(TBitmap32& canvas, const TSongGridModel& grid, const std::string& albumTitle, int32_t col,
                  int32_t row, const TRect& rect, bool selected) {
  FillRect(canvas, rect, kSongGridBackground);
  TColor32 textColor = kOpaqueWhite;
  if (row == 0) {
    // Widened over the grid lines, so the title row is one band.
    FillRect(canvas, TRect{rect.Left - 1, rect.Top, rect.Right + 1, rect.Bottom}, kSongHeaderOrange);
    textColor = kOpaqueBlack;
  } else if (row == 1) {
    FillRect(canvas, rect, kSongHeaderOrange);
    textColor = kOpaqueBlack;
  }
  if (selected) {
    FillRect(canvas, rect, kSongSelectedRow);
    textColor = kOpaqueBlack;
  }
  // The title is drawn whole by every header cell, so whichever cell is
  // painted last it lies on top of the band.
  if (row == 0) {
    DrawText(canvas, 4, 1, albumTitle, kSongTitleFont, textColor);
  } else if (col > 0) {
    DrawText(canvas, rect.Left + 1, rect.Top + 2, grid.CellText(col, row), kSongCellFont, textColor);
  }
}

void PaintSongGrid(TBitmap32& canvas, const TSongGridModel& grid, const std::string& albumTitle) {
  if (grid.Width() <= 0 || grid.Height() <= 0) return;
  // Painted on its own first: a row cut off at the bottom, and the text that
  // overflows its cell, must end at the grid's edges, not the canvas's.
  TBitmap32 picture(grid.Width(), grid.Height());
  picture.Clear(kSongGridBackground);
  for (int32_t row : grid.VisibleRows()) {
    const TRect first = grid.CellRect(0, row);
    const TRect last = grid.CellRect(TSongGridModel::kColumns - 1, row);
    // The cells' fills leave the one-pixel lines at their right and bottom.
    FillRect(picture, TRect{0, first.Top, last.Right + 1, first.Bottom + 1}, kSongGridLines);
    for (int32_t col = 0; col < TSongGridModel::kColumns; ++col)
      DrawSongCell(picture, grid, albumTitle, col, row, grid.CellRect(col, row), row == grid.Selected());
  }
  const TRect area = IntersectRect(picture.BoundsRect(), canvas.BoundsRect());
  for (int32_t y = area.Top; y < area.Bottom; ++y) std::copy_n(picture.Row(y), area.Width(), canvas.Row(y));
}

}  // namespace tavio
