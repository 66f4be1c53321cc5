#include "view/cover_commands.h"

#include <mutex>

#include "library/library_files.h"
#include "raster/picture_file.h"
#include "view/marquelle2.h"

namespace tavio {

namespace {

// The scroll timer off for one scope, on again however the scope ends.
class TTimerPause {
 public:
  explicit TTimerPause(TMarquelle2& view) : view_(view) { view_.SetTimerEnabled(false); }
  ~TTimerPause() { view_.SetTimerEnabled(true); }
  TTimerPause(const TTimerPause&) = delete;
  TTimerPause& operator=(const TTimerPause&) = delete;

 private:
  TMarquelle2& view_;
};

}  // namespace

void TCoverCommands::Run(TCoverMenuItem item) {
  switch (item) {
    case TCoverMenuItem::JustExit:
      break;
    case TCoverMenuItem::PasteCover:
      PasteCover();
      break;
    case TCoverMenuItem::LoadCover:
      LoadCover();
      break;
  }
}

void TCoverCommands::PasteCover() {
  if (!Source) return;
  const TCoverPicture picture = Source->ClipboardBitmap();
  if (!picture.Empty()) SaveCover(picture);
}

void TCoverCommands::LoadCover() {
  if (!Source || view_.AlbumCount == 0) return;
  TTimerPause pause(view_);
  SaveCover(Source->ChooseWebCover(*view_.Albums.Items(view_.CurrentIndex)));
}

void TCoverCommands::SaveCover(const TCoverPicture& picture) {
  if (picture.Empty() || view_.AlbumCount == 0) return;
  TAlbum& album = *view_.Albums.Items(view_.CurrentIndex);
  const std::string path = StoreCover(album, picture);
  // Shown at the file's own size; the loaders' scaling and bevel are not for it.
  TBitmap32 loaded;
  LoadFromFile(loaded, path);
  {
    std::lock_guard<std::mutex> lock(album.CoverLock);
    album.Cover.TakePixels(std::move(loaded));
    album.CoverReady = true;
  }
  if (view_.Busy) {
    // A menu opened between the frames of a step: the slots are renumbered
    // until it ends, and RefillSlots waits for that.
    view_.RefillSlots();
  } else {
    view_.FillSlot(view_.CurrentIndex, view_.SlotAt(3));
    view_.DrawRestFrame();
  }
  SaveLibraryFiles(view_.PluginFolder, view_.Albums, view_.HiddenAlbums);
}

}  // namespace tavio
