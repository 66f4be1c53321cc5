// TLibraryScan: rebuilds the album library from the search paths (folder or
// picture mode), loads and bevels every cover itself and writes "Data.dat".
// The hourglass, the button and the message boxes stay with the dialog.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "library/genre_filter.h"
#include "library/ol_saveable.h"

namespace tavio {

inline constexpr const char* kDefaultPictureMasks = "*.jpg;*.jpeg;*.png;*.bmp";
// The cover file of an album without a picture, after its folder and separator.
inline constexpr const char* kNoPictureName = "xx.xxx";

// How far a scan has come, for a dialog to show meanwhile.
struct TScanProgress {
  // The folders searched so far: folder mode, the album candidates below the
  // search paths; picture mode, every folder walked, the search paths too.
  int32_t FoldersVisited = 0;
  int32_t AlbumsFound = 0;
  // The folder examined last.
  std::string CurrentFolder;
};

using TScanMessageEvent = std::function<void(const std::string& text)>;
using TScanProgressEvent = std::function<void(const TScanProgress& progress)>;

// "N albums found." (also for one album).
std::string AlbumsFoundText(int32_t count);

class TLibraryScan {
 public:
  // The dialog's state at the moment of the scan.
  std::vector<std::string> SearchPaths;  // in list order
  std::string PictureMasks = kDefaultPictureMasks;
  bool ScanAll = false;      // folder mode; picture mode when off
  std::string PluginFolder;  // ends with the path separator
  // The view's lists and the dialog's genre check list; not owned, absent
  // when the dialog was opened without a view.
  TOLSaveable* Albums = nullptr;
  TOLSaveable* HiddenAlbums = nullptr;
  TGenreFilter* Genres = nullptr;
  // Bytes the scan's prepared covers may take together, in scan order (0: no
  // limit). Every picture is still loaded, so a broken one is reported; the
  // covers beyond the limit go back to the unprepared state, for the view's
  // loaders to prepare when they come near the middle.
  int64_t CoverMemoryLimit = 0;

  std::function<void()> OnScanStart;  // the view stops its cover loaders
  std::function<void()> OnScanDone;   // the view re-sorts and redraws
  TScanMessageEvent OnMessage;        // texts for message boxes
  TScanProgressEvent OnProgress;      // after every folder or picture examined
  // Asked before every folder or picture; true ends the scan early.
  std::function<bool()> StopRequested;

  // The whole scan: releases every album of both lists, scans each search
  // path into Albums (or a list of its own), saves "Data.dat" (a failure is
  // ignored), reports the album count, calls OnScanDone and adds the genres
  // found, checked. Exceptions of the callbacks pass on.
  void Execute();

  // Only the walk: every search path scanned into list, nothing saved or
  // reported but progress. False when StopRequested ended it early.
  bool Collect(TOLSaveable& list);

  // One search path each, appending to list. Folder mode: every folder below
  // the path holding an MP3 file, its cover the last match of the first mask
  // that matches there, or none. Picture mode: every matching picture below
  // the path, itself included, whose folder holds an MP3 file.
  void ScanFolders(const std::string& searchPath, TOLSaveable& list);
  void ScanPictures(const std::string& searchPath, TOLSaveable& list);

 private:
  void ScanFolder(const std::string& folder, TOLSaveable& list);
  void ScanPicture(const std::string& folder, const std::string& name, TOLSaveable& list);
  void LoadCover(TAlbum& album, const std::string& pictureFile);
  // Called for each album the list takes, in scan order.
  void KeepWithinLimit(TAlbum& album);
  void Report(const std::string& text) const;
  void ReportProgress(const std::string& folder, int32_t albumsFound) const;
  void EndIfStopRequested() const;

  int32_t foldersVisited_ = 0;
  int64_t keptBytes_ = 0;
};

}  // namespace tavio
