// Test doubles for the carousel view: a platform whose clock the test sets,
// whose posted tasks the test pumps and whose flushes can record frames, a
// settings source with fixed values, and in-memory libraries of plain covers.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "library/album.h"
#include "library/shared_keys.h"
#include "view/marquelle2.h"

namespace tavio::test {

class TFakeViewPlatform : public TViewPlatform {
 public:
  void Flush() override {
    ++flushes;
    now += msPerFlush;
    if (recordFrames && frameBuffer) frames.push_back(*frameBuffer);
    if (onFlush) onFlush();
  }
  void ProcessPendingMessages() override {
    ++messageRounds;
    if (onMessages) onMessages();
  }
  // The wait moves the clock on to the slot, as the real one sleeps until it.
  void WaitUntil(int64_t dueMs) override {
    ProcessPendingMessages();
    if (now < dueMs) now = dueMs;
  }
  void SetTimer(bool enabled, uint32_t intervalMs) override {
    timerEnabled = enabled;
    timerInterval = intervalMs;
  }
  int64_t NowMs() override { return now; }
  void PostToViewThread(std::function<void()> task) override {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  // Runs the tasks posted so far on the calling thread; returns how many ran.
  int Pump() {
    std::deque<std::function<void()>> ready;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ready.swap(tasks_);
    }
    for (auto& task : ready) task();
    return static_cast<int>(ready.size());
  }
  // Forgets the posted tasks without running them.
  void Drop() {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.clear();
  }
  void ShowSettingsDialog(TConfigModel& dialog) override {
    ++settingsDialogs;
    if (onSettingsDialog) onSettingsDialog(dialog);
  }
  void RequestParentLayout() override { ++parentLayouts; }
  int PendingTasks() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(tasks_.size());
  }

  int flushes = 0;
  int messageRounds = 0;
  bool timerEnabled = false;
  uint32_t timerInterval = 0;
  int64_t now = 1000;
  int64_t msPerFlush = 0;
  bool recordFrames = false;
  const TBitmap32* frameBuffer = nullptr;
  std::vector<TBitmap32> frames;
  std::function<void()> onFlush;
  std::function<void()> onMessages;
  // Plays the user's part while the settings dialog is open.
  std::function<void(TConfigModel&)> onSettingsDialog;
  int settingsDialogs = 0;
  int parentLayouts = 0;

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
};

// Fixed start-up values; the default curve, mirror alpha and frame count of
// a fresh store unless a test changes them.
class TFakeViewSettings : public TViewSettingsSource {
 public:
  TFakeViewSettings() {
    values.CurveA = 0.00883;
    values.CurveB = 0.03759;
    values.SizeFactor = 0.74;
    values.MirrorAlpha = 78;
    values.StepCount = 50;
  }
  void ReadStartup(TViewSettings& settings) override {
    settings = values;
    SetCaptionKeys(captionKeys);
  }
  void WritePosition(int32_t currentIndex, int32_t stepCount) override {
    writtenIndex = currentIndex;
    writtenStepCount = stepCount;
  }
  void WriteFollowPlaying(bool follow) override { writtenFollow = follow ? 1 : 0; }

  TViewSettings values;
  std::string captionKeys = "Album";
  int32_t writtenIndex = -1;
  int32_t writtenStepCount = -1;
  int32_t writtenFollow = -1;
};

// The opaque colour that tells album i's plain cover apart from the others.
inline TColor32 AlbumColor(int32_t i) { return Color32(40 + 13 * i, 200 - 7 * i, 90 + 11 * i); }

// An album titled "Album <i>" whose cover is a plain square of AlbumColor(i).
inline TAlbum* PlainAlbum(int32_t i, int32_t side = 250) {
  auto* album = new TAlbum;
  album->Album = "Album " + std::to_string(i);
  album->Artist = "Artist " + std::to_string(i);
  album->Year = 1990 + i;
  album->Genre = "Genre";
  album->Cover.SetSize(side, side);
  album->Cover.Clear(AlbumColor(i));
  return album;
}

// Which album's colour a pixel shows; -1 for none.
inline int32_t AlbumShown(TColor32 pixel, int32_t albumCount) {
  for (int32_t i = 0; i < albumCount; ++i)
    if ((pixel & 0xFFFFFF) == (AlbumColor(i) & 0xFFFFFF)) return i;
  return -1;
}

// A view of 1110 x 370 over count plain albums, covers as they are (no
// loaders), slots filled around currentIndex.
struct TViewFixture {
  explicit TViewFixture(int32_t count, int32_t currentIndex = 0, int32_t width = 1110, int32_t height = 370)
      : view(platform, settings) {
    platform.frameBuffer = &view.FrameBuffer;
    for (int32_t i = 0; i < count; ++i) view.Albums.Add(PlainAlbum(i));
    view.AlbumCount = count;
    view.CurrentIndex = currentIndex;
    view.Resize(width, height);
    view.RefillSlots();
  }
  // Which album the slot at a position holds, by the colour of its cover.
  int32_t AlbumInSlot(int32_t position) {
    return AlbumShown(view.SlotAt(position).GetPixel(10, 10), view.AlbumCount);
  }

  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  TMarquelle2 view;
};

}  // namespace tavio::test
