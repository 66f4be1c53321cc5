// The carousel as a whole: moving frames per second (before the screen copy),
// the three loaders' cover preparation rate, the time from Start to the first
// rest frame of a large library, and the memory all prepared covers take.
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

// MemAvailable of the machine in MB; -1 when unknown.
long AvailableMegabytes() {
  std::ifstream meminfo("/proc/meminfo");
  std::string name;
  long kb = 0;
  std::string unit;
  while (meminfo >> name >> kb >> unit)
    if (name == "MemAvailable:") return kb / 1024;
  return -1;
}

void MovingFrames(const std::string& folder, int32_t w, int32_t h) {
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
  int frames = 0;
  const auto start = Clock::now();
  double elapsed = 0;
  do {
    for (int32_t step = 0; step <= 50; ++step, ++frames) view.DrawMovingFrame(step);
    elapsed = SecondsSince(start);
  } while (elapsed < 3.0);
  std::printf("moving frames at %d x %d: %.1f frames/s (%.2f ms a frame)\n", w, h, frames / elapsed,
              1000.0 * elapsed / frames);
}

void LoaderRate(const std::string& folder) {
  TBenchPlatform platform;
  TBenchSettings settings(folder);
  TMarquelle2 view(platform, settings);
  view.Resize(1110, 370);
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

void MemoryOfPreparedCovers(const std::string& folder) {
  const long before = StatusKilobytes("VmRSS:");
  TBenchPlatform platform;
  TBenchSettings settings(folder);
  TMarquelle2 view(platform, settings);
  view.Resize(1110, 370);
  const auto start = Clock::now();
  view.OpenLibrary();
  WaitForLoaders(view, platform);
  std::printf("2,000 albums of 1000 x 1000 pictures prepared in %.1f s: VmRSS %.0f MB (%.0f MB before), "
              "VmHWM %.0f MB\n",
              SecondsSince(start), StatusKilobytes("VmRSS:") / 1024.0, before / 1024.0,
              StatusKilobytes("VmHWM:") / 1024.0);
}

}  // namespace

int main() {
  const std::string covers = NewFolder("covers");
  const std::vector<std::string> coverFiles = WriteCovers(covers);

  // First, while the process is still small. The covers alone take about
  // 8 GB; a machine without room for them skips this part.
  const std::string many = NewFolder("two_thousand");
  if (AvailableMegabytes() > 12000) {
    WriteLibrary(many, 2000, 0, coverFiles);
    MemoryOfPreparedCovers(many);
  } else {
    std::printf("2,000 albums of 1000 x 1000 pictures: skipped, less than 12 GB of memory available\n");
  }

  const std::string small = NewFolder("ten");
  WriteLibrary(small, 10, 0, coverFiles);
  MovingFrames(small, 1110, 370);
  MovingFrames(small, 654, 218);

  const std::string loaders = NewFolder("two_hundred");
  WriteLibrary(loaders, 150, 50, coverFiles);
  LoaderRate(loaders);

  const std::string large = NewFolder("ten_thousand");
  WriteLibrary(large, 10000, 0, {});
  StartToFirstRestFrame(large);

  for (const std::string& f : {covers, small, loaders, large, many}) std::filesystem::remove_all(f);
  return 0;
}
