#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <csignal>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "library/data_file_error.h"
#include "library/file_access.h"
#include "library/library_files.h"
#include "library/safe_file_write.h"
#include "support/temp_folder.h"

using namespace tavio;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// A fresh plug-in folder per test, removed afterwards.
class LibraryFiles : public ::testing::Test {
 protected:
  std::string Folder() const { return temp_.Path(); }
  std::string PathOf(const char* name) const { return Folder() + name; }

  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // The folder's file names, sorted: no temporary file may be left behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Folder())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TTempFolder temp_;
};

void AddAlbum(TOLSaveable& list, const std::string& album, const std::string& genre = "") {
  auto* a = new TAlbum;
  a->Album = album;
  a->Genre = genre;
  list.Add(a);
}

std::string Record(const std::string& album) {
  return "\x06\x06TAlbum"s                                      // class name
         "\x06\x00\x06\x00\x02\x00\x06\x00"s                    // CoverFile, Title, Year, Artist
         "\x06"s + static_cast<char>(album.size()) + album +    // Album
         "\x06\x00\x02\x00"s;                                   // Genre, reserved
}

}  // namespace

TEST_F(LibraryFiles, RoundTripThroughBothFiles) {
  TOLSaveable albums, hidden;
  AddAlbum(albums, "Shown 1");
  AddAlbum(albums, "Shown 2");
  AddAlbum(hidden, "Hidden", "Polka");
  SaveLibraryFiles(Folder(), albums, hidden);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Data.dat", "Data2.dat"}));

  TOLSaveable albums2, hidden2;
  LoadLibraryFiles(Folder(), albums2, hidden2);
  ASSERT_EQ(albums2.Count(), 2);
  EXPECT_EQ(albums2.Items(1)->Album, "Shown 2");
  ASSERT_EQ(hidden2.Count(), 1);
  EXPECT_EQ(hidden2.Items(0)->Genre, "Polka");
}

TEST_F(LibraryFiles, SavingWithNoHiddenAlbumsDeletesData2) {
  WriteAll(PathOf("Data2.dat"), "\x02\x01"s + Record("stale"));
  TOLSaveable albums, hidden;
  AddAlbum(albums, "A");
  SaveLibraryFiles(Folder(), albums, hidden);
  EXPECT_FALSE(FileExists(PathOf("Data2.dat")));
  EXPECT_TRUE(FileExists(PathOf("Data.dat")));
}

TEST_F(LibraryFiles, BrokenFileIsDeletedAndKeepsTheAlbumsReadBeforeTheBreak) {
  const std::string third = Record("three");
  WriteAll(PathOf("Data.dat"), "\x02\x03"s + Record("one") + Record("two") + third.substr(0, 12));
  WriteAll(PathOf("Data2.dat"), "\x02\x01\x06\x05TSong"s);
  TOLSaveable albums, hidden;
  LoadLibraryFiles(Folder(), albums, hidden);
  ASSERT_EQ(albums.Count(), 2);
  EXPECT_EQ(albums.Items(0)->Album, "one");
  EXPECT_EQ(albums.Items(1)->Album, "two");
  EXPECT_EQ(hidden.Count(), 0);
  EXPECT_FALSE(FileExists(PathOf("Data.dat")));
  EXPECT_FALSE(FileExists(PathOf("Data2.dat")));
}

TEST_F(LibraryFiles, MissingFilesLeaveTheListsAlone) {
  TOLSaveable albums, hidden;
  AddAlbum(albums, "kept");
  LoadLibraryFiles(Folder() + "nowhere/", albums, hidden);
  EXPECT_EQ(albums.Count(), 1);
  EXPECT_EQ(hidden.Count(), 0);
}

TEST_F(LibraryFiles, FailedWriteLeavesThePreviousFileWholeAndLoadable) {
  TOLSaveable albums, hidden;
  AddAlbum(albums, "precious");
  SaveLibraryFiles(Folder(), albums, hidden);
  const std::string before = ReadAll(PathOf("Data.dat"));

  // A save that dies half-way, as on a full disk.
  EXPECT_THROW(WriteFileSafely(PathOf("Data.dat"),
                               [](TStream& stream) {
                                 stream.Write("\x02\x05", 2);
                                 throw EDataFileError("disk full");
                               }),
               EDataFileError);
  EXPECT_EQ(ReadAll(PathOf("Data.dat")), before);
  EXPECT_EQ(Names(), std::vector<std::string>{"Data.dat"});

  // A save into a folder that has vanished.
  fs::remove_all(Folder());
  SaveLibraryFiles(Folder(), albums, hidden);
  EXPECT_FALSE(FileExists(PathOf("Data.dat")));
}

TEST_F(LibraryFiles, FailedAlbumsSaveKeepsBothOldFiles) {
  TOLSaveable albums, hidden;
  AddAlbum(albums, "a");
  AddAlbum(hidden, "h");
  SaveLibraryFiles(Folder(), albums, hidden);
  // A folder took Data.dat's place, so the new Data.dat cannot replace it.
  fs::rename(PathOf("Data.dat"), PathOf("old"));
  fs::create_directories(PathOf("Data.dat/in the way"));
  TOLSaveable none;
  SaveLibraryFiles(Folder(), albums, none);
  EXPECT_TRUE(FileExists(PathOf("Data2.dat"))) << "a failed first save must not go on to delete Data2.dat";
  EXPECT_EQ(Names(), (std::vector<std::string>{"Data.dat", "Data2.dat", "old"}));
}

// A link planted where the temporary file used to go once made the save
// write through it into the link's target.
TEST_F(LibraryFiles, SaveNeverWritesThroughALinkBesideTheFile) {
  WriteAll(PathOf("victim"), "not yours");
  fs::create_symlink(PathOf("victim"), PathOf("Data.dat.tmp"));
  TOLSaveable albums, hidden;
  AddAlbum(albums, "saved");
  SaveLibraryFiles(Folder(), albums, hidden);
  EXPECT_EQ(ReadAll(PathOf("victim")), "not yours");
  EXPECT_TRUE(fs::is_symlink(PathOf("Data.dat.tmp")));
  TOLSaveable loaded, loadedHidden;
  LoadLibraryFiles(Folder(), loaded, loadedHidden);
  ASSERT_EQ(loaded.Count(), 1);
  EXPECT_EQ(loaded.Items(0)->Album, "saved");
}

TEST_F(LibraryFiles, ListCommandPrintsAlbumsAndFailsOnABrokenFile) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !FileExists(tool)) GTEST_SKIP() << "tavio tool not built";
  auto run = [&](const std::string& args, std::string& out) {
    const std::string command = std::string(tool) + " list " + args + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    size_t got;
    out.clear();
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
    return WEXITSTATUS(pclose(pipe));
  };
  TOLSaveable albums, hidden;
  auto* a = new TAlbum;
  a->CoverFile = "C:\\M\\x.jpg";
  a->Title = "T";
  a->Year = 1999;
  a->Artist = "Caf\xC3\xA9 \"Q\"";
  a->Album = "Alb";
  a->Genre = "Rock";
  albums.Add(a);
  SaveLibraryFiles(Folder(), albums, hidden);

  std::string out;
  EXPECT_EQ(run(PathOf("Data.dat"), out), 0);
  EXPECT_EQ(out, "C:\\M\\x.jpg\tT\t1999\tCaf\xC3\xA9 \"Q\"\tAlb\tRock\n");
  EXPECT_EQ(run("--json " + PathOf("Data.dat"), out), 0);
  EXPECT_NE(out.find(R"("Artist": "Caf)" "\xC3\xA9" R"( \"Q\"")"), std::string::npos) << out;
  EXPECT_NE(out.find(R"("CoverFile": "C:\\M\\x.jpg")"), std::string::npos) << out;

  WriteAll(PathOf("Broken.dat"), "\x02\x02"s + Record("one") + "\x06\x06TAl");
  EXPECT_NE(run(PathOf("Broken.dat"), out), 0);
  EXPECT_EQ(out, "\t\t0\t\tone\t\n");
}

namespace {

// A library whose every album carries its version in the title, so a loaded
// file tells which save wrote it and whether it is whole.
void FillVersion(TOLSaveable& list, char version, int count) {
  for (int i = 0; i < count; ++i) {
    auto* a = new TAlbum;
    a->Title = std::string(1, version) + std::to_string(i);
    a->Album = "Album " + std::to_string(i);
    a->Artist = "Artist \xC3\xA9";  // a UTF-8 record, as non-ASCII texts are stored
    list.Add(a);
  }
}

// The albums of a whole file of one version: 'a' with count albums, or 'b'.
bool IsWholeVersion(const std::string& path, int countA, int countB) {
  TOLSaveable list;
  try {
    list.LoadFromFile(path);
  } catch (const std::exception&) {
    return false;
  }
  if (list.Count() == 0) return false;
  const char version = list.Items(0)->Title[0];
  for (int32_t i = 0; i < list.Count(); ++i)
    if (list.Items(i)->Title != std::string(1, version) + std::to_string(i)) return false;
  return list.Count() == (version == 'a' ? countA : countB);
}

}  // namespace

TEST_F(LibraryFiles, SaveKilledAtAnyMomentLeavesBothFilesWhole) {
  constexpr int kShownA = 3000, kHiddenA = 1000, kShownB = 2500, kHiddenB = 1500;
  {
    TOLSaveable shown, hidden;
    FillVersion(shown, 'a', kShownA);
    FillVersion(hidden, 'a', kHiddenA);
    SaveLibraryFiles(Folder(), shown, hidden);
  }
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> moment(0, 40000);  // microseconds after the writer starts
  for (int round = 0; round < 100; ++round) {
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
      // Saves the two versions in turn until it is killed.
      TOLSaveable shownA, hiddenA, shownB, hiddenB;
      FillVersion(shownA, 'a', kShownA);
      FillVersion(hiddenA, 'a', kHiddenA);
      FillVersion(shownB, 'b', kShownB);
      FillVersion(hiddenB, 'b', kHiddenB);
      for (;;) {
        SaveLibraryFiles(Folder(), shownB, hiddenB);
        SaveLibraryFiles(Folder(), shownA, hiddenA);
      }
    }
    usleep(static_cast<useconds_t>(moment(random)));
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    SCOPED_TRACE("kill " + std::to_string(round));
    EXPECT_TRUE(IsWholeVersion(PathOf("Data.dat"), kShownA, kShownB));
    EXPECT_TRUE(IsWholeVersion(PathOf("Data2.dat"), kHiddenA, kHiddenB));
  }
}
