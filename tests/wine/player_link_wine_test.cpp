// The play commands reach a real player window across processes and arrive
// in the order the player relies on (the stand-in player logs them).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/play_sequences.h"
#include "player_host_run.h"

using namespace tavio::test;

namespace {

// The player's log without the plug-in's own host messages.
std::vector<std::string> PlayerCommands(const PlayerHostRun& run) {
  std::vector<std::string> out;
  for (const auto& line : run.log)
    if (line != "ipc 505" && line != "ipc 611 frame" && line != "ipc 611 0") out.push_back(line);
  return out;
}

}  // namespace

TEST(PlayerLink, OneSongWhilePlayingIsOnlyQueued_Wine) {
  PlayerHostProcess player({}, "--playing");
  ASSERT_TRUE(player.WaitForPlayerWindow());
  tavio::PlayOneSong("C:\\Music\\A\\01 Song.mp3");
  player.Close();
  const auto run = player.Finish();
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(PlayerCommands(run), (std::vector<std::string>{"ipc 104", "copydata 100 C:\\Music\\A\\01 Song.mp3"}));
}

TEST(PlayerLink, OneSongWhileStoppedReplacesThePlaylist_Wine) {
  PlayerHostProcess player({});
  ASSERT_TRUE(player.WaitForPlayerWindow());
  tavio::PlayOneSong("C:\\Music\\A\\01 Song.mp3");
  player.Close();
  const auto run = player.Finish();
  EXPECT_EQ(PlayerCommands(run), (std::vector<std::string>{"ipc 104", "ipc 101",
                                                           "copydata 100 C:\\Music\\A\\01 Song.mp3", "command 40045"}));
}

TEST(PlayerLink, WholeAlbumWhilePlayingStopsFirst_Wine) {
  PlayerHostProcess player({}, "--playing");
  ASSERT_TRUE(player.WaitForPlayerWindow());
  tavio::PlayWholeAlbum({"C:\\M\\1.mp3", "C:\\M\\2.mp3", "C:\\M\\3.mp3"});
  player.Close();
  const auto run = player.Finish();
  EXPECT_EQ(PlayerCommands(run),
            (std::vector<std::string>{"ipc 104", "command 40047", "ipc 101", "copydata 100 C:\\M\\1.mp3",
                                      "copydata 100 C:\\M\\2.mp3", "copydata 100 C:\\M\\3.mp3", "command 40045"}));
}
