// The library scan over the Win32 listing: real hidden and system attributes
// on album folders, pictures and MP3 files, and backslash cover paths.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "library/library_scan.h"
#include "library/library_scan_files.h"
#include "library/ol_saveable.h"

using namespace tavio;
using namespace tavio::test;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

// Albums in a fresh temporary folder; attributes are set through Win32.
class TWinLibrary {
 public:
  explicit TWinLibrary(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "tavio_scan_" + name + "_" + std::to_string(GetCurrentProcessId());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  ~TWinLibrary() {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_, error))
      SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(root_, error);
  }

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& relative) const { return root_ + "\\" + relative; }
  void Mp3(const std::string& relative, const std::string& artist) const {
    WriteBytes(Path(relative), Mp3WithTags(artist, artist + " Album", "2001", "Pop"));
  }
  void Hide(const std::string& relative, DWORD attribute = FILE_ATTRIBUTE_HIDDEN) const {
    ASSERT_TRUE(SetFileAttributesA(Path(relative).c_str(), attribute)) << relative;
  }

  // "relative cover file|artist" per album.
  std::vector<std::string> Describe(const TOLSaveable& list) const {
    std::vector<std::string> out;
    for (int32_t i = 0; i < list.Count(); ++i) {
      const std::string& cover = list.Items(i)->CoverFile;
      EXPECT_EQ(cover.rfind(root_ + "\\", 0), 0u) << cover;
      out.push_back(cover.substr(root_.size() + 1) + "|" + list.Items(i)->Artist);
    }
    return out;
  }

 private:
  std::string root_;
};

void WriteAttributeLibrary(const TWinLibrary& lib) {
  lib.Mp3("root.mp3", "Root");
  WriteJpeg(lib.Path("root.jpg"), 8, 8);
  lib.Mp3("Plain\\01.mp3", "Plain");
  WriteJpeg(lib.Path("Plain\\folder.jpg"), 8, 8);
  WriteBmp(lib.Path("Plain\\cover.bmp"), 8, 8);
  lib.Mp3("NoPic\\01.mp3", "NoPic");
  lib.Mp3("HidPic\\01.mp3", "HidPic");
  WriteJpeg(lib.Path("HidPic\\cover.jpg"), 8, 8);
  lib.Hide("HidPic\\cover.jpg");
  lib.Mp3("Hidden\\01.mp3", "Hidden");
  lib.Mp3("Hidden\\In\\01.mp3", "In");
  lib.Hide("Hidden");
  lib.Mp3("SystemMp3\\01.mp3", "SystemMp3");
  lib.Hide("SystemMp3\\01.mp3", FILE_ATTRIBUTE_SYSTEM);
  WriteJpeg(lib.Path("SystemMp3\\folder.jpg"), 8, 8);
}

TLibraryScan ScanOf(const TWinLibrary& lib, bool scanAll, TOLSaveable& albums) {
  TLibraryScan scan;
  scan.SearchPaths = {lib.Root()};
  scan.ScanAll = scanAll;
  scan.PluginFolder = lib.Root() + "\\";
  scan.Albums = &albums;
  return scan;
}

}  // namespace

TEST(LibraryScan, FolderModeSkipsHiddenFoldersAndGivesBackslashNoPictureNames_Wine) {
  const TWinLibrary lib("folders");
  WriteAttributeLibrary(lib);
  TOLSaveable albums;
  std::vector<std::string> messages;
  TLibraryScan scan = ScanOf(lib, true, albums);
  scan.OnMessage = [&](const std::string& text) { messages.push_back(text); };
  scan.Execute();
  // A hidden picture still counts; a system MP3 file does not.
  EXPECT_THAT(lib.Describe(albums), UnorderedElementsAre("Plain\\folder.jpg|Plain", "NoPic\\xx.xxx|NoPic",
                                                         "HidPic\\cover.jpg|HidPic", "Hidden\\In\\xx.xxx|In"));
  EXPECT_THAT(messages, ElementsAre("4 albums found."));
  TOLSaveable saved;
  saved.LoadFromFile(lib.Path("Data.dat"));
  EXPECT_EQ(saved.Count(), 4);
}

TEST(LibraryScan, PictureModeTakesHiddenPicturesAndPicturesOfTheSearchPath_Wine) {
  const TWinLibrary lib("pictures");
  WriteAttributeLibrary(lib);
  TOLSaveable albums;
  TLibraryScan scan = ScanOf(lib, false, albums);
  scan.Execute();
  const std::vector<std::string> found = lib.Describe(albums);
  // One album per folder: Plain takes its folder.jpg.
  EXPECT_THAT(found, UnorderedElementsAre("root.jpg|Root", "Plain\\folder.jpg|Plain", "HidPic\\cover.jpg|HidPic"));
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found[0], "root.jpg|Root");
}
