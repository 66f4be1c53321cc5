// The settings file: the registry's semantics (stored types, case-insensitive
// names, the written order of PATHS) and a file that survives what happens.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "settings/file_settings_store.h"
#include "settings/search_paths.h"
#include "support/temp_folder.h"

using namespace tavio;
using tavio::test::TTempFolder;

namespace {

using Names = std::vector<std::string>;

class FileSettingsStore : public ::testing::Test {
 protected:
  std::string StorePath() const { return folder.Path() + "settings"; }
  TFileSettingsStore Open() const { return TFileSettingsStore(StorePath()); }
  TTempFolder folder;
};

}  // namespace

TEST_F(FileSettingsStore, MissingSectionOrValueGivesTheDefault) {
  TFileSettingsStore store = Open();
  EXPECT_EQ(store.ReadString("SETTINGS", "FSORT", "dflt"), "dflt");
  EXPECT_EQ(store.ReadInteger("SETTINGS", "ALPHA", 78), 78);
  EXPECT_TRUE(store.ReadFlag("SETTINGS", "REVERSE", true));
  store.WriteInteger("SETTINGS", "INDEX", 3);
  EXPECT_EQ(store.ReadInteger("SETTINGS", "ALPHA", 78), 78);
  EXPECT_EQ(store.ReadInteger("OTHER", "INDEX", -1), -1);
}

TEST_F(FileSettingsStore, IntegerStoredAsTextIsParsedAndStaysText) {
  TFileSettingsStore store = Open();
  store.WriteString("SETTINGS", "FSIZE", "80");
  store.WriteString("SETTINGS", "ALPHA", "bright");
  EXPECT_EQ(store.ReadInteger("SETTINGS", "FSIZE", 74), 80);
  EXPECT_EQ(store.ReadInteger("SETTINGS", "ALPHA", 78), 78);

  store.WriteInteger("SETTINGS", "FSIZE", 90);
  EXPECT_EQ(store.ReadString("SETTINGS", "FSIZE", ""), "90");  // a number would not read as text
  EXPECT_EQ(TFileSettingsStore(StorePath()).ReadString("SETTINGS", "FSIZE", ""), "90");
}

TEST_F(FileSettingsStore, NewIntegerIsANumberAndDoesNotReadAsText) {
  TFileSettingsStore store = Open();
  store.WriteInteger("SETTINGS", "T", -20);
  EXPECT_EQ(store.ReadInteger("SETTINGS", "T", 0), -20);
  EXPECT_THROW(store.ReadString("SETTINGS", "T", ""), std::runtime_error);
  EXPECT_EQ(TFileSettingsStore(StorePath()).ReadInteger("SETTINGS", "T", 0), -20);
}

TEST_F(FileSettingsStore, FlagsAreTheTextsZeroAndOne) {
  TFileSettingsStore store = Open();
  store.WriteFlag("SETTINGS", "REVERSE", true);
  store.WriteFlag("SETTINGS", "SCANALL", false);
  EXPECT_EQ(store.ReadString("SETTINGS", "REVERSE", ""), "1");
  EXPECT_EQ(store.ReadString("SETTINGS", "SCANALL", ""), "0");
  EXPECT_TRUE(store.ReadFlag("SETTINGS", "REVERSE", false));
  store.WriteInteger("SETTINGS", "CONTROLPANEL", 7);  // any non-zero number is on
  EXPECT_TRUE(store.ReadFlag("SETTINGS", "CONTROLPANEL", false));
}

TEST_F(FileSettingsStore, NamesIgnoreLetterCaseAndKeepTheirPlace) {
  TFileSettingsStore store = Open();
  store.WriteString("PATHS", "C:\\Music", "0");
  store.WriteString("PATHS", "D:\\Audio", "1");
  store.WriteString("paths", "c:\\MUSIC", "2");
  EXPECT_EQ(store.ReadString("Paths", "C:\\music", ""), "2");
  Names names;
  store.ListNames("PATHS", names);
  EXPECT_EQ(names, (Names{"C:\\Music", "D:\\Audio"}));
}

TEST_F(FileSettingsStore, PathsComeBackInWrittenOrderNotByName) {
  {
    TFileSettingsStore store = Open();
    WriteSearchPaths(store, {"Z:\\zeta", "A:\\alpha", "M:\\mid"});
  }
  TFileSettingsStore store = Open();
  Names names;
  ReadSearchPaths(store, names);
  EXPECT_EQ(names, (Names{"Z:\\zeta", "A:\\alpha", "M:\\mid"}));
  EXPECT_EQ(store.ReadString("PATHS", "A:\\alpha", ""), "1");
}

TEST_F(FileSettingsStore, RepeatedPathIsStoredOnceAtItsFirstPlace) {
  TFileSettingsStore store = Open();
  WriteSearchPaths(store, {"C:\\a", "C:\\b", "c:\\A", "C:\\c"});
  Names names;
  ReadSearchPaths(store, names);
  EXPECT_EQ(names, (Names{"C:\\a", "C:\\b", "C:\\c"}));
}

TEST_F(FileSettingsStore, SavingPathsReplacesTheOldList) {
  TFileSettingsStore store = Open();
  WriteSearchPaths(store, {"C:\\old1", "C:\\old2"});
  WriteSearchPaths(store, {"C:\\new"});
  Names names;
  ReadSearchPaths(store, names);
  EXPECT_EQ(names, (Names{"C:\\new"}));
}

TEST_F(FileSettingsStore, ListingAMissingSectionLeavesTheListAlone) {
  TFileSettingsStore store = Open();
  Names names{"kept"};
  store.ListNames("PATHS", names);
  EXPECT_EQ(names, (Names{"kept"}));
  store.WriteString("PATHS", "x", "0");
  store.EraseSection("PATHS");
  store.ListNames("PATHS", names);
  EXPECT_EQ(names, (Names{"kept"}));
}

TEST_F(FileSettingsStore, EraseSectionTouchesNoOtherSection) {
  TFileSettingsStore store = Open();
  store.WriteString("PATHS", "x", "0");
  store.WriteInteger("SETTINGS", "ALPHA", 5);
  store.EraseSection("paths");
  store.EraseSection("NEVER-WRITTEN");
  TFileSettingsStore reopened = Open();
  EXPECT_EQ(reopened.ReadString("PATHS", "x", "gone"), "gone");
  EXPECT_EQ(reopened.ReadInteger("SETTINGS", "ALPHA", 0), 5);
}

TEST_F(FileSettingsStore, NamesAndTextsWithAnyByteSurviveTheFile) {
  const std::string oddName = "C:\\a=b [x]\t%20;\r\nend";
  const std::string oddText = "line1\nline2\t%0A\\ \xE9";
  {
    TFileSettingsStore store = Open();
    store.WriteString("PATHS", oddName, oddText);
    store.WriteString("SETTINGS", "FANZEIGE", "");
  }
  TFileSettingsStore store = Open();
  Names names;
  store.ListNames("PATHS", names);
  EXPECT_EQ(names, (Names{oddName}));
  EXPECT_EQ(store.ReadString("PATHS", oddName, ""), oddText);
  EXPECT_EQ(store.ReadString("SETTINGS", "FANZEIGE", "Album"), "");
}

TEST_F(FileSettingsStore, ValuesBelongToTheSectionNamedLast) {
  folder.Write("settings",
               "tavio-settings 1\n"
               "section\tSETTINGS\n"
               "section\tPATHS\n"
               "section\tsettings\n"  // the first section again
               "number\tALPHA\t5\n");
  TFileSettingsStore store = Open();
  EXPECT_EQ(store.ReadInteger("SETTINGS", "ALPHA", 0), 5);
  EXPECT_EQ(store.ReadInteger("PATHS", "ALPHA", 0), 0);
}

TEST_F(FileSettingsStore, DamagedFileIsRefusedAndLeftAsItIs) {
  const std::string damaged[] = {
      "not a settings file\n",
      "tavio-settings 1\ntext\tALPHA\t5\n",                     // value before any section
      "tavio-settings 1\nsection\tS\nnumber\tALPHA\tfive\n",  // number that is no number
      "tavio-settings 1\nsection\tS\ntext\tA%2\tx\n",          // cut escape
      "tavio-settings 1\nsection\tS\nblob\tA\tx\n",            // unknown kind
  };
  for (const std::string& contents : damaged) {
    folder.Write("settings", contents);
    EXPECT_THROW(Open(), std::runtime_error) << contents;
    EXPECT_EQ(folder.Read("settings"), contents);
  }
}

TEST_F(FileSettingsStore, OpeningCreatesTheFileAndLeavesNoTemporaryFile) {
  Open().WriteInteger("SETTINGS", "INDEX", 1);
  EXPECT_TRUE(folder.Exists("settings"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "only the file itself";
  EXPECT_THROW(TFileSettingsStore(folder.Path() + "missing-folder/settings"), std::runtime_error);
}
