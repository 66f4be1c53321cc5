// TCoverCommands: the view's context-menu commands that give the middle album
// a new cover (pasted, or chosen in the web image search) as its folder.jpg,
// or give every album without a picture one found on the web. The clipboard,
// the dialog and the progress window belong to the window: a TCoverPicker.
#pragma once
#include <array>
#include <functional>
#include <vector>

#include "coversearch/cover_picture.h"
#include "coversearch/cover_store.h"
#include "library/album.h"

namespace tavio {

class TMarquelle2;

// Where new covers come from on this platform.
class TCoverPicker {
 public:
  virtual ~TCoverPicker() = default;
  // The clipboard's bitmap; empty when the clipboard holds none.
  virtual TCoverPicture ClipboardBitmap() = 0;
  // Runs the image search dialog for album; the chosen cell's picture, or
  // empty when the dialog was closed without a choice.
  virtual TCoverPicture ChooseWebCover(const TAlbum& album) = 0;
  // Finds covers for albums (each without a picture) on a worker thread,
  // showing progress and a summary; saveLibrary after each cover stored
  // (on that thread). Returns the albums that got a cover.
  virtual std::vector<const TAlbum*> FindMissingCovers(const std::vector<TAlbum*>& albums,
                                                 const std::function<void()>& saveLibrary) = 0;
};

enum class TCoverMenuItem { JustExit, PasteCover, LoadCover, FindMissingCovers };

struct TCoverMenuEntry {
  TCoverMenuItem Item;
  const char* Caption;
  bool SeparatorBefore = false;
};

// The cover part of the context menu, top to bottom.
inline constexpr std::array<TCoverMenuEntry, 4> kCoverMenu{{
    {TCoverMenuItem::JustExit, "Just exit"},
    {TCoverMenuItem::PasteCover, "Insert cover from clipboard"},
    {TCoverMenuItem::LoadCover, "Load cover ..."},
    {TCoverMenuItem::FindMissingCovers, "Find missing covers ...", true},
}};

class TCoverCommands {
 public:
  explicit TCoverCommands(TMarquelle2& view) : view_(view) {}

  void Run(TCoverMenuItem item);
  void PasteCover();
  // The timer is off while the dialog is open, and on again however it ends.
  void LoadCover();
  // Writes folder.jpg beside the middle album's cover file (replacing an old
  // one only once the new one is complete), shows it in the middle slot and
  // saves the library. Errors propagate; an empty picture does nothing.
  void SaveCover(const TCoverPicture& picture);
  // Covers from the chosen source for every album that shows the default
  // one; an album's own picture is never replaced. The view takes no input
  // and its loaders rest meanwhile; found covers are prepared afresh.
  void FindMissingCovers();

  // Set by the window that shows the view; without one the commands do nothing.
  TCoverPicker* Source = nullptr;

 private:
  TMarquelle2& view_;
};

}  // namespace tavio
