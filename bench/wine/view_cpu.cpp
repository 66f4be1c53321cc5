// The plug-in in the stand-in player under Wine, 400 albums at 1110 x 400
// with the default curve: CPU time over 10 s at rest and over 10 s of
// continuous hovering over the left stack, and the time from pressing the
// settings dialog's Close until the view has drawn again.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cover_library.h"
#include "player_host_run.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

using namespace tavio;
using namespace tavio::test;

namespace {

constexpr int32_t kAlbums = 400;
constexpr int32_t kPictures = 9;

std::string PlayerFolderWithLibrary() {
  const std::string folder = NewTempFolder("bench_cpu");
  WriteCoverLibrary(folder, {.Albums = kAlbums,
                             .Pictures = kPictures,
                             .Side = 600,
                             .Color = [](int32_t k) { return Color32(20 + 25 * k, 200 - 20 * k, 90 + 15 * k); },
                             .TitleDigits = 3});
  const auto store = OpenSettingsStore();
  using namespace settings;
  store->WriteInteger(kSettings, kCurrentIndex, 0);
  store->WriteInteger(kSettings, kStepCount, kDefaultStepCount);
  store->WriteInteger(kSettings, kCurveA, kDefaultCurveA);
  store->WriteInteger(kSettings, kCurveB, kDefaultCurveB);
  store->WriteInteger(kSettings, kCoverSize, kDefaultCoverSize);
  store->WriteFlag(kSettings, kControlPanel, false);
  store->WriteFlag(kSettings, kReverseScroll, false);
  return folder;
}

// The values of the log lines that start with prefix, in order.
std::vector<long long> Values(const PlayerHostRun& run, const std::string& prefix) {
  std::vector<long long> values;
  for (const auto& line : run.log)
    if (line.rfind(prefix, 0) == 0) values.push_back(std::atoll(line.c_str() + prefix.size()));
  return values;
}

}  // namespace

int main() {
  const std::string folder = PlayerFolderWithLibrary();
  const auto run = RunPlayerHost({"resize 1120 450", "wait 3000", "settle", "cpu", "wait 10000", "cpu",
                                  "move 100 150", "wait 2000", "cpu", "wait 10000", "cpu", "move 555 150", "settle",
                                  "config", "wait 1500", "timed dialog-button Close", "quit"},
                                 "", folder);
  const auto cpu = Values(run, "cpu ");
  const auto close = Values(run, "timed ");
  if (run.timedOut || cpu.size() != 4 || close.size() != 1) {
    std::printf("view_cpu: the run did not finish (%s)\n", run.log.empty() ? "no log" : run.log.back().c_str());
    return 1;
  }
  std::printf("CPU at rest:                %5lld ms per 10 s (%.1f %% of one core)\n", cpu[1] - cpu[0],
              (cpu[1] - cpu[0]) / 100.0);
  std::printf("CPU hovering (scrolling):   %5lld ms per 10 s (%.1f %% of one core)\n", cpu[3] - cpu[2],
              (cpu[3] - cpu[2]) / 100.0);
  // The view writes its middle album when it ends: how far hovering went.
  const int32_t index = OpenSettingsStore()->ReadInteger(settings::kSettings, settings::kCurrentIndex, 0);
  std::printf("Albums passed hovering:     %5d\n", index == 0 ? 0 : kAlbums - index);
  std::printf("Settings Close to drawn:    %5lld ms\n", close[0]);
  return 0;
}
