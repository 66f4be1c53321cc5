// TConfigModel: the settings dialog without its windows: what its controls
// hold, loading and saving the settings store, the two reorderable lists, the
// genre check list, the curve editor, and taking over a library scan's result.
// The dialog's window (or a test) shows it and feeds it the user's input.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/genre_filter.h"
#include "library/library_scan.h"
#include "library/ol_saveable.h"
#include "settings/curve_editor.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace tavio {

// Runs a change of the view's album lists while nothing else reads them, and
// brings the view's counts up to date afterwards.
using TListChange = std::function<void(const std::function<void()>& change)>;

struct TInfoEntry {
  std::string Text;
  bool Checked = false;
};

// The two lists the user reorders by dragging.
enum class TDragList { Info, Sort };

// Every value closing the dialog may write, in the form it is written.
struct TDialogValues {
  std::vector<std::string> SearchPaths;
  std::string InfoOrder, SortKeys, CaptionKeys, PictureMasks;
  int32_t MirrorAlpha = 0, FuncA = 0, FuncB = 0, CoverSize = 0;
  bool ControlPanel = false, Reverse = false, ScanAll = false, EmbeddedArt = true;
};

class TConfigModel {
 public:
  static constexpr int32_t kMinAlpha = 0;
  static constexpr int32_t kMaxAlpha = 250;
  static constexpr int32_t kMinCoverSize = settings::kMinCoverSize;
  static constexpr int32_t kMaxCoverSize = settings::kMaxCoverSize;

  // --- Set by the view before the dialog is shown; absent without a view ---
  std::function<void()> OnScanStart;  // the view stops its cover loaders
  std::function<void()> OnScanDone;   // the view recounts, sorts, lays out
  // A scan that ended without a result; the view's loaders may go on.
  std::function<void()> OnScanAbandoned;
  std::function<void()> OnSizeChange;  // the view takes CoverSize()
  TListChange ChangeLists;
  // Bytes of covers a scan keeps prepared: the view's budget (0 = no limit);
  // without a view the default budget, since nothing shows them.
  int64_t CoverMemoryLimit = int64_t{settings::kDefaultCoverMemory} * 1024 * 1024;
  // The view's lists: their genres enter the check list, ticked for the shown
  // albums and unticked for the hidden ones.
  void SetAlbums(TOLSaveable& list);
  void SetHiddenAlbums(TOLSaveable& list);
  bool HoldsAlbumLists() const { return albums_ != nullptr; }

  // --- What the controls hold ---
  std::string PluginFolder;
  std::vector<std::string> SearchPaths;  // LBDir
  int32_t SelectedPath = -1;
  std::string PictureMasks = kDefaultPictureMasks;  // EFiles
  bool ScanAll = false;                             // RBScan1; RBScan2 otherwise
  bool EmbeddedArt = true;                          // CBEmbedded
  bool ShowScanHint = false;                        // LInfo
  std::vector<TInfoEntry> InfoEntries;              // LBInfo
  int32_t SelectedInfo = -1;
  std::vector<std::string> SortEntries;  // LSort
  int32_t SelectedSort = -1;
  TCurveEditor Curve;
  bool UseControlPanel = false;  // RBPanel2; RBPanel1 otherwise
  bool ReverseScroll = false;    // CBReverse
  TGenreFilter Genres;           // CBGenre

  int32_t MirrorAlpha() const { return mirrorAlpha_; }  // SAlpha
  void SetMirrorAlpha(int32_t position);
  int32_t CoverSize() const { return coverSize_; }  // TBsize
  // Moves the slider (kept in range); a movement calls OnSizeChange.
  void SetCoverSize(int32_t position);

  // --- The dialog's life ---
  // Clears the genre-changed flag, hides the scan hint, loads the settings.
  void FormShow(TSettingsStore& store, const std::string& pluginFolder);
  // Every way of closing: the genre filter (when edited and the lists are
  // held), then the settings are saved.
  void FormClose(TSettingsStore& store);
  // A value that cannot be read as its kind shows its default and is listed
  // in UnreadableSettings. The cover size shown goes to OnSizeChange.
  void LoadSettings(TSettingsStore& store, const std::string& pluginFolder);
  // Writes only the values that differ from what loading showed, so nothing
  // the user left alone (an unreadable value above all) is overwritten.
  void SaveSettings(TSettingsStore& store);
  // Keys of the last load that gave their defaults, for one report.
  std::vector<std::string> UnreadableSettings;

  // --- The user's edits ---
  void AddSearchPath(const std::string& path);
  // Removes the selected search path only.
  void DeleteSearchPath();
  // The pointer moved over target during a drag that started in source, over
  // the entry at index (-1: no entry there, and nothing moves). The sort list
  // also refreshes the shared sort keys and re-sorts the albums at once.
  void DragOver(TDragList target, TDragList source, int32_t index);

  // --- The library scan ---
  // The walk as the dialog's controls stand now.
  TLibraryScan NewScan() const;
  // Before the walk: the view stops its loaders.
  void BeginScan();
  // After a walk that ran to its end: the albums found replace the whole
  // library (the view's lists, or found alone without a view), "Data.dat" is
  // written, the count and the covers that could not be loaded are reported
  // in one text, the view re-sorts, the new genres are listed ticked. found is
  // left empty when the view took its albums.
  void FinishScan(TOLSaveable& found, const TScanMessageEvent& report,
                  const std::vector<std::string>& loadErrors = {});
  // After a walk that was stopped or failed: the library stays as it was.
  void AbandonScan();

 private:
  void ChangeTheLists(const std::function<void()>& change);
  void ReadSettings(TSettingsStore& store);
  TDialogValues CurrentValues() const;

  int32_t mirrorAlpha_ = kMinAlpha;
  int32_t coverSize_ = kMinCoverSize;
  TOLSaveable* albums_ = nullptr;
  TOLSaveable* hiddenAlbums_ = nullptr;
  // What the controls showed when the settings were loaded.
  TDialogValues loaded_ = CurrentValues();
};

}  // namespace tavio
