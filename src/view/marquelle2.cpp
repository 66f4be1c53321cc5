#include "view/marquelle2.h"

#include "library/compare_albums.h"
#include "library/library_files.h"
#include "raster/module_resources.h"
#include "raster/rounding.h"

namespace tavio {
namespace {

class TPlatformViewSettings : public TViewSettingsSource {
 public:
  void ReadStartup(TViewSettings& settings) override { ReadStartupSettings(settings); }
  void WritePosition(int32_t currentIndex, int32_t stepCount) override {
    WriteViewPosition(currentIndex, stepCount);
  }
  void WriteFollowPlaying(bool follow) override { tavio::WriteFollowPlaying(follow); }
};

}  // namespace

TViewSettingsSource& PlatformViewSettings() {
  static TPlatformViewSettings settings;
  return settings;
}

TMarquelle2::TMarquelle2(TViewPlatform& platform, TViewSettingsSource& settings)
    : Platform(platform), Settings(settings) {
  Platform.SetTimer(false, kIdleTimerMs);
  Transformation.SetCorners({{{0, 0}, {250, 0}, {250, 250}, {0, 250}}});
  Transformation.SetSourceRect(SourceRect);
  for (int32_t i = 0; i < 6; ++i) {
    Slots[i].SetSize(250, 333);
    Slots[i].Position = i;
    CopySlotColumns(static_cast<size_t>(i));
  }
  // A missing panel picture leaves the panel empty; nobody is told.
  try {
    LoadFromResourceName(PanelImage, "SCHALTER");
  } catch (...) {
  }
  ApplyStartupSettings();
}

void TMarquelle2::ApplyStartupSettings() {
  TViewSettings s;
  s.StepCount = StepCount;
  s.MirrorAlpha = MirrorAlpha;
  Settings.ReadStartup(s);
  UseControlPanel = s.UseControlPanel;
  CurveA = s.CurveA;
  CurveB = s.CurveB;
  SizeFactor = s.SizeFactor;
  StepCount = s.StepCount < 1 ? 1 : s.StepCount;
  CurrentIndex = s.CurrentIndex;
  MirrorAlpha = s.MirrorAlpha;
  ReverseScroll = s.ReverseScroll;
  CoverBudget.SetLimit(static_cast<int64_t>(s.CoverMemory) * TCoverBudget::kMegabyte);
  PluginFolder = s.PluginFolder;
  SearchPaths = s.SearchPaths;
  Playing.Follow = s.FollowPlaying;
}

TMarquelle2::~TMarquelle2() {
  StopLoaders();
  // Errors while saving are swallowed: destruction must go on.
  try {
    Settings.WritePosition(CurrentIndex, StepCount);
  } catch (...) {
  }
  Platform.SetTimer(false, kIdleTimerMs);
}

void TMarquelle2::Start() {
  Resize(Width(), Height());
  if (AlbumCount == 0) OpenLibrary();
  DrawRestFrame();
}

void TMarquelle2::ReadLibrary() {
  StopLoaders();
  LoadLibraryFiles(PluginFolder, Albums, HiddenAlbums);
  AlbumCount = Albums.Count();
  Albums.Sort(CompareAlbums);
  if (CurrentIndex < 0 || CurrentIndex >= AlbumCount) {
    const int32_t wrapped = AlbumCount > 0 ? CurrentIndex % AlbumCount : 0;
    CurrentIndex = (wrapped >= 0 && wrapped < AlbumCount) ? wrapped : 0;
  }
}

void TMarquelle2::OpenLibrary() {
  ReadLibrary();
  if (AlbumCount > 0) StartLoaders();
  Layout();
}

void TMarquelle2::Layout() {
  if (!LayoutPlaces(Width(), Height(), Places)) return;
  DrawRestFrame();
}

void TMarquelle2::Resize(int32_t width, int32_t height) {
  // The covers move to new places; a list left at the old ones would float.
  if (width != Width() || height != Height()) SongList.Hide();
  FrameBuffer.SetSize(width, height);
  ScrollDirection = 0;
  if (AlbumCount > 0) Layout();
}

void TMarquelle2::Paint(TScreenCanvas& canvas) {
  if (AlbumCount != 0) return;
  canvas.WriteText(Round(Width() / 2.0) - 30, Round(Height() / 2.0), kEmptyHint);
  if (UseControlPanel) canvas.Draw(Width() - 101, Height() - 21, PanelImage);
}

}  // namespace tavio
