// The settings the carousel view takes at creation and gives back when it is
// destroyed, with the one-time import of the legacy settings file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace tavio {

// The view's fields that carry a setting, preset with the view's own values
// from before the read.
struct TViewSettings {
  bool UseControlPanel = false;
  double CurveA = 0;
  double CurveB = 0;
  double SizeFactor = 0;
  int32_t StepCount = 50;
  int32_t CurrentIndex = 0;
  int32_t MirrorAlpha = 60;
  bool ReverseScroll = false;
  // COVERMEMORY: megabytes for all prepared covers together, 0 for no limit.
  int32_t CoverMemory = settings::kDefaultCoverMemory;
  bool FollowPlaying = false;
  std::string PluginFolder;
  std::vector<std::string> SearchPaths;
};

// The start-up read for the given plug-in folder: when it holds "Tavio.ini",
// takes the settings from it, copies them into store and deletes the file;
// otherwise reads store. Also sets the shared FSORT and FANZEIGE values.
// Store and file errors are thrown, except a failed deletion.
void ReadStartupSettings(TSettingsStore& store, const std::string& pluginFolder, TViewSettings& settings);

// The same for the player's plug-in folder and the platform's store.
void ReadStartupSettings(TViewSettings& settings);

// The view's destruction: INDEX, then FANZSTEPS.
void WriteViewPosition(TSettingsStore& store, int32_t currentIndex, int32_t stepCount);
void WriteViewPosition(int32_t currentIndex, int32_t stepCount);

// FOLLOWPLAYING, as the view's menu switches it.
void WriteFollowPlaying(bool follow);

}  // namespace tavio
