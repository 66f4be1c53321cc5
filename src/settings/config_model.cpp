#include "settings/config_model.h"

#include <algorithm>
#include <exception>

#include "library/compare_albums.h"
#include "library/file_access.h"
#include "library/library_files.h"
#include "library/shared_keys.h"
#include "settings/comma_text.h"
#include "settings/search_paths.h"
#include "settings/settings_keys.h"

namespace tavio {

using namespace settings;

namespace {

// Moves entries[from] to index to, the others closing up, as a list box does.
template <typename T>
void MoveEntry(std::vector<T>& entries, int32_t from, int32_t to) {
  T moving = std::move(entries[static_cast<size_t>(from)]);
  entries.erase(entries.begin() + from);
  entries.insert(entries.begin() + to, std::move(moving));
}

bool ValidIndex(int32_t index, size_t count) { return index >= 0 && static_cast<size_t>(index) < count; }

// Drags the selected entry onto the entry under the pointer, which then
// becomes the selected one, so the dragged entry follows the pointer.
template <typename T>
void DragEntry(std::vector<T>& entries, int32_t& selected, int32_t index) {
  if (!ValidIndex(selected, entries.size()) || !ValidIndex(index, entries.size())) return;
  MoveEntry(entries, selected, index);
  selected = index;
}

}  // namespace

void TConfigModel::SetAlbums(TOLSaveable& list) {
  albums_ = &list;
  Genres.SetAlbums(list);
}

void TConfigModel::SetHiddenAlbums(TOLSaveable& list) {
  hiddenAlbums_ = &list;
  Genres.SetHiddenAlbums(list);
}

void TConfigModel::SetMirrorAlpha(int32_t position) { mirrorAlpha_ = std::clamp(position, kMinAlpha, kMaxAlpha); }

void TConfigModel::SetCoverSize(int32_t position) {
  const int32_t kept = std::clamp(position, kMinCoverSize, kMaxCoverSize);
  if (kept == coverSize_) return;
  coverSize_ = kept;
  if (OnSizeChange) OnSizeChange();
}

void TConfigModel::FormShow(TSettingsStore& store, const std::string& pluginFolder) {
  Genres.GenreFilterChanged = false;
  ShowScanHint = false;
  LoadSettings(store, pluginFolder);
}

void TConfigModel::FormClose(TSettingsStore& store) {
  if (Genres.GenreFilterChanged && albums_ && hiddenAlbums_) ChangeTheLists([this] { Genres.ApplyGenreFilter(); });
  SaveSettings(store);
}

void TConfigModel::LoadSettings(TSettingsStore& store, const std::string& pluginFolder) {
  PluginFolder = pluginFolder;
  InfoEntries.clear();
  for (std::string& text : ParseCommaText(store.ReadString(kSettings, kInfoListOrder, kDefaultInfoListOrder)))
    InfoEntries.push_back({std::move(text), false});
  SelectedInfo = -1;
  SortEntries = ParseCommaText(store.ReadString(kSettings, kSortKeys, kDefaultSortKeys));
  SelectedSort = -1;
  ReadSearchPaths(store, SearchPaths);
  SelectedPath = -1;
  SetMirrorAlpha(store.ReadInteger(kSettings, kMirrorAlpha, kDefaultMirrorAlpha));
  const std::string captionKeys = store.ReadString(kSettings, kCaptionKeys, kDefaultCaptionKeys);
  Curve.FuncA = store.ReadInteger(kSettings, kCurveA, kDefaultCurveA);
  Curve.FuncB = store.ReadInteger(kSettings, kCurveB, kDefaultCurveB);
  SetCoverSize(store.ReadInteger(kSettings, kCoverSize, kDefaultCoverSize));
  UseControlPanel = store.ReadFlag(kSettings, kControlPanel, false);
  ReverseScroll = store.ReadFlag(kSettings, kReverseScroll, false);
  ScanAll = store.ReadFlag(kSettings, kScanAll, false);
  EmbeddedArt = store.ReadFlag(kSettings, kEmbeddedArt, true);
  for (TInfoEntry& entry : InfoEntries) entry.Checked = captionKeys.find(entry.Text) != std::string::npos;
  Curve.ShowStoredCurve();
}

void TConfigModel::SaveSettings(TSettingsStore& store) {
  // Without the folder the scan's and the view's data files cannot be
  // written; they say nothing about it, and neither does this.
  CreateFolderPath(PluginFolder);
  WriteSearchPaths(store, SearchPaths);
  std::vector<std::string> infoTexts, shownTexts;
  for (const TInfoEntry& entry : InfoEntries) {
    infoTexts.push_back(entry.Text);
    if (entry.Checked) shownTexts.push_back(entry.Text);
  }
  store.WriteString(kSettings, kInfoListOrder, CommaText(infoTexts));
  SetSortKeys(CommaText(SortEntries));
  std::string captionKeys;
  for (const std::string& text : shownTexts) captionKeys += (captionKeys.empty() ? "" : ",") + text;
  SetCaptionKeys(captionKeys);
  store.WriteString(kSettings, kSortKeys, SortKeys());
  store.WriteString(kSettings, kCaptionKeys, CaptionKeys());
  store.WriteInteger(kSettings, kMirrorAlpha, MirrorAlpha());
  store.WriteInteger(kSettings, kCurveA, Curve.FuncA);
  store.WriteInteger(kSettings, kCurveB, Curve.FuncB);
  store.WriteInteger(kSettings, kCoverSize, CoverSize());
  store.WriteFlag(kSettings, kControlPanel, UseControlPanel);
  store.WriteFlag(kSettings, kReverseScroll, ReverseScroll);
  store.WriteFlag(kSettings, kScanAll, ScanAll);
  store.WriteFlag(kSettings, kEmbeddedArt, EmbeddedArt);
}

void TConfigModel::AddSearchPath(const std::string& path) { SearchPaths.push_back(path); }

void TConfigModel::DeleteSearchPath() {
  if (!ValidIndex(SelectedPath, SearchPaths.size())) return;
  SearchPaths.erase(SearchPaths.begin() + SelectedPath);
  SelectedPath = -1;
}

void TConfigModel::DragOver(TDragList target, TDragList source, int32_t index) {
  if (target == source) {
    if (target == TDragList::Info)
      DragEntry(InfoEntries, SelectedInfo, index);
    else
      DragEntry(SortEntries, SelectedSort, index);
  }
  if (target != TDragList::Sort) return;
  SetSortKeys(CommaText(SortEntries));
  if (albums_ && albums_->Count() > 0) ChangeTheLists([this] { albums_->Sort(CompareAlbums); });
}

TLibraryScan TConfigModel::NewScan() const {
  TLibraryScan scan;
  scan.SearchPaths = SearchPaths;
  scan.PictureMasks = PictureMasks;
  scan.ScanAll = ScanAll;
  scan.EmbeddedArt = EmbeddedArt;
  scan.PluginFolder = PluginFolder;
  scan.CoverMemoryLimit = CoverMemoryLimit;
  return scan;
}

void TConfigModel::BeginScan() {
  if (OnScanStart) OnScanStart();
}

void TConfigModel::FinishScan(TOLSaveable& found, const TScanMessageEvent& report,
                              const std::vector<std::string>& loadErrors) {
  TOLSaveable* library = &found;
  if (albums_) {
    ChangeTheLists([&] {
      albums_->Clear();
      if (hiddenAlbums_) hiddenAlbums_->Clear();
      found.OwnsItems = false;
      for (int32_t i = 0; i < found.Count(); ++i) albums_->Add(found.Items(i));
      found.Clear();
      found.OwnsItems = true;
    });
    library = albums_;
  }
  try {
    library->SaveToFile(PluginFolder + kAlbumsFileName);
  } catch (const std::exception&) {
    // The view writes both data files again when the dialog closes.
  }
  if (report) report(ScanSummaryText(library->Count(), loadErrors));
  if (OnScanDone) OnScanDone();
  Genres.AddGenres(*library, true);
}

void TConfigModel::AbandonScan() {
  if (OnScanAbandoned) OnScanAbandoned();
}

void TConfigModel::ChangeTheLists(const std::function<void()>& change) {
  if (ChangeLists)
    ChangeLists(change);
  else
    change();
}

}  // namespace tavio
