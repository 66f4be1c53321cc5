// TMarquelle2: the carousel control's state and behaviour, free of any window
// system. The window that shows it supplies a TViewPlatform.
#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/ol_saveable.h"
#include "raster/bitmap32.h"
#include "raster/column_bitmap.h"
#include "raster/projective_transformation.h"
#include "settings/view_settings.h"
#include "view/cover_budget.h"
#include "view/cover_commands.h"
#include "view/cover_loader.h"
#include "view/frame_pacer.h"
#include "view/keyboard_navigation.h"
#include "view/playing_album.h"
#include "view/song_list.h"
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
  // A source that keeps nothing forgets it.
  virtual void WriteFollowPlaying(bool) {}
};

// The platform's settings store for the player's plug-in folder.
TViewSettingsSource& PlatformViewSettings();

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// The scrolling timer as the view sees it; the platform runs the real one.
struct TScrollTimer {
  bool Enabled = false;
  uint32_t Interval = 200;
};

// Which loaders StopLoaders found unfinished, for ResumeLoaders.
struct TUnfinishedLoaders {
  bool Main = false;
  bool Hidden = false;
};

class TMarquelle2 {
 public:
  static constexpr uint32_t kIdleTimerMs = 200;
  static constexpr uint32_t kFastTimerMs = 20;
  static constexpr const char* kEmptyHint = "Goto Config <ALT + K> ...";
  // Every cover's reference square starts this far below the top.
  static constexpr float kCoverTop = 20.0f;
  static constexpr int32_t kPanelStripHeight = 25;

  explicit TMarquelle2(TViewPlatform& platform, TViewSettingsSource& settings = PlatformViewSettings());
  // Stops the loaders (waiting for them) before anything they walk is freed.
  ~TMarquelle2();
  TMarquelle2(const TMarquelle2&) = delete;
  TMarquelle2& operator=(const TMarquelle2&) = delete;

  // --- Core: start-up, layout, size, painting (marquelle2.cpp) ---
  // Run each time the host form is shown.
  void Start();
  // Loads, counts and orders the library, starts the loaders, lays out.
  void OpenLibrary();
  // The reading part of OpenLibrary alone: load, count, order, fix CurrentIndex.
  void ReadLibrary();
  void Layout();
  // The control's size changed (the frame buffer follows it first).
  void Resize(int32_t width, int32_t height);
  // The screen wants the control's pixels; the frame buffer is already copied.
  void Paint(TScreenCanvas& canvas);
  int32_t ViewHeight() const { return ViewHeightFor(SizeFactor); }
  void StopScrolling() { ScrollDirection = 0; }
  int32_t Width() const { return FrameBuffer.Width(); }
  int32_t Height() const { return FrameBuffer.Height(); }

  // --- Cover loaders (view_loaders.cpp) ---
  // Stops any running loaders, then starts the forward and backward loaders
  // on Albums from CurrentIndex and the hidden loader on HiddenAlbums from 0.
  void StartLoaders();
  // Stops all three loaders and waits until none can touch a list any more.
  // Sorting or filtering the album lists must happen only while no loader
  // runs: call StopLoaders, change the lists (and AlbumCount, CurrentIndex),
  // then ResumeLoaders with what StopLoaders returned; TLoaderPause does both.
  TUnfinishedLoaders StopLoaders();
  // Starts again the loaders of the lists whose walk had not finished.
  // Albums already prepared are skipped, so this costs little.
  void ResumeLoaders(TUnfinishedLoaders unfinished);
  // Every cover of both lists prepared here and now, without loader threads.
  void PrepareAllCovers();

  // --- Settings command (settings_command.cpp) ---
  // The settings dialog with the view's lists, and what the view takes back.
  void OpenSettings();

  // --- Frame composition (frame_composition.cpp) ---
  // The slot whose Position is position, searched in creation order.
  TBitmap33& SlotAt(int32_t position);
  // The cover of album albumIndex (taken cyclically) with its mirror into slot.
  void FillSlot(int32_t albumIndex, TBitmap33& slot);
  // The album's cover; i is taken cyclically over AlbumCount.
  TBitmap33& CoverOf(int32_t i);
  std::string CaptionOf(int32_t i) const;
  // Draws and shows the carousel at rest; nothing while AlbumCount is 0.
  void DrawRestFrame();
  // The library has just become empty: the covers and caption give way to
  // a black frame, over which the screen's painting writes the hint.
  void DrawEmptyView();
  // Draws and shows frame step (0..StepCount, before the curve) of a step to
  // the previous album.
  void DrawMovingFrame(int32_t step);
  // Fills all six slots around CurrentIndex, draws the rest frame and starts
  // the timer. While a step runs it is done when the step ends.
  void RefillSlots();

  // --- Scrolling and animation (scrolling.cpp) ---
  void StepPrevious();
  void StepNext();
  // The slot work of each step, done after the frames of a step to the
  // previous album and before those of a step to the next: the incoming
  // album's cover into the slot that turns spare or outer right, and the
  // positions moved one place.
  void BringInPrevious();
  void BringInNext();
  // The curved frame number of frame step of the running step.
  int32_t ApplyCurve(int32_t step) const;
  void TimerTick();
  void MouseMove(int32_t x, int32_t y);
  void MouseDown(TMouseButton button, int32_t x, int32_t y);
  void MouseUp(TMouseButton button, int32_t x, int32_t y);
  // A press on the control panel at panel coordinate a (1..100).
  void PanelClick(int32_t a);
  // One wheel notch with its signed delta: a step queued, never lost.
  void CMMouseWheel(int32_t delta);
  bool DoMouseWheel(int32_t delta);
  void SetTimerEnabled(bool enabled);
  // One step to the previous (direction < 0) or next album, run now, or
  // after the running step; steps that had to wait run quick.
  void QueueStep(int32_t direction);
  // Brings album albumIndex (taken cyclically) straight to the middle: the
  // slots are filled again and the rest frame drawn. Mid-step it is done
  // when the step ends.
  void JumpTo(int32_t albumIndex);

  // --- The playing album (playing_album.cpp) ---
  void ShowPlayingAlbum() { Playing.Show(); }
  // "Follow the playing album", kept in the settings store.
  void SetFollowPlaying(bool follow);

  // --- Keys and type-to-jump (keyboard_navigation.cpp) ---
  void KeyDown(TViewKey key) { if (!Inert) Keys.KeyDown(key); }
  void CharTyped(char32_t c) { if (!Inert) Keys.CharTyped(c); }

  // --- Cover commands (cover_commands.cpp) ---
  void PasteCover() { Covers.PasteCover(); }
  void LoadCover() { Covers.LoadCover(); }
  void FindMissingCovers() { Covers.FindMissingCovers(); }
  void SaveCover(const TCoverPicture& picture) { Covers.SaveCover(picture); }

  // --- Song list (song_list.cpp): the view's song grid is SongList ---
  // A left click (press and release) on the view.
  void Click();
  // Enter and Escape: the middle album's song list in, or out again.
  void OpenSongList();
  void CloseSongList();
  void FlipSongList() { SongList.FlipSongList(); }
  void PaintGridInto(TBitmap32& bitmap) { SongList.PaintGridInto(bitmap); }
  void PlaySong() { SongList.PlaySong(); }
  void PlayAlbum(int32_t col, int32_t row) { SongList.PlayAlbum(col, row); }

  TViewPlatform& Platform;
  TViewSettingsSource& Settings;
  TBitmap32 FrameBuffer;

  bool UseControlPanel = false;
  TBitmap33 PanelImage;
  TSongList SongList{*this};
  uint8_t CurveMode = 0;
  double CurveA = 0;
  double CurveB = 0;
  double SizeFactor = 0;
  // Set on a loader's thread, read by the timer.
  std::atomic<bool> HiddenLoaderDone{false};
  std::atomic<bool> MainLoadersDone{false};
  // Written only by FillSlot, which also makes the column copy frames are
  // drawn from; anything else that wrote a slot would not be seen.
  std::array<TBitmap33, 6> Slots;
  TProjectiveTransformation Transformation;
  TFloatRect SourceRect{0, 0, 250, 250};
  TScrollTimer Timer;
  // CoverSide and the five x positions.
  TCarouselPlaces Places;
  bool FastMode = false;
  int32_t ScrollDirection = 0;
  int32_t StepCount = 50;
  int32_t AlbumCount = 0;
  int32_t CurrentIndex = 0;
  TOLSaveable Albums;
  TOLSaveable HiddenAlbums;
  bool Busy = false;
  // While a modal dialog of the view is open: pointer, clicks and wheel do
  // nothing, so the carousel neither scrolls nor opens the song list.
  bool Inert = false;
  int32_t CaptionShift = 0;
  std::string PluginFolder;
  std::vector<std::string> SearchPaths;
  int32_t PressX = 0;
  int32_t StepDuration = 1000;
  // How a loader prepares a claimed album; tests slow it down or reorder it.
  std::function<void(TAlbum&)> CoverPreparation = PrepareAndHandOverCover;
  // COVERMEMORY: which covers stay prepared; guides the loaders when limited.
  TCoverBudget CoverBudget;
  std::unique_ptr<TSearchThread> ForwardLoader;
  std::unique_ptr<TSearchThread> BackwardLoader;
  std::unique_ptr<TSearchThread> HiddenLoader;
  int32_t MirrorAlpha = 60;
  TWinkel Angles;
  bool ReverseScroll = false;
  TCoverCommands Covers{*this};
  TKeyboardNavigation Keys{*this};
  TPlayingAlbum Playing{*this};

 private:
  // Busy for one scope, cleared however the scope is left.
  class TBusyScope {
   public:
    explicit TBusyScope(TMarquelle2& view) : view_(view) { view_.Busy = true; }
    ~TBusyScope() { view_.Busy = false; }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

   private:
    TMarquelle2& view_;
  };

  void ApplyStartupSettings();
  int32_t Wrapped(int32_t i) const;
  TAlbum& AlbumOf(int32_t i) const;
  void DrawCoverAt(const TBitmap33& slot, float x, float angle);
  void CopySlotColumns(size_t slot);
  // The caption of the album, or the search text being typed.
  void DrawCaptionLine(int32_t albumIndex, bool opaqueBackground);
  void DrawControlPanel();
  void SetTimerInterval(uint32_t intervalMs);
  // Every slot's Position moves by shift places, modulo 6.
  void ShiftPositions(int32_t shift);
  void FinishStep(int64_t startMs);
  // Frame step of the running step, drawn only when it shows something new,
  // then the wait for the next frame slot, handling messages.
  void PacedFrame(int32_t step);
  // Frames of the running step, and the step (0..StepCount) frame stands
  // for: a quick step draws a share of the frames along the same curve.
  int32_t StepFrames() const;
  int32_t StepOfFrame(int32_t frame) const;
  void RunQueuedSteps();
  void MoveToNextIndex();
  void RunPendingRefill();
  std::unique_ptr<TSearchThread> NewLoader(TOLSaveable& list, bool backward, int32_t startIndex,
                                           std::atomic<bool>& doneFlag);
  void StartMainLoaders();
  void StartHiddenLoader();
  // Loader side: asks the view's thread for RefillSlots; requests made
  // before that refill has run cost nothing more.
  void RequestRefill();
  // Loader side: a cover arrived; a slot showing that album must be refilled.
  void CoverArrived(const TOLSaveable& list, int32_t albumIndex);
  void RequestSlotRefresh();
  // Fills again the slots whose album's cover arrived after their fill.
  void RefreshStaleSlots();
  void CleanUpLoaders();
  // The budget takes the lists as they are now, unless it holds them already.
  void AttachCoverBudget();
  // Starts loaders again where covers near the middle were released or
  // never prepared (after a scan, a re-sort, or loaders that had finished).
  void ResumeLoadersWithWork();

  TFramePacer pacer_{Platform};
  // A quick step takes this share of the frames of an animated one.
  static constexpr int32_t kQuickStepShare = 4;
  // Wheel notches and arrow keys not yet run, signed by direction.
  int32_t queuedSteps_ = 0;
  bool quickStep_ = false;
  // The album a jump asked for during a step; -1 for none.
  int32_t pendingJump_ = -1;
  bool refillPending_ = false;
  std::atomic<bool> refillRequested_{false};
  // The album index each of Slots shows (-1: none yet). Written on the view's
  // thread before the slot takes the album's lock, read by the loaders after
  // their hand-over, so a cover that arrives too late for a fill is seen.
  std::array<std::atomic<int32_t>, 6> slotAlbums_ = {-1, -1, -1, -1, -1, -1};
  // Set when a slot's album got its cover after the slot was filled.
  std::array<std::atomic<bool>, 6> slotStale_ = {false, false, false, false, false, false};
  std::atomic<bool> slotRefreshRequested_{false};
  // Each slot's pixels column by column, made by FillSlot (the one writer of
  // Slots), with the pixel array they were made from.
  std::array<TColumnBitmap, 6> slotColumns_;
  std::array<const TColor32*, 6> slotColumnsOf_ = {};
};

// Keeps the loaders off the album lists for its lifetime: stops them when
// made, resumes the unfinished ones when it ends. Hold one around any sort or
// filter of Albums or HiddenAlbums; AlbumCount and CurrentIndex must be right
// again before it ends.
class TLoaderPause {
 public:
  explicit TLoaderPause(TMarquelle2& view) : view_(view), unfinished_(view.StopLoaders()) {}
  // A loader that cannot be started again leaves its covers unprepared.
  ~TLoaderPause();
  TLoaderPause(const TLoaderPause&) = delete;
  TLoaderPause& operator=(const TLoaderPause&) = delete;

 private:
  TMarquelle2& view_;
  TUnfinishedLoaders unfinished_;
};

}  // namespace tavio
