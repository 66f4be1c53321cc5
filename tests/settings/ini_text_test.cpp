// The legacy settings file read the way the system's ini-file functions read it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ini_text.h"

using namespace tavio;

using Names = std::vector<std::string>;

TEST(IniText, ReadsSectionsAndKeysIgnoringCaseAndSpaces) {
  TIniText ini(
      "; written by an earlier release\r\n"
      "orphan=before any section\r\n"
      "[SETTINGS]\r\n"
      "  FSORT = Artist,Album  \r\n"
      "alpha=0x4B\r\n"
      "FANZEIGE=\"Year,Album\"\r\n"
      "FSIZE=\r\n"
      "[paths]\r\n"
      "C:\\Music=0\r\n"
      "D:\\Audio Books\r\n"
      "=no name\r\n"
      "E:\\x=2\r\n");
  EXPECT_EQ(ini.ReadString("settings", "fsort", ""), "Artist,Album");
  EXPECT_EQ(ini.ReadInteger("SETTINGS", "ALPHA", 60), 75);
  EXPECT_EQ(ini.ReadString("SETTINGS", "FANZEIGE", ""), "Year,Album");
  EXPECT_EQ(ini.ReadInteger("SETTINGS", "FSIZE", 100), 100);
  EXPECT_EQ(ini.ReadString("SETTINGS", "orphan", "none"), "none");
  EXPECT_EQ(ini.ListNames("PATHS"), (Names{"C:\\Music", "D:\\Audio Books", "E:\\x"}));
  EXPECT_EQ(ini.ListNames("MISSING"), Names{});
}

TEST(IniText, HexadecimalAndFlags) {
  TIniText ini("[S]\nA=0x10\nB=0X10\nC=$10\nD=ten\nON=1\nOFF=0\nODD=2\n");
  EXPECT_EQ(ini.ReadInteger("S", "A", 0), 16);
  EXPECT_EQ(ini.ReadInteger("S", "B", 0), 16);
  EXPECT_EQ(ini.ReadInteger("S", "C", 0), 16);
  EXPECT_EQ(ini.ReadInteger("S", "D", 7), 7);
  EXPECT_TRUE(ini.ReadFlag("S", "ON", false));
  EXPECT_FALSE(ini.ReadFlag("S", "OFF", true));
  EXPECT_TRUE(ini.ReadFlag("S", "ODD", false));
  EXPECT_TRUE(ini.ReadFlag("S", "MISSING", true));
}

TEST(IniText, CutsWhatDoesNotFitTheBuffers) {
  const std::string longValue(3000, 'v');
  std::string paths = "[PATHS]\n";
  // 1000 names of 19 characters and a zero: 20000 bytes, more than the list buffer.
  for (int i = 0; i < 1000; ++i) paths += "C:\\folder\\name" + std::to_string(10000 + i) + "=0\n";
  TIniText ini("[S]\nV=" + longValue + "\n" + paths);
  EXPECT_EQ(ini.ReadString("S", "V", ""), std::string(2047, 'v'));
  const Names names = ini.ListNames("PATHS");
  ASSERT_EQ(names.size(), 820u);  // 16382 bytes: 819 whole names and 2 bytes of the next
  EXPECT_EQ(names[818], "C:\\folder\\name10818");
  EXPECT_EQ(names[819], "C:");
}

TEST(IniText, Utf8FileLosesOnlyItsMark) {
  TIniText ini("\xEF\xBB\xBF[PATHS]\nC:\\Caf\xC3\xA9=0\n");
  EXPECT_EQ(ini.ListNames("PATHS"), (Names{"C:\\Caf\xC3\xA9"}));
}
