// The song list: the time from a click on the middle cover to the first frame
// of the flip for a folder of 30 MP3 files, and the time of one flip frame at
// the default view size (1110 x 370).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "library/album.h"
#include "view/marquelle2.h"

namespace {

using namespace tavio;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

// No screen: a flush only calls the hook.
class TBenchPlatform : public TViewPlatform {
 public:
  void Flush() override {
    if (onFlush) onFlush();
  }
  void ProcessPendingMessages() override {}
  void SetTimer(bool, uint32_t) override {}
  int64_t NowMs() override { return 0; }
  void PostToViewThread(std::function<void()>) override {}
  std::function<void()> onFlush;
};

class TBenchSettings : public TViewSettingsSource {
 public:
  void ReadStartup(TViewSettings& s) override {
    s.SizeFactor = 0.74;
    s.StepCount = 50;
    s.MirrorAlpha = 60;
  }
  void WritePosition(int32_t, int32_t) override {}
};

// An ID3v2.3 tag with title and track, then a little "audio".
std::string TaggedSong(int32_t track) {
  const auto frame = [](const std::string& id, const std::string& text) {
    const std::string data = std::string(1, '\0') + text;
    return id + std::string(3, '\0') + static_cast<char>(data.size()) + std::string(2, '\0') + data;
  };
  const std::string frames = frame("TIT2", "Song number " + std::to_string(track)) + frame("TRCK", std::to_string(track) + "/30");
  return std::string("ID3\x03\x00\x00", 6) + std::string(3, '\0') + static_cast<char>(frames.size()) + frames +
         std::string(4096, '\x55');
}

}  // namespace

int main() {
  const auto folder = std::filesystem::temp_directory_path() / "tavio_bench_songs";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  for (int32_t i = 30; i >= 1; --i)
    std::ofstream(folder / ("song" + std::to_string(i) + ".mp3"), std::ios::binary) << TaggedSong(i);

  TBenchPlatform platform;
  TBenchSettings settings;
  TMarquelle2 view(platform, settings);
  auto* album = new TAlbum;
  album->Album = "Benchmark";
  album->CoverFile = (folder / "folder.jpg").string();
  album->Cover.SetSize(250, 250);
  album->Cover.Clear(Color32(90, 120, 150));
  view.Albums.Add(album);
  view.AlbumCount = 1;
  view.Resize(1110, 370);
  view.RefillSlots();

  const int rounds = 20;
  double clickMs = 0;
  for (int r = 0; r < rounds; ++r) {
    Clock::time_point start = Clock::now();
    bool first = true;
    platform.onFlush = [&] {
      if (first) clickMs += MsSince(start);
      first = false;
    };
    view.PressX = view.Places.CenterX + 1;
    start = Clock::now();
    view.Click();  // in
    view.Click();  // and out again, for the next round
  }
  std::printf("click to first flip frame (30 MP3s): %.2f ms\n", clickMs / rounds);

  platform.onFlush = nullptr;
  const int flips = 20;
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < flips; ++i) view.FlipSongList();
  const int flipFrames = flips * 2 * 40;  // StepCount 50: 40 frames a half
  std::printf("one flip frame at 1110 x 370: %.3f ms\n", MsSince(start) / flipFrames);
  std::filesystem::remove_all(folder);
  return 0;
}
