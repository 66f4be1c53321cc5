// TSettingsCommand: the view's settings command: opens the settings dialog
// over the view's album lists with the view's handlers, and takes back what
// the dialog changed once it has closed.
#pragma once
#include "settings/config_model.h"
#include "view/marquelle2.h"

namespace tavio {

class TSettingsCommand {
 public:
  explicit TSettingsCommand(TMarquelle2& view) : view_(view) {}

  void OpenSettings();
  // Before a scan: the loaders stop (and are joined, so the scan need not
  // wait for them to let go of the lists).
  void StopLoaders();
  // After a scan: recount, sort, lay out; the album in the middle stays
  // there if it is still shown, else the first takes its place.
  void ResortAlbums();
  void ApplyCoverSize(const TConfigModel& dialog);

 private:
  // A scan that ended without a result: the loaders it stopped go on.
  void ResumeLoaders();
  // Runs a change of the lists with the loaders kept off them, then brings
  // AlbumCount and CurrentIndex up to date, keeping the middle album.
  void ChangeLists(const std::function<void()>& change);
  void HandOver(TConfigModel& dialog);
  void TakeBack(const TConfigModel& dialog);
  void KeepCurrentIndexInRange();
  // The middle album's folder; empty without albums.
  std::string MiddleFolder() const;
  // Puts the album of that folder in the middle; false when none is shown.
  bool FindMiddleAgain(const std::string& folder);

  TMarquelle2& view_;
  TUnfinishedLoaders stoppedLoaders_;
};

}  // namespace tavio
