#include "view/song_grid_model.h"

#include <algorithm>
#include <cstdlib>

#include "raster/rounding.h"

namespace tavio {

namespace {

constexpr int32_t kLine = 1;
// The two header rows with their lines.
constexpr int32_t kHeaderHeight = TSongGridModel::kTitleRowHeight + TSongGridModel::kRowHeight + 2 * kLine;

}  // namespace

void TSongGridModel::SetSongs(std::vector<TSongRow> songs) {
  songs_ = std::move(songs);
  topRow_ = kHeaderRows;
  selected_ = songs_.empty() ? -1 : kHeaderRows;
  Changed();
}

std::string TSongGridModel::CellText(int32_t col, int32_t row) const {
  if (row == 1) return col == 1 ? "Nr" : col == 2 ? "Title" : "";
  if (row < kHeaderRows || row >= RowCount()) return "";
  const TSongRow& song = songs_[static_cast<size_t>(row - kHeaderRows)];
  switch (col) {
    case 0:
      return song.Path;
    case 1:
      return std::to_string(row - kHeaderRows + 1);
    case 2:
      return song.Title;
    default:
      return "";
  }
}

std::vector<std::string> TSongGridModel::AllPaths() const {
  std::vector<std::string> paths;
  for (const TSongRow& song : songs_) paths.push_back(song.Path);
  return paths;
}

void TSongGridModel::SetMargins(int32_t coverSide) {
  const int32_t margin = Round((coverSide - colWidths_[1] - colWidths_[2]) / 2.0);
  colWidths_[0] = colWidths_[3] = std::max(margin, 0);
  Changed();
}

void TSongGridModel::SetSize(int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
  topRow_ = std::min(topRow_, MaxTopRow());
  if (selected_ >= 0) ScrollIntoView(selected_);
  Changed();
}

int32_t TSongGridModel::ColLeft(int32_t col) const {
  int32_t left = 0;
  for (int32_t c = 0; c < col; ++c) left += colWidths_[static_cast<size_t>(c)] + kLine;
  return left;
}

int32_t TSongGridModel::RowTop(int32_t row) const {
  if (row < kHeaderRows) return row == 0 ? 0 : kTitleRowHeight + kLine;
  return kHeaderHeight + (row - topRow_) * (kRowHeight + kLine);
}

int32_t TSongGridModel::RowsThatFit() const {
  return std::max((height_ - kHeaderHeight) / (kRowHeight + kLine), 1);
}

int32_t TSongGridModel::MaxTopRow() const { return std::max(kHeaderRows, RowCount() - RowsThatFit()); }

std::vector<int32_t> TSongGridModel::VisibleRows() const {
  std::vector<int32_t> rows{0, 1};
  for (int32_t row = topRow_; row < RowCount() && RowTop(row) < height_; ++row) rows.push_back(row);
  return rows;
}

TRect TSongGridModel::CellRect(int32_t col, int32_t row) const {
  const int32_t left = ColLeft(col), top = RowTop(row);
  return TRect{left, top, left + colWidths_[static_cast<size_t>(col)], top + RowHeight(row)};
}

TGridCell TSongGridModel::CellAt(int32_t x, int32_t y) const {
  TGridCell cell;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return cell;
  // Each cell owns the grid line at its right and bottom edge.
  for (int32_t col = 0; col < kColumns; ++col) {
    const int32_t left = ColLeft(col);
    if (x >= left && x < left + colWidths_[static_cast<size_t>(col)] + kLine) cell.Col = col;
  }
  for (int32_t row : VisibleRows()) {
    const int32_t top = RowTop(row);
    if (y >= top && y < top + RowHeight(row) + kLine) cell.Row = row;
  }
  return cell;
}

void TSongGridModel::ScrollIntoView(int32_t row) {
  if (row < topRow_) topRow_ = row;
  const int32_t fit = RowsThatFit();
  if (row >= topRow_ + fit) topRow_ = row - fit + 1;
}

void TSongGridModel::Select(int32_t row) {
  if (row < kHeaderRows || row >= RowCount()) return;
  selected_ = row;
  ScrollIntoView(row);
  Changed();
}

void TSongGridModel::MoveSelection(TGridKey key) {
  if (songs_.empty()) return;
  const int32_t first = kHeaderRows, last = RowCount() - 1, page = RowsThatFit();
  int32_t row = selected_;
  switch (key) {
    case TGridKey::Up:
      row -= 1;
      break;
    case TGridKey::Down:
      row += 1;
      break;
    case TGridKey::Home:
      row = first;
      break;
    case TGridKey::End:
      row = last;
      break;
    case TGridKey::PageUp:
      row -= page;
      break;
    case TGridKey::PageDown:
      row += page;
      break;
  }
  Select(std::clamp(row, first, last));
}

void TSongGridModel::ScrollBy(int32_t rows) {
  const int32_t top = std::clamp(topRow_ + rows, kHeaderRows, MaxTopRow());
  if (top == topRow_) return;
  topRow_ = top;
  Changed();
}

int32_t TSongGridModel::ColumnBorderAt(int32_t x, int32_t y) const {
  if (y < 0 || y >= kHeaderHeight) return -1;
  int32_t found = -1, nearest = kBorderGrip + 1;
  for (int32_t col = 0; col < kColumns; ++col) {
    const int32_t distance = std::abs(x - (ColLeft(col) + colWidths_[static_cast<size_t>(col)]));
    if (distance <= nearest) {
      found = col;
      nearest = distance;
    }
  }
  return nearest <= kBorderGrip ? found : -1;
}

bool TSongGridModel::BeginColumnDrag(int32_t x, int32_t y) {
  dragCol_ = ColumnBorderAt(x, y);
  return Dragging();
}

void TSongGridModel::DragColumnTo(int32_t x) {
  if (!Dragging()) return;
  colWidths_[static_cast<size_t>(dragCol_)] = std::max(x - ColLeft(dragCol_), 0);
  Changed();
}

}  // namespace tavio
