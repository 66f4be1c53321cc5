// The view's start-up read: store defaults, the one-time import of Tavio.ini
// with its own defaults and roundings, and the writes at destruction.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/shared_keys.h"
#include "settings/file_settings_store.h"
#include "settings/view_settings.h"
#include "support/registry_defaults.h"
#include "support/temp_folder.h"

using namespace tavio;
using tavio::test::TTempFolder;

namespace {

using Names = std::vector<std::string>;

class StartupRead : public ::testing::Test {
 protected:
  StartupRead() : plugin(folder.Path() + "plugin/"), store(folder.Path() + "settings") {
    std::filesystem::create_directory(plugin);
    SetSortKeys("stale");
    SetCaptionKeys("stale");
  }

  TViewSettings Read() {
    TViewSettings settings;
    ReadStartupSettings(store, plugin, settings);
    return settings;
  }

  void WriteIni(const std::string& contents) { folder.Write("plugin/Tavio.ini", contents); }
  bool IniExists() const { return folder.Exists("plugin/Tavio.ini"); }

  TTempFolder folder;
  std::string plugin;
  TFileSettingsStore store;
};

}  // namespace

TEST_F(StartupRead, EmptyStoreGivesTheStoreDefaultsAndWritesNothing) {
  const TViewSettings settings = Read();
  EXPECT_EQ(settings.PluginFolder, plugin);
  test::ExpectRegistryDefaults(settings);
  EXPECT_TRUE(settings.SearchPaths.empty());
  Names untouched{"sentinel"};
  store.ListNames("SETTINGS", untouched);
  EXPECT_EQ(untouched, Names{"sentinel"});
}

TEST_F(StartupRead, StoredValuesReplaceTheDefaults) {
  store.WriteString("SETTINGS", "FSORT", "Year,Genre");
  store.WriteString("SETTINGS", "FANZEIGE", "");
  store.WriteInteger("SETTINGS", "ALPHA", 200);
  store.WriteInteger("SETTINGS", "INDEX", 12);
  store.WriteInteger("SETTINGS", "FUNCA", 0);
  store.WriteInteger("SETTINGS", "FUNCB", 1000000);
  store.WriteString("SETTINGS", "FSIZE", "80");
  store.WriteString("SETTINGS", "ALPHA", "very bright");  // an unreadable number reads as the default
  store.WriteInteger("SETTINGS", "FANZSTEPS", 33);
  store.WriteFlag("SETTINGS", "CONTROLPANEL", true);
  store.WriteFlag("SETTINGS", "REVERSE", true);
  store.WriteString("PATHS", "C:\\b", "0");
  store.WriteString("PATHS", "C:\\a", "1");
  const TViewSettings settings = Read();
  EXPECT_EQ(SortKeys(), "Year,Genre");
  EXPECT_EQ(CaptionKeys(), "");  // no information fields is a valid choice
  EXPECT_EQ(settings.MirrorAlpha, 78);
  EXPECT_EQ(settings.CurrentIndex, 12);
  EXPECT_DOUBLE_EQ(settings.CurveA, 0.0);
  EXPECT_DOUBLE_EQ(settings.CurveB, 1.0);
  EXPECT_DOUBLE_EQ(settings.SizeFactor, 0.8);
  EXPECT_EQ(settings.StepCount, 33);
  EXPECT_TRUE(settings.UseControlPanel);
  EXPECT_TRUE(settings.ReverseScroll);
  EXPECT_EQ(settings.SearchPaths, (Names{"C:\\b", "C:\\a"}));
}

TEST_F(StartupRead, CoverMemoryOfZeroMeansNoLimitAndANegativeOneTheDefault) {
  for (const auto& [stored, read] : {std::pair{0, 0}, std::pair{1024, 1024}, std::pair{-1, 384}}) {
    store.WriteInteger("SETTINGS", "COVERMEMORY", stored);
    EXPECT_EQ(Read().CoverMemory, read) << stored;
  }
  // The legacy file never held it: the store's value holds through the import.
  store.WriteInteger("SETTINGS", "COVERMEMORY", 512);
  WriteIni("[SETTINGS]\nALPHA=60\n");
  EXPECT_EQ(Read().CoverMemory, 512);
}

TEST_F(StartupRead, StoredFrameCountBelowOneBecomesOneAndSizeStaysWithinTheSlider) {
  for (const int32_t stored : {0, -5}) {
    store.WriteInteger("SETTINGS", "FANZSTEPS", stored);
    EXPECT_EQ(Read().StepCount, 1) << stored;
  }
  for (const auto& [stored, factor] : {std::pair{10, 0.5}, std::pair{140, 1.0}}) {
    store.WriteInteger("SETTINGS", "FSIZE", stored);
    EXPECT_DOUBLE_EQ(Read().SizeFactor, factor) << stored;
  }
}

// Such a value once made the read throw, and the plug-in never opened.
TEST_F(StartupRead, ValueOfTheWrongKindTakesItsDefaultAndTheRestIsRead) {
  store.WriteInteger("SETTINGS", "FSORT", 5);
  store.WriteString("SETTINGS", "FANZEIGE", "Year");
  store.WriteInteger("SETTINGS", "ALPHA", 200);
  const TViewSettings settings = Read();
  EXPECT_EQ(SortKeys(), "Album,Artist,Genre,Year");
  EXPECT_EQ(CaptionKeys(), "Year");
  EXPECT_EQ(settings.MirrorAlpha, 200);
  EXPECT_EQ(store.ReadInteger("SETTINGS", "FSORT", -1), 5) << "the stored value is left alone";
}

TEST_F(StartupRead, IniWithOnlyPathsImportsTheFileDefaultsAndIsDeleted) {
  store.WriteString("PATHS", "C:\\stale", "0");
  store.WriteInteger("SETTINGS", "ALPHA", 200);  // the store is not read during an import
  WriteIni("[PATHS]\r\nD:\\Music=0\r\nC:\\Audio=1\r\n");
  const TViewSettings settings = Read();

  EXPECT_EQ(settings.MirrorAlpha, 60);
  EXPECT_DOUBLE_EQ(settings.CurveA, 0.0);
  EXPECT_DOUBLE_EQ(settings.CurveB, 1.0);
  EXPECT_DOUBLE_EQ(settings.SizeFactor, 1.0);
  EXPECT_EQ(settings.StepCount, 50);
  EXPECT_EQ(settings.SearchPaths, (Names{"D:\\Music", "C:\\Audio"}));
  EXPECT_FALSE(IniExists());

  TFileSettingsStore reopened(folder.Path() + "settings");
  Names paths;
  reopened.ListNames("PATHS", paths);
  EXPECT_EQ(paths, (Names{"D:\\Music", "C:\\Audio"}));
  EXPECT_EQ(reopened.ReadString("SETTINGS", "FSORT", ""), "Album,Artist,Genre,Year");
  EXPECT_EQ(reopened.ReadString("SETTINGS", "FANZEIGE", ""), "Album");
  EXPECT_EQ(reopened.ReadInteger("SETTINGS", "ALPHA", -1), 60);
  EXPECT_EQ(reopened.ReadInteger("SETTINGS", "FUNCA", -1), 0);
  EXPECT_EQ(reopened.ReadInteger("SETTINGS", "FUNCB", -1), 1000000);
  EXPECT_EQ(reopened.ReadInteger("SETTINGS", "FSIZE", -1), 100);
  EXPECT_EQ(reopened.ReadString("SETTINGS", "REVERSE", ""), "0");
  // INDEX and FANZSTEPS are the view's to write when it closes.
  EXPECT_EQ(reopened.ReadInteger("SETTINGS", "INDEX", -1), -1);
  EXPECT_EQ(reopened.ReadInteger("SETTINGS", "FANZSTEPS", -1), -1);

  // The next start reads the store.
  EXPECT_EQ(Read().SearchPaths, (Names{"D:\\Music", "C:\\Audio"}));
}

TEST_F(StartupRead, IniValuesAreImportedButNotTheControlPanel) {
  store.WriteFlag("SETTINGS", "CONTROLPANEL", true);
  WriteIni(
      "[SETTINGS]\n"
      "FSORT=Genre\n"
      "FANZEIGE=\n"
      "ALPHA=0x40\n"
      "INDEX=7\n"
      "FUNCA=8830\n"
      "FUNCB=37590\n"
      "FSIZE=57\n"
      "FANZSTEPS=20\n"
      "REVERSE=1\n"
      "CONTROLPANEL=1\n");
  const TViewSettings settings = Read();
  EXPECT_EQ(SortKeys(), "Genre");
  EXPECT_EQ(CaptionKeys(), "");
  EXPECT_EQ(settings.MirrorAlpha, 64);
  EXPECT_EQ(settings.CurrentIndex, 7);
  EXPECT_EQ(settings.StepCount, 20);
  EXPECT_TRUE(settings.ReverseScroll);
  EXPECT_FALSE(settings.UseControlPanel);
  EXPECT_TRUE(settings.SearchPaths.empty());
  EXPECT_EQ(store.ReadInteger("SETTINGS", "FUNCA", -1), 8830);
  EXPECT_EQ(store.ReadInteger("SETTINGS", "FUNCB", -1), 37590);
  EXPECT_EQ(store.ReadInteger("SETTINGS", "FSIZE", -1), 57);
  EXPECT_EQ(store.ReadString("SETTINGS", "REVERSE", ""), "1");
  EXPECT_EQ(store.ReadString("SETTINGS", "FANZEIGE", "x"), "");
}

// Each of these, divided and multiplied back, lands a hair below the whole
// number (57 / 100 * 100 is 56.99999999999999); truncating would lose one.
TEST_F(StartupRead, ImportWritesBackExactlyTheNumbersItRead) {
  const struct {
    int32_t size, curveA, curveB;
  } cases[] = {{57, 249, 31254}, {58, 489, 524287}, {29, 983, 502}, {100, 0, 1000000}};
  for (const auto& c : cases) {
    WriteIni("[SETTINGS]\nFSIZE=" + std::to_string(c.size) + "\nFUNCA=" + std::to_string(c.curveA) +
             "\nFUNCB=" + std::to_string(c.curveB) + "\n");
    Read();
    EXPECT_EQ(store.ReadInteger("SETTINGS", "FSIZE", -1), c.size);
    EXPECT_EQ(store.ReadInteger("SETTINGS", "FUNCA", -1), c.curveA);
    EXPECT_EQ(store.ReadInteger("SETTINGS", "FUNCB", -1), c.curveB);
  }
}

TEST_F(StartupRead, DestructionWritesIndexAndFrameCountKeepingTextValuesText) {
  store.WriteString("SETTINGS", "INDEX", "3");
  WriteViewPosition(store, 41, 17);
  EXPECT_EQ(store.ReadString("SETTINGS", "INDEX", ""), "41");
  EXPECT_EQ(store.ReadInteger("SETTINGS", "FANZSTEPS", -1), 17);
}
