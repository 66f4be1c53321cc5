#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "library/find_file.h"
#include "library/folder_path.h"
#include "library/target_search.h"
#include "library/wildcard_mask.h"

using namespace tavio;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

namespace fs = std::filesystem;

// A fresh folder for the running test; names ending in "/" become folders,
// the others empty files.
class TTree {
 public:
  explicit TTree(const std::vector<std::string>& entries) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::path(::testing::TempDir()) / "tavio_find" / info->name();
    fs::remove_all(root_);
    fs::create_directories(root_);
    for (const std::string& entry : entries) {
      if (entry.ends_with('/')) {
        fs::create_directories(root_ / entry);
      } else {
        fs::create_directories((root_ / entry).parent_path());
        std::ofstream(root_ / entry) << "x";
      }
    }
  }
  ~TTree() {
    // Read-only folders must be writable again before they can be removed.
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
    }
    fs::remove_all(root_);
  }

  std::string Root() const { return root_.string(); }
  // The root with its separator, followed by relative.
  std::string Folder(const std::string& relative = "") const { return root_.string() + "/" + relative; }
  void MakeReadOnly(const std::string& relative) const {
    fs::permissions(root_ / relative, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }

 private:
  fs::path root_;
};

struct TMatch {
  std::string folder;  // relative to the tree, "" for the start folder
  std::string name;
  bool operator==(const TMatch&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const TMatch& m) { return out << m.folder << m.name; }
};

std::vector<TMatch> Search(const TTree& tree, const std::string& masks, TFileAttributeSet attributes,
                           bool subfolders = true, const std::string& location = "") {
  TFindFile find;
  find.Criteria.Files.FileName = masks;
  find.Criteria.Files.Location = location.empty() ? tree.Root() : location;
  find.Criteria.Files.Subfolders = subfolders;
  find.Criteria.Attribute.Attributes = attributes;
  std::vector<TMatch> matches;
  const std::string root = tree.Folder();
  find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec& entry) {
    EXPECT_TRUE(folder.starts_with(root)) << folder;
    matches.push_back({folder.substr(root.size()), entry.Name});
  };
  find.Execute();
  return matches;
}

constexpr TFileAttributeSet kFiles = ffArchive | ffReadonly | ffHidden | ffSystem;

}  // namespace

TEST(FindFile, MaskListIsTrimmedDedupedAndListedFromTheLastMask) {
  EXPECT_THAT(SplitSearchList("*.jpg; *.bmp ;;*.JPG"), ElementsAre("*.jpg", "*.bmp"));
  EXPECT_THAT(SplitSearchList(" ; ;"), ElementsAre());

  const TTree tree({"a.jpg", "b.JPG", "c.bmp", "d.txt", "sub/e.bmp", "sub/f.jpg"});
  const std::vector<TMatch> matches = Search(tree, "*.jpg; *.bmp ;;*.JPG", kFiles);
  ASSERT_EQ(matches.size(), 5u);
  // Per folder: the bitmaps (last mask) before the JPEGs, then the subfolder.
  EXPECT_EQ(matches[0], (TMatch{"", "c.bmp"}));
  EXPECT_THAT(std::vector<TMatch>(matches.begin() + 1, matches.begin() + 3),
              UnorderedElementsAre(TMatch{"", "a.jpg"}, TMatch{"", "b.JPG"}));
  EXPECT_EQ(matches[3], (TMatch{"sub/", "e.bmp"}));
  EXPECT_EQ(matches[4], (TMatch{"sub/", "f.jpg"}));
}

TEST(FindFile, EntryMatchingTwoMasksIsReportedOncePerMask) {
  const TTree tree({"a.jpg"});
  EXPECT_THAT(Search(tree, "*.jpg;A*", kFiles), ElementsAre(TMatch{"", "a.jpg"}, TMatch{"", "a.jpg"}));
  EXPECT_THAT(Search(tree, "", kFiles), ElementsAre(TMatch{"", "a.jpg"}));  // empty means "*.*"
}

TEST(FindFile, MasksFollowTheWindowsFileSearch) {
  EXPECT_TRUE(MatchesMask("README", "*.*"));
  EXPECT_TRUE(MatchesMask("a.b.c", "*.*"));
  EXPECT_TRUE(MatchesMask("Cover.JPG", "*.jpg"));
  EXPECT_TRUE(MatchesMask("track", "track.*"));
  EXPECT_TRUE(MatchesMask("abc", "a?c"));
  EXPECT_TRUE(MatchesMask("a.mp3", "*.MP3"));
  EXPECT_FALSE(MatchesMask("a.jpeg", "*.jpg"));
  EXPECT_FALSE(MatchesMask("ac", "a?c"));
  EXPECT_FALSE(MatchesMask("cover", "*.jpg"));
  EXPECT_FALSE(MatchesMask("mp3", "*.mp3"));
}

TEST(FindFile, MasksFoldCaseInEveryScriptAndCountWholeCharacters) {
  EXPECT_TRUE(MatchesMask("\xD0\x9E\xD0\x91\xD0\x9B\xD0\x9E\xD0\x96\xD0\x9A\xD0\x90.JPG",
                          "\xD0\xBE\xD0\xB1\xD0\xBB*.jpg"));                             // ОБЛОЖКА.JPG, обл*.jpg
  EXPECT_TRUE(MatchesMask("\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91", "\xCF\x83\xCE\xBF\xCF\x86*"));  // ΣΟΦΊΑ, σοφ*
  EXPECT_TRUE(MatchesMask("\xE5\xB0\x81.jpg", "?.jpg"));                                // 封.jpg: one character
  EXPECT_TRUE(MatchesMask("\xF0\x9F\x8E\xB5.jpg", "?.JPG"));                           // an emoji is one too
  EXPECT_FALSE(MatchesMask("\xE5\xB0\x81.jpg", "??.jpg"));
  EXPECT_FALSE(MatchesMask("\xE5\xB0\x81" "a", "*???"));  // "*" must not split a character to make up the count
  EXPECT_TRUE(MatchesMask("\xE5\xB0\x81" "a", "*??"));
  EXPECT_TRUE(MatchesMask("caf\xE9.mp3", "CAF?.MP3"));      // not UTF-8: a stray byte is one character
}

TEST(FindFile, FolderModeReportsSubfoldersDepthFirstButNeverTheStartFolder) {
  const TTree tree({"A/A1/", "B/"});
  const std::vector<TMatch> matches = Search(tree, "*.*", ffDirectory);
  ASSERT_EQ(matches.size(), 3u);
  EXPECT_THAT(std::vector<TMatch>(matches.begin(), matches.begin() + 2),
              UnorderedElementsAre(TMatch{"", "A"}, TMatch{"", "B"}));
  EXPECT_EQ(matches[2], (TMatch{"A/", "A1"}));
}

TEST(FindFile, HiddenAndReadOnlyFoldersAreNotReportedButSearched) {
  const TTree tree({".hidden/inner/", "locked/inner2/", "locked/song.mp3"});
  tree.MakeReadOnly("locked");
  EXPECT_THAT(Search(tree, "*.*", ffDirectory),
              UnorderedElementsAre(TMatch{".hidden/", "inner"}, TMatch{"locked/", "inner2"},
                                   TMatch{"locked/", "song.mp3"}));  // a file without attributes passes too
  EXPECT_THAT(Search(tree, "*.*", ffDirectory | ffHidden | ffReadonly),
              UnorderedElementsAre(TMatch{"", ".hidden"}, TMatch{"", "locked"}, TMatch{".hidden/", "inner"},
                                   TMatch{"locked/", "inner2"}, TMatch{"locked/", "song.mp3"}));
  EXPECT_THAT(Search(tree, "*.mp3", kFiles), ElementsAre(TMatch{"locked/", "song.mp3"}));
}

TEST(FindFile, AttributeTestRejectsOnlyAttributesOutsideTheSet) {
  const TTree tree({"plain.mp3", "locked.mp3", ".hidden.mp3", "folder.mp3/"});
  tree.MakeReadOnly("locked.mp3");
  // The default set: every file, no folder.
  EXPECT_THAT(Search(tree, "*.mp3", kFiles, false),
              UnorderedElementsAre(TMatch{"", "plain.mp3"}, TMatch{"", "locked.mp3"}, TMatch{"", ".hidden.mp3"}));
  EXPECT_THAT(Search(tree, "*.mp3", ffDirectory, false),
              UnorderedElementsAre(TMatch{"", "plain.mp3"}, TMatch{"", "folder.mp3"}));
  EXPECT_THAT(Search(tree, "*.mp3", 0, false), ElementsAre(TMatch{"", "plain.mp3"}));
}

TEST(FindFile, MissingOrEmptyStartFolderGivesNoCallsAndNoError) {
  const TTree tree({"empty/"});
  EXPECT_THAT(Search(tree, "*.*", kFiles, true, tree.Folder("empty")), ElementsAre());
  EXPECT_THAT(Search(tree, "*.*", kFiles, true, tree.Folder("missing")), ElementsAre());
  EXPECT_THAT(Search(tree, "*.*", kFiles, true, " ; "), ElementsAre());
}

TEST(FindFile, StartFoldersAreMadeAbsoluteWithOneSeparatorAtTheEnd) {
  const TTree tree({"a.txt"});
  TFindFile find;
  find.Criteria.Files.Location = tree.Root();  // no separator at the end
  std::vector<std::string> folders;
  find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec&) { folders.push_back(folder); };
  find.Execute();
  EXPECT_THAT(folders, ElementsAre(tree.Root() + kPathDelimiter));

  EXPECT_EQ(SearchFolderPath(tree.Root() + "/"), tree.Root() + "/");
  EXPECT_EQ(SearchFolderPath("relative"), (fs::current_path() / "relative").string() + "/");
}

TEST(FindFile, OverlappingStartFoldersAreEachSearched) {
  const TTree tree({"A/song.mp3"});
  EXPECT_THAT(Search(tree, "*.mp3", kFiles, true, tree.Root() + ";" + tree.Folder("A")),
              ElementsAre(TMatch{"A/", "song.mp3"}, TMatch{"A/", "song.mp3"}));
  // The same folder spelt twice shares one record, which then holds the masks twice.
  TSearchCriteria criteria;
  criteria.Files.FileName = "*.mp3";
  criteria.Files.Location = tree.Root() + ";" + tree.Root() + "/";
  const TTargetSearch search(criteria);
  ASSERT_EQ(search.TargetFolders.Items().size(), 1u);
  EXPECT_THAT(search.TargetFolders.Items()[0].FileMasks, ElementsAre("*.mp3", "*.mp3"));
}

TEST(FindFile, CallbackErrorEndsTheSearchAndReachesTheCaller) {
  const TTree tree({"a/1.txt", "b/2.txt", "c/3.txt"});
  TFindFile find;
  find.Criteria.Files.Location = tree.Root();
  int calls = 0;
  find.OnFileMatch = [&](TFindFile&, const std::string&, const TSearchRec&) {
    ++calls;
    throw std::runtime_error("stop");
  };
  EXPECT_THROW(find.Execute(), std::runtime_error);
  EXPECT_EQ(calls, 1);
  // The engine stays usable, and a callback may run an engine of its own.
  std::vector<std::string> inner;
  find.Criteria.Attribute.Attributes = ffDirectory;
  find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec& entry) {
    TFindFile pictures;
    pictures.Criteria.Files.FileName = "*.txt";
    pictures.Criteria.Files.Location = folder + entry.Name;
    pictures.Criteria.Files.Subfolders = false;
    pictures.OnFileMatch = [&](TFindFile&, const std::string&, const TSearchRec& file) { inner.push_back(file.Name); };
    pictures.Execute();
  };
  find.Execute();
  EXPECT_THAT(inner, UnorderedElementsAre("1.txt", "2.txt", "3.txt"));
}

TEST(FindFile, WholeStartFoldersKeepTheirSemicolons) {
  const TTree tree({"Simon; Garfunkel/Bookends/song.mp3"});
  TFindFile find;
  find.Criteria.Files.FileName = "*.mp3";
  find.Criteria.Files.Folders = {tree.Folder("Simon; Garfunkel")};
  std::vector<std::string> names;
  find.OnFileMatch = [&](TFindFile&, const std::string&, const TSearchRec& entry) { names.push_back(entry.Name); };
  find.Execute();
  EXPECT_THAT(names, ElementsAre("song.mp3"));
}

TEST(FindFile, StartFoldersDifferingInNonAsciiLetterCaseShareOneRecord) {
  TSearchCriteria criteria;
  criteria.Files.Location = "/music/\xC3\x84rzte;/MUSIC/\xC3\xA4RZTE";  // Ärzte, äRZTE
  criteria.Files.Folders = {"/Music/\xC3\x84rzte/"};
  EXPECT_EQ(TTargetSearch(criteria).TargetFolders.Items().size(), 1u);
  criteria.Files.Folders.clear();
  criteria.Files.Location = "/\xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1;/\xCF\x83\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91";  // Σοφία, σΟΦΊΑ
  EXPECT_EQ(TTargetSearch(criteria).TargetFolders.Items().size(), 1u);
  criteria.Files.Location = "/music/\xC3\x84rzte;/music/\xC3\x85rzte";  // A with ring is another letter
  EXPECT_EQ(TTargetSearch(criteria).TargetFolders.Items().size(), 2u);
  criteria.Files.Location = "/music/caf\xE9;/music/caf\xE8";  // not UTF-8: the bytes still tell them apart
  EXPECT_EQ(TTargetSearch(criteria).TargetFolders.Items().size(), 2u);
}

TEST(FindFile, LinksToFoldersAreNotFollowed) {
  const TTree tree({"A/song.mp3", "B/"});
  fs::create_directory_symlink(tree.Folder("A"), tree.Folder("A/loop"));  // a cycle
  fs::create_directory_symlink(tree.Folder("A"), tree.Folder("B/elsewhere"));
  fs::create_symlink(tree.Folder("A/song.mp3"), tree.Folder("B/linked.mp3"));
  EXPECT_THAT(Search(tree, "*.mp3", kFiles),
              UnorderedElementsAre(TMatch{"A/", "song.mp3"}, TMatch{"B/", "linked.mp3"}));
  // The links to folders are entries without any attribute, like plain files.
  EXPECT_THAT(Search(tree, "*.*", ffDirectory),
              UnorderedElementsAre(TMatch{"", "A"}, TMatch{"", "B"}, TMatch{"A/", "loop"}, TMatch{"A/", "song.mp3"},
                                   TMatch{"B/", "elsewhere"}, TMatch{"B/", "linked.mp3"}));
}
