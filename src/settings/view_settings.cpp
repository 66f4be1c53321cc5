#include "settings/view_settings.h"

#include <algorithm>

#include "library/file_access.h"
#include "library/shared_keys.h"
#include "raster/rounding.h"
#include "settings/legacy_settings_file.h"
#include "settings/plugin_folder.h"
#include "settings/search_paths.h"
#include "settings/settings_keys.h"
#include "settings/tolerant_settings.h"

namespace tavio {
namespace {

using namespace settings;

// Defaults of the legacy file where they differ from the store's: the straight
// movement curve at full size.
constexpr int32_t kFileDefaultMirrorAlpha = 60;
constexpr int32_t kFileDefaultCurveA = 0;
constexpr int32_t kFileDefaultCurveB = 1000000;
constexpr int32_t kFileDefaultCoverSize = 100;

// The dialog's slider shows no other size; the view must not differ from it.
double SizeFactorOf(int32_t percent) { return std::clamp(percent, kMinCoverSize, kMaxCoverSize) / kCoverSizeScale; }

// A hand-edited store may hold any number; the animation divides by it.
int32_t ValidStepCount(int32_t stepCount) { return std::max(stepCount, 1); }

// The legacy file never held it; a negative number is no sensible budget.
int32_t ReadCoverMemory(TSettingsStore& store) {
  const int32_t megabytes = store.ReadInteger(kSettings, kCoverMemory, kDefaultCoverMemory);
  return megabytes < 0 ? kDefaultCoverMemory : megabytes;
}

void ImportLegacyFile(TSettingsStore& store, const std::string& path, TViewSettings& settings) {
  const std::unique_ptr<TLegacySettingsFile> file = OpenLegacySettingsFile(path);
  settings.SearchPaths = file->ListNames(kPaths);
  SetSortKeys(file->ReadString(kSettings, kSortKeys, kDefaultSortKeys));
  SetCaptionKeys(file->ReadString(kSettings, kCaptionKeys, kDefaultCaptionKeys));
  settings.MirrorAlpha = file->ReadInteger(kSettings, kMirrorAlpha, kFileDefaultMirrorAlpha);
  settings.CurrentIndex = file->ReadInteger(kSettings, kCurrentIndex, kDefaultCurrentIndex);
  settings.CurveA = file->ReadInteger(kSettings, kCurveA, kFileDefaultCurveA) / kCurveScale;
  settings.CurveB = file->ReadInteger(kSettings, kCurveB, kFileDefaultCurveB) / kCurveScale;
  const int32_t coverSize = file->ReadInteger(kSettings, kCoverSize, kFileDefaultCoverSize);
  settings.SizeFactor = SizeFactorOf(coverSize);
  settings.StepCount = ValidStepCount(file->ReadInteger(kSettings, kStepCount, kDefaultStepCount));
  settings.ReverseScroll = file->ReadFlag(kSettings, kReverseScroll, false);

  WriteSearchPaths(store, settings.SearchPaths);
  store.WriteString(kSettings, kSortKeys, SortKeys());
  store.WriteString(kSettings, kCaptionKeys, CaptionKeys());
  store.WriteInteger(kSettings, kMirrorAlpha, settings.MirrorAlpha);
  store.WriteInteger(kSettings, kCurveA, Round(settings.CurveA * kCurveScale));
  store.WriteInteger(kSettings, kCurveB, Round(settings.CurveB * kCurveScale));
  store.WriteInteger(kSettings, kCoverSize, coverSize);
  store.WriteFlag(kSettings, kReverseScroll, settings.ReverseScroll);

  // Left in place, the file is simply imported again at the next start.
  DeleteFileAt(path);
}

void ReadStore(TSettingsStore& store, TViewSettings& settings) {
  ReadSearchPaths(store, settings.SearchPaths);
  SetSortKeys(store.ReadString(kSettings, kSortKeys, kDefaultSortKeys));
  SetCaptionKeys(store.ReadString(kSettings, kCaptionKeys, kDefaultCaptionKeys));
  settings.MirrorAlpha = store.ReadInteger(kSettings, kMirrorAlpha, kDefaultMirrorAlpha);
  settings.CurrentIndex = store.ReadInteger(kSettings, kCurrentIndex, kDefaultCurrentIndex);
  settings.CurveA = store.ReadInteger(kSettings, kCurveA, kDefaultCurveA) / kCurveScale;
  settings.CurveB = store.ReadInteger(kSettings, kCurveB, kDefaultCurveB) / kCurveScale;
  settings.SizeFactor = SizeFactorOf(store.ReadInteger(kSettings, kCoverSize, kDefaultCoverSize));
  settings.StepCount = ValidStepCount(store.ReadInteger(kSettings, kStepCount, kDefaultStepCount));
  settings.UseControlPanel = store.ReadFlag(kSettings, kControlPanel, false);
  settings.ReverseScroll = store.ReadFlag(kSettings, kReverseScroll, false);
}

}  // namespace

void ReadStartupSettings(TSettingsStore& store, const std::string& pluginFolder, TViewSettings& settings) {
  settings.PluginFolder = pluginFolder;
  // A value of the wrong type must not keep the plug-in from opening: that
  // key takes its default (the settings dialog reports it) and the rest is read.
  TTolerantSettings tolerant(store);
  const std::string legacyPath = pluginFolder + kLegacySettingsFileName;
  if (FileExists(legacyPath))
    ImportLegacyFile(tolerant, legacyPath, settings);
  else
    ReadStore(tolerant, settings);
  settings.CoverMemory = ReadCoverMemory(tolerant);
  settings.FollowPlaying = tolerant.ReadFlag(kSettings, kFollowPlaying, false);
}

void ReadStartupSettings(TViewSettings& settings) {
  const std::string pluginFolder = CurrentPluginFolder();
  const std::unique_ptr<TSettingsStore> store = OpenSettingsStore();
  ReadStartupSettings(*store, pluginFolder, settings);
}

void WriteViewPosition(TSettingsStore& store, int32_t currentIndex, int32_t stepCount) {
  store.WriteInteger(kSettings, kCurrentIndex, currentIndex);
  store.WriteInteger(kSettings, kStepCount, stepCount);
}

void WriteViewPosition(int32_t currentIndex, int32_t stepCount) {
  WriteViewPosition(*OpenSettingsStore(), currentIndex, stepCount);
}

void WriteFollowPlaying(bool follow) { OpenSettingsStore()->WriteFlag(kSettings, kFollowPlaying, follow); }

}  // namespace tavio
