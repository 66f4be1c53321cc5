#include "view/cover_commands.h"

#include <algorithm>
#include <mutex>

#include "library/library_files.h"
#include "coversearch/missing_covers.h"
#include "raster/picture_file.h"
#include "view/inert_view.h"
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
    case TCoverMenuItem::FindMissingCovers:
      FindMissingCovers();
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

void TCoverCommands::FindMissingCovers() {
  if (!Source) return;
  view_.StopScrolling();
  TInertView inert(view_);
  TTimerPause pause(view_);
  // Storing a cover changes the album's record, which the loaders read.
  const TUnfinishedLoaders unfinished = view_.StopLoaders();
  std::vector<TAlbum*> albums;
  for (TOLSaveable* list : {&view_.Albums, &view_.HiddenAlbums})
    for (int32_t i = 0; i < list->Count(); ++i)
      if (HasNoPicture(*list->Items(i))) albums.push_back(list->Items(i));
  std::vector<const TAlbum*> found;
  try {
    found = Source->FindMissingCovers(
        albums, [this] { SaveLibraryFiles(view_.PluginFolder, view_.Albums, view_.HiddenAlbums); });
  } catch (...) {
    view_.ResumeLoaders(unfinished);
    throw;
  }
  for (TAlbum* album : albums) {
    if (std::find(found.begin(), found.end(), album) == found.end()) continue;
    std::lock_guard<std::mutex> lock(album->CoverLock);
    album->ReleaseCover();
  }
  // The loaders prepare the new pictures as they do any cover, and refill the slots.
  view_.ResumeLoaders({unfinished.Main || !found.empty(), unfinished.Hidden || !found.empty()});
  view_.RefillSlots();
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
