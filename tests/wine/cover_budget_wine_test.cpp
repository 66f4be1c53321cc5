// A library far larger than the cover budget in the real player process:
// 3,000 albums of 1000 x 1000 pictures open, scroll fast, stay within the
// budget, and show every cover again once the loaders have caught up.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cover_library.h"
#include "player_host_run.h"
#include "raster/picture_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

using namespace tavio;
using namespace tavio::test;

namespace {

constexpr int32_t kAlbums = 3000;
// Seven, so that a middle album off by a few shows other colours.
constexpr int32_t kPictures = 7;

TColor32 PictureColor(int32_t k) { return Color32(30 + 30 * k, 200 - 25 * k, 90 + 10 * k); }

// A player folder whose library holds kAlbums albums over kPictures distinct
// 1000 x 1000 JPEG pictures; the store starts at album 0 with the default budget.
std::string PlayerFolderWithLargeLibrary() {
  const std::string folder = NewTempFolder("budget");
  DeleteFileA((folder + "rest.bmp").c_str());
  WriteCoverLibrary(folder, {.Albums = kAlbums, .Pictures = kPictures, .Side = 1000, .Color = PictureColor, .TitleDigits = 4});
  const auto store = OpenSettingsStore();
  using namespace settings;
  store->WriteInteger(kSettings, kCurrentIndex, 0);
  store->WriteInteger(kSettings, kCoverSize, kDefaultCoverSize);
  store->WriteInteger(kSettings, kCoverMemory, kDefaultCoverMemory);
  store->WriteFlag(kSettings, kControlPanel, false);
  return folder;
}

bool IsWhite(TColor32 c) { return RedOf(c) > 240 && GreenOf(c) > 240 && BlueOf(c) > 240; }

}  // namespace

TEST(CoverBudget, LargeLibraryScrollsWithinTheBudgetAndShowsEveryCoverAtRest_Wine) {
  const std::string folder = PlayerFolderWithLargeLibrary();
  // A press above the strip holds fast mode: each wheel notch is then one
  // instant step. 200 of them, the memory sampled on the way. The press is
  // off the middle cover, whose click would turn it into the song list.
  std::vector<std::string> script{"resize 1120 420", "wait 6000", "memory", "press 100 300"};
  for (int i = 1; i <= 200; ++i) {
    script.push_back("wheel 120");
    if (i % 40 == 0) script.push_back("memory");
  }
  script.insert(script.end(), {"release 100 300", "wait 8000", "memory", "screenshot " + folder + "rest.bmp", "quit"});
  const auto run = RunPlayerHost(script, "", folder);
  ASSERT_FALSE(run.timedOut);
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];

  // The covers themselves may take the budget; the rest (slots, pictures
  // being decoded, the player) stays within a fixed allowance.
  constexpr size_t kAllowanceMb = 256;
  std::string samples;
  for (const std::string& line : run.log) {
    if (line.rfind("memory ", 0) != 0) continue;
    samples += line.substr(7) + " ";
    EXPECT_LE(std::stoul(line.substr(7)), settings::kDefaultCoverMemory + kAllowanceMb) << line;
  }
  std::printf("committed private memory (MB) at rest, every 40 steps, at rest again: %s\n", samples.c_str());
  EXPECT_EQ(std::count(samples.begin(), samples.end(), ' '), 7);

  TBitmap32 shot;
  LoadFromFile(shot, folder + "rest.bmp");
  ASSERT_GE(shot.Width(), 1115);
  ASSERT_GE(shot.Height(), 395);
  // The middle album is 200: its picture, and those of its four neighbours.
  // The view sits at (5, 25) in the frame; y 150 crosses every cover.
  const std::vector<std::pair<int32_t, int32_t>> places{{280, 198}, {357, 199}, {555, 200}, {750, 201}, {830, 202}};
  for (const auto& [x, album] : places) {
    const TColor32 pixel = shot.GetPixel(5 + x, 25 + 150);
    EXPECT_FALSE(IsWhite(pixel)) << "album " << album << " at x " << x;
    const TColor32 expected = PictureColor(album % kPictures);
    // Tilted covers and the JPEG round trip may shift a channel a little.
    EXPECT_NEAR(RedOf(pixel), RedOf(expected), 8) << "album " << album;
    EXPECT_NEAR(GreenOf(pixel), GreenOf(expected), 8) << "album " << album;
  }
}
