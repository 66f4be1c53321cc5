// TMarquelle2: the carousel control's state and behaviour, free of any window
// system. The window that shows it supplies a TViewPlatform.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "library/ol_saveable.h"
#include "raster/bitmap32.h"
#include "settings/view_settings.h"
#include "view/view_geometry.h"
#include "view/view_platform.h"

namespace tavio {

// The angle of each drawn carousel place, left to right, in degrees.
struct TWinkel {
  int32_t OuterLeft = 20;
  int32_t InnerLeft = 40;
  int32_t Center = 90;
  int32_t InnerRight = 140;
  int32_t OuterRight = 160;
};

// Where the view's settings come from and go to: the platform's store in the
// plug-in, something else in tests and tools.
class TViewSettingsSource {
 public:
  virtual ~TViewSettingsSource() = default;
  virtual void ReadStartup(TViewSettings& settings) = 0;
  virtual void WritePosition(int32_t currentIndex, int32_t stepCount) = 0;
};

// The platform's settings store for the player's plug-in folder.
TViewSettingsSource& PlatformViewSettings();

class TMarquelle2 {
 public:
  static constexpr uint32_t kIdleTimerMs = 200;
  static constexpr const char* kEmptyHint = "Goto Config <ALT + K> ...";

  explicit TMarquelle2(TViewPlatform& platform, TViewSettingsSource& settings = PlatformViewSettings());
  ~TMarquelle2();
  TMarquelle2(const TMarquelle2&) = delete;
  TMarquelle2& operator=(const TMarquelle2&) = delete;

  // Run each time the host form is shown.
  void Start();
  void OpenLibrary();
  void Layout();
  // The control's size changed (the frame buffer follows it first).
  void Resize(int32_t width, int32_t height);
  // The screen wants the control's pixels; the frame buffer is already copied.
  void Paint(TScreenCanvas& canvas);
  int32_t ViewHeight() const { return ViewHeightFor(SizeFactor); }
  void StopScrolling() { ScrollDirection = 0; }
  void DrawRestFrame();

  int32_t Width() const { return FrameBuffer.Width(); }
  int32_t Height() const { return FrameBuffer.Height(); }

  TViewPlatform& Platform;
  TViewSettingsSource& Settings;
  TBitmap32 FrameBuffer;

  bool UseControlPanel = false;
  TBitmap33 PanelImage;
  uint8_t CurveMode = 0;
  double CurveA = 0;
  double CurveB = 0;
  double SizeFactor = 0;
  bool HiddenLoaderDone = false;
  bool MainLoadersDone = false;
  std::array<TBitmap33, 6> Slots;
  TCarouselPlaces Places;
  bool FastMode = false;
  int32_t ScrollDirection = 0;
  int32_t StepCount = 50;
  int32_t AlbumCount = 0;
  int32_t CurrentIndex = 0;
  TOLSaveable Albums;
  TOLSaveable HiddenAlbums;
  bool Busy = false;
  int32_t CaptionShift = 0;
  std::string PluginFolder;
  std::vector<std::string> SearchPaths;
  int32_t PressX = 0;
  int32_t StepDuration = 1000;
  int32_t MirrorAlpha = 60;
  TWinkel Angles;
  bool ReverseScroll = false;

 private:
  void ApplyStartupSettings();
};

}  // namespace tavio
