// The song list's pixels: DrawSongCell for one cell and the whole grid painted
// into a bitmap. The window shows this picture and the flip turns it over, so
// the two cannot disagree.
#pragma once
#include <cstdint>
#include <string>

#include "raster/bitmap32.h"
#include "raster/text_painter.h"
#include "view/song_grid_model.h"

namespace tavio {

inline constexpr TColor32 kSongGridBackground = Color32(21, 21, 21);
inline constexpr TColor32 kSongHeaderOrange = Color32(225, 141, 2);
inline constexpr TColor32 kSongSelectedRow = Color32(192, 220, 192);
inline constexpr TColor32 kSongGridLines = Color32(60, 60, 60);
// Tahoma: on every Windows and in Wine, and legible at 6 points.
inline const TFontSpec kSongTitleFont{"Tahoma", 12, false};
inline const TFontSpec kSongCellFont{"Tahoma", 6, false};

// One cell of the grid at rect (control coordinates), with albumTitle as
// the header row's text.
void DrawSongCell(TBitmap32& canvas, const TSongGridModel& grid, const std::string& albumTitle, int32_t col,
                  int32_t row, const TRect& rect, bool selected);

// The grid as it appears on screen, its top-left at (0, 0) of canvas and
// clipped to canvas; what lies outside the grid's size is left as it was.
void PaintSongGrid(TBitmap32& canvas, const TSongGridModel& grid, const std::string& albumTitle);

}  // namespace tavio
