// The carousel as a whole: moving frames per second (before the screen copy)
// drawn from the slots' column copies and, as before them, from the slots
// themselves; the three loaders' cover preparation rate; the time from Start
// to the first rest frame of a large library; and a library far beyond the
// cover budget: memory once the loaders settle, and how soon the middle
// cover is there after a burst of fast-mode steps.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "library/library_files.h"
#include "library/shared_keys.h"
#include "raster/jpeg_file.h"
#include "settings/settings_keys.h"
#include "view/cover_drawing.h"
#include "view/marquelle2.h"
#include "view/movement_curve.h"

namespace {

using namespace tavio;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// No screen; posted tasks wait for Pump.
class TBenchPlatform : public TViewPlatform {
 public:
  void Flush() override {}
  void ProcessPendingMessages() override {}
  void SetTimer(bool enabled, uint32_t) override { timerEnabled = enabled; }
  int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
  }
  void PostToViewThread(std::function<void()> task) override {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  void Pump() {
    std::deque<std::function<void()>> ready;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ready.swap(tasks_);
    }
    for (auto& task : ready) task();
  }

  std::atomic<bool> timerEnabled{false};

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
};

class TBenchSettings : public TViewSettingsSource {
 public:
  explicit TBenchSettings(std::string folder) : folder_(std::move(folder)) {}
  void ReadStartup(TViewSettings& s) override {
    SetSortKeys(settings::kDefaultSortKeys);
    SetCaptionKeys(settings::kDefaultCaptionKeys);
    s.PluginFolder = folder_;
    s.MirrorAlpha = settings::kDefaultMirrorAlpha;
    s.CurveA = settings::kDefaultCurveA / settings::kCurveScale;
    s.CurveB = settings::kDefaultCurveB / settings::kCurveScale;
    s.SizeFactor = settings::kDefaultCoverSize / settings::kCoverSizeScale;
  }
  void WritePosition(int32_t, int32_t) override {}

 private:
  std::string folder_;
};

std::string NewFolder(const std::string& tag) {
  const auto dir = std::filesystem::temp_directory_path() / ("tavio_bench_" + tag);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string() + "/";
}

// Eight different 1000 x 1000 JPEG pictures with some detail to decode.
std::vector<std::string> WriteCovers(const std::string& folder) {
  std::vector<std::string> files;
  TBitmap32 picture(1000, 1000);
  for (int32_t k = 0; k < 8; ++k) {
    for (int32_t y = 0; y < 1000; ++y)
      for (int32_t x = 0; x < 1000; ++x)
        picture.SetPixel(x, y, Color32((x * (k + 1)) & 255, (y * 3 + x) & 255, (x ^ y) * (k + 2) & 255));
    files.push_back(folder + "cover" + std::to_string(k) + ".jpg");
    SaveJpegFile(picture, files.back());
  }
  return files;
}

// shown albums in Data.dat and hidden ones in Data2.dat; cover files taken in
// turn from covers, or files that do not exist when covers is empty.
void WriteLibrary(const std::string& folder, int32_t shown, int32_t hidden, const std::vector<std::string>& covers) {
  TOLSaveable albums, hiddenAlbums;
  for (int32_t i = 0; i < shown + hidden; ++i) {
    auto* album = new TAlbum;
    album->Album = "Album " + std::to_string(100000 + i);
    album->Artist = "Artist " + std::to_string(i % 97);
    album->CoverFile = covers.empty() ? folder + "missing" + std::to_string(i) + ".jpg" : covers[i % covers.size()];
    (i < shown ? albums : hiddenAlbums).Add(album);
  }
  SaveLibraryFiles(folder, albums, hiddenAlbums);
}

void WaitForLoaders(TMarquelle2& view, TBenchPlatform& platform) {
  while (!(view.MainLoadersDone && view.HiddenLoaderDone)) {
    platform.Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  view.StopLoaders();
  platform.Pump();
}

long StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  return -1;
}

// One moving frame as DrawMovingFrame places it, drawn straight from the
// row-by-row slots: the way every frame was drawn before the column copies.
void DrawMovingFrameFromRows(TMarquelle2& view, int32_t step) {
  const int32_t k = view.ApplyCurve(step), n = view.StepCount;
  view.FrameBuffer.Clear(0);
  const TCarouselPlaces& p = view.Places;
  const TWinkel& a = view.Angles;
  const auto draw = [&](int32_t position, int32_t fromX, int32_t toX, int32_t fromAngle, int32_t toAngle) {
    DrawCover(view.FrameBuffer, view.Transformation, view.SourceRect, p.CoverSide, view.SlotAt(position),
              Interpolate(fromX, toX, k, n), TMarquelle2::kCoverTop, Interpolate(fromAngle, toAngle, k, n));
  };
  draw(0, p.OuterLeftX, p.OuterLeftX, a.OuterLeft, a.OuterLeft);
  draw(1, p.OuterLeftX, p.InnerLeftX, a.OuterLeft, a.InnerLeft);
  draw(2, p.InnerLeftX, p.CenterX, a.InnerLeft, a.Center);
  draw(5, p.OuterRightX, p.OuterRightX, a.OuterRight, a.OuterRight);
  draw(4, p.InnerRightX, p.OuterRightX, a.InnerRight, a.OuterRight);
  draw(3, p.CenterX, p.InnerRightX, a.Center, a.InnerRight);
}

// Milliseconds a frame, drawing frames for about two seconds.
template <typename TDraw>
double MillisecondsAFrame(TDraw draw) {
  int frames = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    for (int32_t step = 0; step <= 50; ++step, ++frames) draw(step);
    elapsed = SecondsSince(start);
  } while (elapsed < 2.0);
  return 1000.0 * elapsed / frames;
}

void MovingFrames(const std::string& folder, const char* covers, int32_t w, int32_t h) {
  TBenchPlatform platform;
  TBenchSettings settings(folder);
  TMarquelle2 view(platform, settings);
  view.Resize(w, h);
  view.ReadLibrary();
  view.PrepareAllCovers();
  view.Layout();
  view.RefillSlots();
  // The straight curve keeps every cover moving in every frame.
  view.CurveA = 0;
  view.CurveB = 1;
  view.StepCount = 50;
  const double columns = MillisecondsAFrame([&](int32_t step) { view.DrawMovingFrame(step); });
  const double rows = MillisecondsAFrame([&](int32_t step) { DrawMovingFrameFromRows(view, step); });
  const auto start = Clock::now();
  for (int i = 0; i < 10; ++i) view.FillSlot(i, view.SlotAt(0));
  const double fill = 100.0 * SecondsSince(start);
  std::printf("moving frames at %d x %d, %s covers: %.2f ms a frame (%.2f ms from the slots' rows as before); "
              "FillSlot %.1f ms\n",
              w, h, covers, columns, rows, fill);
}

void LoaderRate(const std::string& folder) {
  TBenchPlatform platform;
  TBenchSettings settings(folder);
  TMarquelle2 view(platform, settings);
  view.Resize(1110, 370);
  // The rate of preparation alone: every cover kept.
  view.CoverBudget.SetLimit(0);
  const auto start = Clock::now();
  view.OpenLibrary();
  WaitForLoaders(view, platform);
  const double seconds = SecondsSince(start);
  const int32_t count = view.Albums.Count() + view.HiddenAlbums.Count();
  std::printf("cover preparation, three loaders, %d albums of 1000 x 1000 JPEG: %.2f s, %.1f covers/s\n", count,
              seconds, count / seconds);
}

void StartToFirstRestFrame(const std::string& folder) {
  TBenchPlatform platform;
  TBenchSettings settings(folder);
  TMarquelle2 view(platform, settings);
  view.Resize(1110, 370);
  const auto start = Clock::now();
  view.Start();
  const double started = SecondsSince(start);
  // The refill ends by starting the timer, right after its rest frame.
  while (!platform.timerEnabled) {
    platform.Pump();
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  const double refilled = SecondsSince(start);
  std::printf("10,000 albums, default covers: Start returned after %.1f ms (load, sort, blank frame); "
              "first rest frame with covers after %.1f ms; VmRSS then %.0f MB\n",
              1000 * started, 1000 * refilled, StatusKilobytes("VmRSS:") / 1024.0);
  view.StopLoaders();
}

bool MiddleCoverPrepared(TMarquelle2& view) {
  TAlbum& album = *view.Albums.Items(view.CurrentIndex);
  std::lock_guard<std::mutex> lock(album.CoverLock);
  return album.Cover.OwnPixelBytes() > 0;
}

// Until the loaders have nothing left within the budget and the prepared
// bytes stop changing.
void WaitUntilSettled(TMarquelle2& view, TBenchPlatform& platform) {
  int64_t last = -1;
  int quiet = 0;
  while (quiet < 5) {
    platform.Pump();
    view.TimerTick();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const int64_t bytes = view.CoverBudget.PreparedBytes();
    quiet = (bytes == last && !view.CoverBudget.HasWork(view.Albums)) ? quiet + 1 : 0;
    last = bytes;
  }
}

void LibraryBeyondTheBudget(const std::string& folder) {
  const long before = StatusKilobytes("VmRSS:");
  TBenchPlatform platform;
  TBenchSettings settings(folder);
  TMarquelle2 view(platform, settings);
  view.Resize(1110, 370);
  const auto start = Clock::now();
  view.Start();
  WaitUntilSettled(view, platform);
  std::printf("10,000 albums of 1000 x 1000 pictures, budget %lld MB: settled after %.1f s with %.0f MB of covers; "
              "VmRSS %.0f MB (%.0f MB before), VmHWM %.0f MB\n",
              static_cast<long long>(view.CoverBudget.Limit() / TCoverBudget::kMegabyte), SecondsSince(start),
              view.CoverBudget.PreparedBytes() / double(TCoverBudget::kMegabyte), StatusKilobytes("VmRSS:") / 1024.0,
              before / 1024.0, StatusKilobytes("VmHWM:") / 1024.0);
  // Fast mode: one instant step per 20 ms tick (as the timer runs them), or
  // as fast as the view's thread can take them; 200 steps, then the wait
  // until the new middle album's cover is there.
  for (const int tickMs : {20, 0}) {
    std::vector<double> waits;
    int whiteMiddles = 0;
    for (int run = 0; run < 7; ++run) {
      view.FastMode = true;
      auto tick = Clock::now();
      for (int step = 0; step < 200; ++step) {
        tick += std::chrono::milliseconds(tickMs);
        view.StepNext();
        whiteMiddles += MiddleCoverPrepared(view) ? 0 : 1;
        platform.Pump();
        std::this_thread::sleep_until(tick);
      }
      view.FastMode = false;
      const auto stopped = Clock::now();
      while (!MiddleCoverPrepared(view)) {
        platform.Pump();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
      waits.push_back(1000.0 * SecondsSince(stopped));
      WaitUntilSettled(view, platform);
    }
    std::sort(waits.begin(), waits.end());
    std::printf("200 fast-mode steps %s: the middle cover was there %.1f ms (median), %.1f ms (worst) after the "
                "last of 7 runs; %d of %zu steps drawn with the middle not prepared yet; VmRSS %.0f MB, VmHWM %.0f MB\n",
                tickMs ? "one per 20 ms" : "back to back", waits[waits.size() / 2], waits.back(), whiteMiddles,
                200 * waits.size(), StatusKilobytes("VmRSS:") / 1024.0, StatusKilobytes("VmHWM:") / 1024.0);
  }
  view.StopLoaders();
}

}  // namespace

int main() {
  const std::string covers = NewFolder("covers");
  const std::vector<std::string> coverFiles = WriteCovers(covers);

  // First, while the process is still small.
  const std::string many = NewFolder("ten_thousand_large");
  WriteLibrary(many, 10000, 0, coverFiles);
  LibraryBeyondTheBudget(many);

  const std::string small = NewFolder("ten");
  WriteLibrary(small, 10, 0, coverFiles);
  MovingFrames(small, "1000 x 1000", 1110, 370);
  MovingFrames(small, "1000 x 1000", 654, 218);
  const std::string defaults = NewFolder("ten_defaults");
  WriteLibrary(defaults, 10, 0, {});
  MovingFrames(defaults, "300 x 300", 1110, 370);

  const std::string loaders = NewFolder("two_hundred");
  WriteLibrary(loaders, 150, 50, coverFiles);
  LoaderRate(loaders);

  const std::string large = NewFolder("ten_thousand");
  WriteLibrary(large, 10000, 0, {});
  StartToFirstRestFrame(large);

  for (const std::string& f : {covers, small, defaults, loaders, large, many}) std::filesystem::remove_all(f);
  return 0;
}
