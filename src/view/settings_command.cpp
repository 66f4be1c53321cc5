#include "view/settings_command.h"

#include "library/compare_albums.h"
#include "library/library_files.h"
#include "settings/settings_keys.h"
#include "view/inert_view.h"

namespace tavio {

void TMarquelle2::OpenSettings() { TSettingsCommand(*this).OpenSettings(); }

void TSettingsCommand::OpenSettings() {
  view_.ScrollDirection = 0;
  TConfigModel dialog;
  HandOver(dialog);
  {
    TInertView inert(view_);
    view_.Platform.ShowSettingsDialog(dialog);
  }
  TakeBack(dialog);
  if (!view_.Timer.Enabled) view_.SetTimerEnabled(true);
  // The genre filter may have hidden every album.
  if (view_.AlbumCount == 0) view_.DrawEmptyView();
  view_.RefillSlots();
  SaveLibraryFiles(view_.PluginFolder, view_.Albums, view_.HiddenAlbums);
}

void TSettingsCommand::HandOver(TConfigModel& dialog) {
  dialog.OnScanStart = [this] { StopLoaders(); };
  dialog.OnScanDone = [this] { ResortAlbums(); };
  dialog.SetAlbums(view_.Albums);
  dialog.SetHiddenAlbums(view_.HiddenAlbums);
  dialog.OnSizeChange = [this, &dialog] { ApplyCoverSize(dialog); };
  dialog.OnScanAbandoned = [this] { ResumeLoaders(); };
  dialog.ChangeLists = [this](const std::function<void()>& change) { ChangeLists(change); };
  dialog.CoverMemoryLimit = view_.CoverBudget.Limit();
}

void TSettingsCommand::TakeBack(const TConfigModel& dialog) {
  view_.UseControlPanel = dialog.UseControlPanel;
  view_.AlbumCount = view_.Albums.Count();
  KeepCurrentIndexInRange();
  view_.MirrorAlpha = dialog.MirrorAlpha();
  view_.CurveA = dialog.Curve.FuncA / settings::kCurveScale;
  view_.CurveB = dialog.Curve.FuncB / settings::kCurveScale;
  view_.ReverseScroll = dialog.ReverseScroll;
}

void TSettingsCommand::KeepCurrentIndexInRange() {
  view_.CurrentIndex = view_.AlbumCount > 0 ? view_.CurrentIndex % view_.AlbumCount : 0;
  // INDEX may have come in negative from the store.
  if (view_.CurrentIndex < 0) view_.CurrentIndex += view_.AlbumCount;
}

void TSettingsCommand::StopLoaders() { stoppedLoaders_ = view_.StopLoaders(); }

void TSettingsCommand::ResumeLoaders() {
  view_.ResumeLoaders(stoppedLoaders_);
  stoppedLoaders_ = {};
}

std::string TSettingsCommand::MiddleFolder() const {
  if (view_.AlbumCount <= 0 || view_.CurrentIndex < 0 || view_.CurrentIndex >= view_.Albums.Count()) return "";
  return FolderOf(view_.Albums.Items(view_.CurrentIndex)->CoverFile);
}

bool TSettingsCommand::FindMiddleAgain(const std::string& folder) {
  if (folder.empty()) return false;
  for (int32_t i = 0; i < view_.Albums.Count(); ++i) {
    if (FolderOf(view_.Albums.Items(i)->CoverFile) != folder) continue;
    view_.CurrentIndex = i;
    return true;
  }
  return false;
}

void TSettingsCommand::ResortAlbums() {
  {
    TLoaderPause pause(view_);
    const std::string middle = MiddleFolder();
    view_.AlbumCount = view_.Albums.Count();
    view_.Albums.Sort(CompareAlbums);
    if (!FindMiddleAgain(middle)) view_.CurrentIndex = 0;
  }
  if (view_.AlbumCount == 0) view_.DrawEmptyView();
  view_.RefillSlots();
  view_.Layout();
}

void TSettingsCommand::ApplyCoverSize(const TConfigModel& dialog) {
  view_.SizeFactor = dialog.CoverSize() / settings::kCoverSizeScale;
  view_.Platform.RequestParentLayout();
}

void TSettingsCommand::ChangeLists(const std::function<void()>& change) {
  TLoaderPause pause(view_);
  // Known by its folder: a scan makes new records for the same albums.
  const std::string middle = MiddleFolder();
  change();
  view_.AlbumCount = view_.Albums.Count();
  if (!FindMiddleAgain(middle)) KeepCurrentIndexInRange();
}

}  // namespace tavio
