// TSongGridScreen: what the song list needs of the window that shows its
// grid (placing, showing and hiding it, the wait cursor). The window itself
// paints the list's picture and hands its input to the list.
#pragma once
#include <cstdint>

namespace tavio {

class TSongGridScreen {
 public:
  virtual ~TSongGridScreen() = default;
  // Places the grid at (left, top) of the view with the grid's size, shows
  // it and gives it the keyboard focus.
  virtual void ShowGrid(int32_t left, int32_t top) = 0;
  virtual void HideGrid() = 0;
  // The hourglass while on is true; the cursor from before afterwards.
  virtual void ShowWaitCursor(bool on) = 0;
};

}  // namespace tavio
