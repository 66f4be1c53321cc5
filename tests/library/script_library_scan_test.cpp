// Names in every script, natively: the scan finds every album of the script
// library, and `tavio list` prints each name as the UTF-8 it is.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "support/script_library.h"
#include "support/command_output.h"

namespace {

namespace fs = std::filesystem;
using namespace tavio::test;

struct TListedAlbum {
  std::string CoverFile, Title, Artist, Album, Genre;
  auto operator<=>(const TListedAlbum&) const = default;
};

// The albums of `tavio list` output: CoverFile, Title, Year, Artist, Album, Genre.
std::set<TListedAlbum> ParseList(const std::string& out) {
  std::set<TListedAlbum> albums;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream cut(line);
    for (std::string field; std::getline(cut, field, '\t');) fields.push_back(field);
    if (fields.size() == 6) albums.insert({fields[0], fields[1], fields[3], fields[4], fields[5]});
  }
  return albums;
}

}  // namespace

TEST(ScriptLibrary, EveryScriptScansWholeAndListsWithoutDoubleEncoding) {
  const char* tool = std::getenv("TAVIO_TOOL");
  if (!tool || !fs::exists(tool)) GTEST_SKIP() << "tavio tool not built";
  const fs::path root = fs::path(::testing::TempDir()) / "tavio_script_library";
  fs::remove_all(root);
  const std::string library = (root / "Музыка").string();
  WriteScriptLibrary(library);

  std::set<TListedAlbum> everyAlbum, withPicture;
  for (const TScriptAlbum& a : ScriptAlbums()) {
    const std::string folder = library + "/" + a.Folder;
    everyAlbum.insert({folder + "/" + (a.Cover.empty() ? "xx.xxx" : a.Cover), a.Title, a.Artist, a.Album, a.Genre});
    if (!a.Cover.empty()) withPicture.insert({folder + "/" + a.Cover, a.Title, a.Artist, a.Album, a.Genre});
  }
  for (const auto& [mode, expected] : {std::pair{"--folders", &everyAlbum}, std::pair{"--pictures", &withPicture}}) {
    SCOPED_TRACE(mode);
    const std::string out = (root / "out").string();
    fs::remove_all(out);
    std::string printed;
    ASSERT_EQ(RunCapturingOutput(std::string(tool) + " scan --no-embedded " + mode + " --out '" + out + "' '" + library +
                                     "' 2>/dev/null",
                                 printed),
              0);
    ASSERT_EQ(RunCapturingOutput(std::string(tool) + " list '" + out + "/Data.dat'", printed), 0);
    EXPECT_EQ(ParseList(printed), *expected) << printed;
  }
  fs::remove_all(root);
}
