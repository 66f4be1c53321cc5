// TSongGridModel: the song list's grid as data: its texts, column widths,
// row heights, selected row, scrolling and column-border dragging, and which
// cell a point falls on. The painter draws it; a window only feeds it input.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio {

// One song row: the file (column 0, never drawn) and its title (column 2).
struct TSongRow {
  std::string Path;
  std::string Title;
};

struct TGridCell {
  int32_t Col = -1;
  int32_t Row = -1;
  bool operator==(const TGridCell&) const = default;
};

enum class TGridKey { Up, Down, Home, End, PageUp, PageDown };

class TSongGridModel {
 public:
  static constexpr int32_t kColumns = 4;
  static constexpr int32_t kHeaderRows = 2;
  static constexpr int32_t kTitleRowHeight = 36;
  static constexpr int32_t kRowHeight = 18;
  static constexpr int32_t kNrWidth = 25;
  static constexpr int32_t kTitleWidth = 200;
  // How near a column border (in pixels) a press in the header rows grabs it.
  static constexpr int32_t kBorderGrip = 2;

  // New song rows: the first selected (when there is one), scrolled to the top.
  void SetSongs(std::vector<TSongRow> songs);
  int32_t RowCount() const { return kHeaderRows + static_cast<int32_t>(songs_.size()); }
  int32_t SongCount() const { return static_cast<int32_t>(songs_.size()); }
  // Texts of the rows below the album title; row 0 has none of its own.
  std::string CellText(int32_t col, int32_t row) const;
  // Column 0 of the song rows 2 .. RowCount() - 1, top to bottom.
  std::vector<std::string> AllPaths() const;

  // Equal left and right margins that centre the two text columns over a
  // cover of side coverSide; a negative margin becomes 0.
  void SetMargins(int32_t coverSide);
  int32_t ColWidth(int32_t col) const { return colWidths_[static_cast<size_t>(col)]; }
  int32_t RowHeight(int32_t row) const { return row == 0 ? kTitleRowHeight : kRowHeight; }

  // The control's size; shrinking it keeps the selected row in view.
  void SetSize(int32_t width, int32_t height);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // The first song row shown below the header rows.
  int32_t TopRow() const { return topRow_; }
  // Rows drawn, top to bottom: the header rows, then the song rows from
  // TopRow that reach into the control.
  std::vector<int32_t> VisibleRows() const;
  // A cell's rectangle in control coordinates, without its grid lines (the
  // line follows at the right and bottom edge).
  TRect CellRect(int32_t col, int32_t row) const;
  // The cell under a point; Col and Row are -1 off the columns and rows.
  TGridCell CellAt(int32_t x, int32_t y) const;

  // The selected song row; -1 when there are no songs.
  int32_t Selected() const { return selected_; }
  // Selects a song row (header rows are ignored) and scrolls it into view.
  void Select(int32_t row);
  void MoveSelection(TGridKey key);
  // Scrolls the song rows by rows (positive: down the list).
  void ScrollBy(int32_t rows);

  // A press at (x, y) on a column border in the header rows starts dragging it.
  bool BeginColumnDrag(int32_t x, int32_t y);
  bool Dragging() const { return dragCol_ >= 0; }
  void DragColumnTo(int32_t x);
  void EndColumnDrag() { dragCol_ = -1; }
  // The column whose right border lies under (x, y) in the header rows; -1 for none.
  int32_t ColumnBorderAt(int32_t x, int32_t y) const;

  // Grows with every change a painter must show.
  uint64_t Revision() const { return revision_; }

 private:
  int32_t ColLeft(int32_t col) const;
  int32_t RowTop(int32_t row) const;
  // Song rows that fit whole below the header rows; at least 1.
  int32_t RowsThatFit() const;
  int32_t MaxTopRow() const;
  void ScrollIntoView(int32_t row);
  void Changed() { ++revision_; }

  std::vector<TSongRow> songs_;
  std::array<int32_t, kColumns> colWidths_{0, kNrWidth, kTitleWidth, 0};
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t topRow_ = kHeaderRows;
  int32_t selected_ = -1;
  int32_t dragCol_ = -1;
  uint64_t revision_ = 0;
};

}  // namespace tavio
