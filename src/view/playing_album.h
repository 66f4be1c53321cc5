// TPlayingAlbum: which shown album holds the song the player is on. It asks
// the player once a second, marks that album under its cover, brings it to
// the middle on request and, when following is on, whenever the song
// changes. The view owns it.
#pragma once
#include <cstdint>
#include <string>

#include "player/player_messenger.h"
#include "raster/bitmap32.h"

namespace tavio {

class TMarquelle2;

class TPlayingAlbum {
 public:
  static constexpr int64_t kPollMs = 1000;

  explicit TPlayingAlbum(TMarquelle2& view);
  TPlayingAlbum(const TPlayingAlbum&) = delete;
  TPlayingAlbum& operator=(const TPlayingAlbum&) = delete;

  // The player asked; the platform's by default.
  void UsePlayer(TPlayerMessenger& player) { player_ = &player; }
  // The timer: asks the player when a second has passed since the last time.
  void Poll();
  // The playing album's index in the shown list; -1 when no shown album's
  // folder holds the playing file.
  int32_t Index() const;
  // Brings the playing album to the middle; nothing without one.
  void Show();
  // The marks under the covers of the rest frame that show the playing album.
  void DrawMarks();

  // FOLLOWPLAYING: a new song brings its album to the middle.
  bool Follow = false;

 private:
  TMarquelle2& view_;
  TPlayerMessenger* player_;
  std::string folder_;
  int64_t lastPollMs_ = 0;
  bool polled_ = false;
};

}  // namespace tavio
