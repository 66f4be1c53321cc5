// The data files through the Win32 file functions: backslash paths, and a
// save that must replace the existing file in place.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "library/file_access.h"
#include "library/library_files.h"
#include "library/safe_file_write.h"

using namespace tavio;

namespace {

std::string MakePluginFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "tavio_library_files_" +
                             std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void AddAlbum(TOLSaveable& list, const std::string& album) {
  auto* a = new TAlbum;
  a->Album = album;
  list.Add(a);
}

}  // namespace

TEST(LibraryFiles, SecondSaveReplacesTheFirstAndHiddenFileGoesWhenEmpty_Wine) {
  const std::string folder = MakePluginFolder();
  TOLSaveable albums, hidden;
  AddAlbum(albums, "first");
  AddAlbum(hidden, "hidden");
  SaveLibraryFiles(folder, albums, hidden);
  ASSERT_TRUE(FileExists(folder + "Data2.dat"));

  AddAlbum(albums, "second");
  hidden.Clear();
  SaveLibraryFiles(folder, albums, hidden);
  EXPECT_FALSE(FileExists(folder + "Data2.dat"));
  EXPECT_FALSE(FileExists(TemporaryNameFor(folder + "Data.dat")));

  TOLSaveable loaded, loadedHidden;
  LoadLibraryFiles(folder, loaded, loadedHidden);
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded.Items(1)->Album, "second");
  EXPECT_EQ(loadedHidden.Count(), 0);

  EXPECT_TRUE(DeleteFileAt(folder + "Data.dat"));
  EXPECT_FALSE(FileExists(folder + "Data.dat"));
  EXPECT_FALSE(FileExists(folder));  // a folder is not a file
  RemoveDirectoryA(folder.c_str());
}
