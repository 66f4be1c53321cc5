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
#include "settings/tolerant_settings.h"

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
  TTolerantSettings tolerant(store);
  try {
    ReadSettings(tolerant);
  } catch (...) {
    // The store failed half-way: what is shown now is what closing keeps.
    UnreadableSettings = tolerant.Unreadable();
    loaded_ = CurrentValues();
    throw;
  }
  UnreadableSettings = tolerant.Unreadable();
  loaded_ = CurrentValues();
}

void TConfigModel::ReadSettings(TSettingsStore& store) {
  InfoEntries.clear();
  for (std::string& text : ParseCommaText(store.ReadString(kSettings, kInfoListOrder, kDefaultInfoListOrder)))
    InfoEntries.push_back({std::move(text), false});
  SelectedInfo = -1;
  SortEntries = ParseCommaText(store.ReadString(kSettings, kSortKeys, kDefaultSortKeys));
  SelectedSort = -1;
  ReadSearchPaths(store, SearchPaths);
  SelectedPath = -1;
  PictureMasks = store.ReadString(kSettings, kPictureMasks, kDefaultPictureMasks);
  SetMirrorAlpha(store.ReadInteger(kSettings, kMirrorAlpha, kDefaultMirrorAlpha));
  const std::string captionKeys = store.ReadString(kSettings, kCaptionKeys, kDefaultCaptionKeys);
  Curve.FuncA = store.ReadInteger(kSettings, kCurveA, kDefaultCurveA);
  Curve.FuncB = store.ReadInteger(kSettings, kCurveB, kDefaultCurveB);
  // A stored size out of range is shown clamped; the view must take what is
  // shown even when the slider does not move.
  coverSize_ = std::clamp(store.ReadInteger(kSettings, kCoverSize, kDefaultCoverSize), kMinCoverSize, kMaxCoverSize);
  if (OnSizeChange) OnSizeChange();
  UseControlPanel = store.ReadFlag(kSettings, kControlPanel, false);
  ReverseScroll = store.ReadFlag(kSettings, kReverseScroll, false);
  ScanAll = store.ReadFlag(kSettings, kScanAll, false);
  EmbeddedArt = store.ReadFlag(kSettings, kEmbeddedArt, true);
  for (TInfoEntry& entry : InfoEntries) entry.Checked = captionKeys.find(entry.Text) != std::string::npos;
  Curve.ShowStoredCurve();
}

TDialogValues TConfigModel::CurrentValues() const {
  TDialogValues v;
  v.SearchPaths = SearchPaths;
  std::vector<std::string> infoTexts;
  for (const TInfoEntry& entry : InfoEntries) {
    infoTexts.push_back(entry.Text);
    if (entry.Checked) v.CaptionKeys += (v.CaptionKeys.empty() ? "" : ",") + entry.Text;
  }
  v.InfoOrder = CommaText(infoTexts);
  v.SortKeys = CommaText(SortEntries);
  v.PictureMasks = PictureMasks;
  v.MirrorAlpha = MirrorAlpha();
  v.FuncA = Curve.FuncA;
  v.FuncB = Curve.FuncB;
  v.CoverSize = CoverSize();
  v.ControlPanel = UseControlPanel;
  v.Reverse = ReverseScroll;
  v.ScanAll = ScanAll;
  v.EmbeddedArt = EmbeddedArt;
  return v;
}

void TConfigModel::SaveSettings(TSettingsStore& store) {
  // Without the folder the scan's and the view's data files cannot be
  // written; they say nothing about it, and neither does this.
  CreateFolderPath(PluginFolder);
  const TDialogValues now = CurrentValues();
  const TDialogValues& was = loaded_;
  // The shared values are the view's whatever the store holds.
  SetSortKeys(now.SortKeys);
  SetCaptionKeys(now.CaptionKeys);
  if (now.SearchPaths != was.SearchPaths) WriteSearchPaths(store, now.SearchPaths);
  if (now.InfoOrder != was.InfoOrder) store.WriteString(kSettings, kInfoListOrder, now.InfoOrder);
  if (now.SortKeys != was.SortKeys) store.WriteString(kSettings, kSortKeys, SortKeys());
  if (now.CaptionKeys != was.CaptionKeys) store.WriteString(kSettings, kCaptionKeys, CaptionKeys());
  if (now.PictureMasks != was.PictureMasks) store.WriteString(kSettings, kPictureMasks, now.PictureMasks);
  if (now.MirrorAlpha != was.MirrorAlpha) store.WriteInteger(kSettings, kMirrorAlpha, now.MirrorAlpha);
  if (now.FuncA != was.FuncA) store.WriteInteger(kSettings, kCurveA, now.FuncA);
  if (now.FuncB != was.FuncB) store.WriteInteger(kSettings, kCurveB, now.FuncB);
  if (now.CoverSize != was.CoverSize) store.WriteInteger(kSettings, kCoverSize, now.CoverSize);
  if (now.ControlPanel != was.ControlPanel) store.WriteFlag(kSettings, kControlPanel, now.ControlPanel);
  if (now.Reverse != was.Reverse) store.WriteFlag(kSettings, kReverseScroll, now.Reverse);
  if (now.ScanAll != was.ScanAll) store.WriteFlag(kSettings, kScanAll, now.ScanAll);
  if (now.EmbeddedArt != was.EmbeddedArt) store.WriteFlag(kSettings, kEmbeddedArt, now.EmbeddedArt);
  loaded_ = now;
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
