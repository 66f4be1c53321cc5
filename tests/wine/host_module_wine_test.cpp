// The plug-in as the player sees it: the exported records, and Init, Render
// and Quit driven through the stand-in player.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "player_host_run.h"
#include "raster/picture_file.h"

using namespace tavio::test;

namespace {

using GetHeaderFn = void*(__cdecl*)();

// The records' offsets in the build under test: the player's 32-bit layout,
// or the natural 64-bit one.
struct RecordLayout {
  int headerDescription, headerGetModule;
  int latencyMs, delayMs, spectrumNch, waveformNch;
  int config, init, render, quit, userData;
};
#ifdef _WIN64
constexpr RecordLayout kLayout{8, 16, 32, 36, 40, 44, 2352, 2360, 2368, 2376, 2384};
#else
constexpr RecordLayout kLayout{4, 8, 20, 24, 28, 32, 2340, 2344, 2348, 2352, 2356};
#endif

template <typename T>
T At(const void* record, int offset) {
  T value;
  std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
  return value;
}

// The "frame-state" lines the player logged, in order.
std::vector<std::string> FrameStates(const PlayerHostRun& run) {
  std::vector<std::string> states;
  for (const std::string& line : run.log)
    if (line.rfind("frame ", 0) == 0) states.push_back(line);
  return states;
}

}  // namespace

TEST(PluginRecords, HeaderAndModuleAtTheirOffsets_Wine) {
  HMODULE dll = LoadLibraryA((ProductFolder() + "vis_Tavio.dll").c_str());
  ASSERT_NE(dll, nullptr);
  const auto getHeader =
      reinterpret_cast<GetHeaderFn>(reinterpret_cast<void*>(GetProcAddress(dll, "winampVisGetHeader")));
  ASSERT_NE(getHeader, nullptr);
  const void* header = getHeader();
  EXPECT_EQ(At<int>(header, 0), 0x101);
  EXPECT_STREQ(At<const char*>(header, kLayout.headerDescription), "Marquelle");
  const auto getModule = At<void*(__cdecl*)(int)>(header, kLayout.headerGetModule);
  const void* module = getModule(0);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(getModule(1), nullptr);
  EXPECT_STREQ(At<const char*>(module, 0), "Marquelle");
  EXPECT_EQ(At<int>(module, kLayout.latencyMs), 25);
  EXPECT_EQ(At<int>(module, kLayout.delayMs), 25);
  EXPECT_EQ(At<int>(module, kLayout.spectrumNch), 0);
  EXPECT_EQ(At<int>(module, kLayout.waveformNch), 2);
  for (int offset : {kLayout.config, kLayout.init, kLayout.render, kLayout.quit})
    EXPECT_NE(At<void*>(module, offset), nullptr) << offset;
  EXPECT_EQ(At<void*>(module, kLayout.userData), nullptr);
  const auto render = At<int(__cdecl*)(void*)>(module, kLayout.render);
  EXPECT_EQ(render(const_cast<void*>(module)), 0);
  FreeLibrary(dll);
}

TEST(PluginLifecycle, InitRegistersTheFrameAndQuitUnregistersIt_Wine) {
  const auto run = RunPlayerHost({"wait 300", "quit"});
  ASSERT_FALSE(run.timedOut);
  ASSERT_GE(run.log.size(), 3u);
  EXPECT_EQ(run.log[0], "ipc 505");
  EXPECT_EQ(run.log[1], "ipc 611 frame");
  EXPECT_EQ(run.log.back(), "ipc 611 0");
  EXPECT_TRUE(run.Dialogs().empty()) << run.Dialogs()[0];
  EXPECT_FALSE(run.Contains("render returned non-zero"));
}

TEST(PluginLifecycle, SecondInitWhileRunningCreatesNothing_Wine) {
  const auto run = RunPlayerHost({"wait 200", "init", "wait 300", "quit"});
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.CountOf("ipc 505"), 1);
  EXPECT_EQ(run.CountOf("ipc 611 frame"), 1);
  EXPECT_TRUE(run.Dialogs().empty());
}

TEST(PluginLifecycle, InitQuitInitOpensANewFrame_Wine) {
  const auto run = RunPlayerHost({"wait 200", "quit-module", "wait 300", "init", "wait 500", "quit"});
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.CountOf("ipc 505"), 2);
  EXPECT_EQ(run.CountOf("ipc 611 frame"), 2);
  EXPECT_EQ(run.CountOf("ipc 611 0"), 2);  // the scripted Quit and the final one
  EXPECT_TRUE(run.Dialogs().empty());
}

TEST(PluginLifecycle, NoFrameWindowSaysSoAndStaysClosed_Wine) {
  const auto run = RunPlayerHost({"wait 1000", "quit"}, "--no-embed");
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.Dialogs(), std::vector<std::string>{"dialog Marquelle"});
  EXPECT_TRUE(run.Contains("message Kein Parent-Handle"));
  EXPECT_FALSE(run.Contains("ipc 611 frame"));
  EXPECT_TRUE(run.Contains("ipc 611 0"));  // Quit still unregisters
}

TEST(EmptyLibrary, ShowsTheHintText_Wine) {
  const std::string folder = NewTempFolder("hint");
  const auto run = RunPlayerHost({"resize 658 515", "wait 300", "settle", "screenshot " + folder + "shot.bmp", "quit"}, "",
                                 folder);
  ASSERT_FALSE(run.timedOut);
  tavio::TBitmap32 shot;
  tavio::LoadFromFile(shot, folder + "shot.bmp");
  ASSERT_EQ(shot.Width(), 658);
  ASSERT_EQ(shot.Height(), 515);
  // The view is 654 x 370 at (2, 72); the hint starts at (297, 185) inside it.
  int lit = 0;
  for (int y = 72 + 185; y < 72 + 185 + 12; ++y)
    for (int x = 2 + 297; x < 2 + 297 + 120; ++x) lit += (shot.GetPixel(x, y) & 0xFFFFFF) != 0;
  EXPECT_GT(lit, 20);
  int litElsewhere = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 658; ++x) litElsewhere += (shot.GetPixel(x, y) & 0xFFFFFF) != 0;
  EXPECT_EQ(litElsewhere, 0);
}

TEST(PluginLifecycle, FrameHiddenByThePlayerStaysHidden_Wine) {
  const auto run = RunPlayerHost({"wait 300", "hide-frame", "wait 300", "frame-state", "quit"});
  ASSERT_FALSE(run.timedOut);
  const std::vector<std::string> states = FrameStates(run);
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0].rfind("frame visible=0 ", 0), 0u) << states[0];
  EXPECT_TRUE(run.Dialogs().empty());
}

TEST(PluginLifecycle, QuitRestoresTheFrameProcAndTheNextInitTakesTheSavedRectangle_Wine) {
  const auto run = RunPlayerHost({"wait 200", "move-frame 40 50 740 600", "frame-state", "quit-module", "wait 200",
                                  "frame-state", "init", "wait 500", "frame-state", "quit"});
  ASSERT_FALSE(run.timedOut);
  const std::vector<std::string> states = FrameStates(run);
  ASSERT_EQ(states.size(), 3u);
  EXPECT_EQ(states[0], "frame visible=1 rect=40,50,740,600 proc=plugin");
  EXPECT_EQ(states[1].substr(states[1].rfind(' ')), " proc=player");
  // A new frame from the rectangle the first Quit wrote, with the frame's
  // handling installed again.
  EXPECT_EQ(states[2], "frame visible=1 rect=40,50,740,600 proc=plugin");
  EXPECT_TRUE(run.Dialogs().empty());
}
