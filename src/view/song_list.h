// TSongList: the album's song list over the middle cover. It builds the list
// from the album's folder, flips it in and out, plays songs and the album,
// and takes the input of the grid's window. The view owns it.
#pragma once
#include <cstdint>
#include <string>

#include "player/player_messenger.h"
#include "raster/bitmap32.h"
#include "view/song_grid_model.h"
#include "view/song_grid_screen.h"

namespace tavio {

class TMarquelle2;

class TSongList {
 public:
  static constexpr int32_t kTop = 20;

  explicit TSongList(TMarquelle2& view);
  TSongList(const TSongList&) = delete;
  TSongList& operator=(const TSongList&) = delete;

  // The window that shows the grid; none (the default) shows nothing.
  void AttachScreen(TSongGridScreen* screen) { screen_ = screen; }
  // The player the play actions talk to; the platform's by default.
  void UsePlayer(TPlayerMessenger& player) { player_ = &player; }

  // The click on the view, with the view already Busy: when the last press
  // was over the middle cover, rebuilds the list and flips it in or out.
  void Click();
  // Rebuilds the middle album's list and flips it in or out, wherever the
  // last press was.
  void Turn();
  // Animates the turn between the middle cover and the list and toggles
  // the list. Handles no window messages meanwhile.
  void FlipSongList();
  // Takes the list away at once, without the flip.
  void Hide();
  // The grid as on screen into bitmap, with its top-left at (0, 0).
  void PaintGridInto(TBitmap32& bitmap);
  // Plays the selected song; nothing without one.
  void PlaySong();
  // A click on header cell (col, row): row 0 plays every song of the list.
  void PlayAlbum(int32_t col, int32_t row);

  bool Visible() const { return visible_; }
  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  const TSongGridModel& Grid() const { return grid_; }
  // The header row's text: the middle album, which may have moved on since
  // the rows were read.
  std::string AlbumTitle() const;

  // Input of the grid's window, in the grid's coordinates.
  void GridMouseDown(int32_t x, int32_t y);
  void GridMouseMove(int32_t x, int32_t y);
  void GridMouseUp(int32_t x, int32_t y);
  void GridDoubleClick(int32_t x, int32_t y);
  void GridKey(TGridKey key) { grid_.MoveSelection(key); }
  void GridEnter() { PlaySong(); }
  // Flips the list away, as moving off the middle cover does.
  void GridEscape();
  void GridWheel(int32_t delta);

 private:
  bool PressWasOverMiddleCover() const;
  void ClearFlipArea();
  void DrawFlipFrame(const TBitmap32& picture, float x, float angle);

  TMarquelle2& view_;
  TSongGridScreen* screen_ = nullptr;
  TPlayerMessenger* player_;
  TSongGridModel grid_;
  bool visible_ = false;
  int32_t left_ = 0;
  int32_t top_ = kTop;
  // The header cell the left button went down on, for PlayAlbum.
  TGridCell pressed_;
};

// Frames of each half of the flip: Round(0.8 x stepCount), at least 1.
int32_t FlipFrameCount(int32_t stepCount);

}  // namespace tavio
