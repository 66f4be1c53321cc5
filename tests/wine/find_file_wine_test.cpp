// The file search over the Win32 listing: real Windows attributes (hidden,
// system, read-only, archive), backslash folders and the system's masks.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/directory_listing.h"
#include "library/find_file.h"

using namespace tavio;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

// A fresh folder in the temporary folder; names ending in "\" become folders.
class TWinTree {
 public:
  TWinTree(const char* name, const std::vector<std::string>& entries) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "tavio_find_" + name + "_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root_.c_str(), nullptr);
    for (const std::string& entry : entries) {
      const std::string path = root_ + "\\" + entry;
      if (entry.ends_with('\\')) {
        CreateDirectoryA(path.c_str(), nullptr);
      } else {
        CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      }
      created_.insert(created_.begin(), path);
    }
  }
  ~TWinTree() {
    for (const std::string& path : created_) {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
    }
    RemoveDirectoryA(root_.c_str());
  }

  const std::string& Root() const { return root_; }
  // Sets the attributes and says whether the file system kept them.
  bool SetAttributes(const std::string& relative, DWORD attributes) const {
    const std::string path = root_ + "\\" + relative;
    SetFileAttributesA(path.c_str(), attributes);
    return (GetFileAttributesA(path.c_str()) & attributes) == attributes;
  }

 private:
  std::string root_;
  std::vector<std::string> created_;  // deepest first
};

std::vector<std::string> Search(const TWinTree& tree, const std::string& masks, TFileAttributeSet attributes,
                                std::string location = "") {
  TFindFile find;
  find.Criteria.Files.FileName = masks;
  find.Criteria.Files.Location = location.empty() ? tree.Root() : location;
  find.Criteria.Attribute.Attributes = attributes;
  std::vector<std::string> found;
  const std::string root = tree.Root() + "\\";
  find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec& entry) {
    EXPECT_EQ(folder.rfind(root, 0), 0u) << folder;
    found.push_back(folder.substr(root.size()) + entry.Name);
  };
  find.Execute();
  return found;
}

constexpr TFileAttributeSet kFiles = ffArchive | ffReadonly | ffHidden | ffSystem;

}  // namespace

TEST(FindFile, FolderModeSkipsMarkedFoldersButSearchesBelowThem_Wine) {
  const TWinTree tree("folders", {"Plain\\", "Hidden\\", "Hidden\\In1\\", "System\\", "System\\In2\\",
                                  "Locked\\", "Locked\\In3\\", "Archived\\", "Archived\\In4\\"});
  ASSERT_TRUE(tree.SetAttributes("Hidden", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(tree.SetAttributes("System", FILE_ATTRIBUTE_SYSTEM));
  std::vector<std::string> expected = {"Plain", "Hidden\\In1", "System\\In2", "Locked\\In3", "Archived\\In4"};
  // Not every file system keeps these two on folders (Wine drops read-only);
  // where they are kept, they hide the folder like the others.
  if (!tree.SetAttributes("Locked", FILE_ATTRIBUTE_READONLY)) expected.push_back("Locked");
  if (!tree.SetAttributes("Archived", FILE_ATTRIBUTE_ARCHIVE)) expected.push_back("Archived");
  EXPECT_THAT(Search(tree, "*.*", ffDirectory), ::testing::UnorderedElementsAreArray(expected));
}

TEST(FindFile, DefaultSetTakesFilesOfEveryAttributeAndNoFolder_Wine) {
  const TWinTree tree("files", {"a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3", "dir.mp3\\"});
  ASSERT_TRUE(tree.SetAttributes("b.mp3", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(tree.SetAttributes("c.mp3", FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(tree.SetAttributes("d.mp3", FILE_ATTRIBUTE_READONLY));
  const bool archived = tree.SetAttributes("e.mp3", FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_THAT(Search(tree, "*.mp3", kFiles), UnorderedElementsAre("a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3"));
  // Folder mode lets through only entries without any of the other four.
  const std::vector<std::string> folderMode = Search(tree, "*.mp3", ffDirectory);
  EXPECT_THAT(folderMode, ::testing::Contains("dir.mp3"));
  EXPECT_THAT(folderMode, ::testing::Not(::testing::Contains("b.mp3")));
  EXPECT_THAT(folderMode, ::testing::Not(::testing::Contains("d.mp3")));
  if (archived) {
    EXPECT_THAT(folderMode, ::testing::Not(::testing::Contains("e.mp3")));
  }
}

TEST(FindFile, SystemMasksIgnoreCaseAndStarDotStarTakesNamesWithoutDot_Wine) {
  const TWinTree tree("masks", {"README", "Cover.JPG", "back.bmp"});
  EXPECT_THAT(Search(tree, "*.*", kFiles), UnorderedElementsAre("README", "Cover.JPG", "back.bmp"));
  EXPECT_THAT(Search(tree, "*.jpg;*.bmp", kFiles), ElementsAre("back.bmp", "Cover.JPG"));
}

TEST(FindFile, StartFolderGetsItsBackslashAndMissingOnesAreSilent_Wine) {
  const TWinTree tree("start", {"x.txt"});
  TFindFile find;
  find.Criteria.Files.Location = tree.Root();
  std::vector<std::string> folders;
  find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec&) { folders.push_back(folder); };
  find.Execute();
  EXPECT_THAT(folders, ElementsAre(tree.Root() + "\\"));
  EXPECT_THAT(Search(tree, "*.*", kFiles, tree.Root() + "\\missing"), ElementsAre());
}

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// A link to the folder target at link. Windows makes it with
// CreateSymbolicLinkA; Wine 8 answers that call without making anything but
// shows a Unix symbolic link as a folder link, so there ln makes it.
bool MakeFolderLink(const std::string& link, const std::string& target) {
  if (CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
      GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES)
    return true;
  using TUnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<TUnixName>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  char* unixTarget = unixName(Wide(target).c_str());
  const size_t folderEnd = link.rfind('\\');
  char* unixFolder = unixName(Wide(link.substr(0, folderEnd)).c_str());
  if (!unixTarget || !unixFolder) return false;
  std::string command = "Z:\\bin\\ln -s \"" + std::string(unixTarget) + "\" \"" + unixFolder + "/" +
                        link.substr(folderEnd + 1) + "\"";
  HeapFree(GetProcessHeap(), 0, unixTarget);
  HeapFree(GetProcessHeap(), 0, unixFolder);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  for (int i = 0; i < 40 && GetFileAttributesA(link.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  return GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(FindFile, AJunctionBackUpTheTreeIsNotWalkedRoundAgain_Wine) {
  const TWinTree tree("junction", {"A\\", "A\\B\\", "A\\B\\x.mp3"});
  const std::optional<TFolderIdentity> a = FolderIdentity(tree.Root() + "\\A\\");
  ASSERT_TRUE(a.has_value());
  EXPECT_EQ(FolderIdentity(tree.Root() + "\\a"), a) << "the same folder, spelt otherwise";
  EXPECT_NE(FolderIdentity(tree.Root() + "\\A\\B\\"), a);
  const std::string link = tree.Root() + "\\A\\B\\loop";
  if (!MakeFolderLink(link, tree.Root() + "\\A")) GTEST_SKIP() << "no folder links here";
  const std::vector<std::string> found = Search(tree, "*.mp3", kFiles);
  RemoveDirectoryA(link.c_str());
  DeleteFileA(link.c_str());
  EXPECT_THAT(found, ElementsAre("A\\B\\x.mp3"));
}
