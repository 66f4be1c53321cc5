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

  // A file at the name the temporary file once had is someone else's.
  const std::string planted = folder + "Data.dat.tmp";
  HANDLE file = CreateFileA(planted.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "theirs", 6, &written, nullptr);
  CloseHandle(file);
  AddAlbum(albums, "second");
  hidden.Clear();
  SaveLibraryFiles(folder, albums, hidden);
  EXPECT_FALSE(FileExists(folder + "Data2.dat"));
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA((folder + "*.tmp").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::string(found.cFileName), "Data.dat.tmp");
  EXPECT_FALSE(FindNextFileA(search, &found)) << "a temporary file was left behind";
  FindClose(search);
  file = CreateFileA(planted.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char bytes[16] = {};
  ReadFile(file, bytes, sizeof bytes, &written, nullptr);
  CloseHandle(file);
  EXPECT_EQ(std::string(bytes, written), "theirs");
  DeleteFileA(planted.c_str());

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
