#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "library/compare_albums.h"
#include "library/ol_saveable.h"
#include "library/shared_keys.h"

using namespace tavio;

namespace {

std::unique_ptr<TAlbum> MakeAlbum(std::string album, std::string artist, int32_t year = 0) {
  auto a = std::make_unique<TAlbum>();
  a->Album = std::move(album);
  a->Artist = std::move(artist);
  a->Year = year;
  return a;
}

int32_t Compare(const std::unique_ptr<TAlbum>& a, const std::unique_ptr<TAlbum>& b) {
  return CompareAlbums(*a, *b);
}

int Sign(int32_t v) { return (v > 0) - (v < 0); }

// Restores the default keys whatever a test set.
class AlbumOrder : public ::testing::Test {
 protected:
  void TearDown() override { SetSortKeys("Album,Artist,Genre,Year"); }
};

}  // namespace

TEST_F(AlbumOrder, LaterKeysDecideWhenEarlierOnesMatch) {
  SetSortKeys("Album,Artist,Genre,Year");
  const auto b = MakeAlbum("Album X", "Artist B");
  const auto a = MakeAlbum("Album X", "Artist A");
  EXPECT_LT(Compare(a, b), 0);
  EXPECT_GT(Compare(b, a), 0);
}

TEST_F(AlbumOrder, YearsOrderAsText) {
  SetSortKeys("Year");
  const auto y999 = MakeAlbum("", "", 999), y1999 = MakeAlbum("", "", 1999), y0 = MakeAlbum("", "", 0);
  EXPECT_LT(Compare(y0, y1999), 0);
  EXPECT_LT(Compare(y1999, y999), 0);
  EXPECT_LT(Compare(MakeAlbum("", "", -5), y0), 0);  // "-5" before "0"
}

TEST_F(AlbumOrder, CaseOnlyDifferenceInTheFirstKeyHidesLaterKeys) {
  SetSortKeys("Album,Artist");
  EXPECT_EQ(Compare(MakeAlbum("abc", "Zed"), MakeAlbum("ABC", "Amy")), 0);
  // The same texts without the case difference are decided by the artist.
  EXPECT_GT(Compare(MakeAlbum("abc", "Zed"), MakeAlbum("abc", "Amy")), 0);
}

TEST_F(AlbumOrder, EmptyOrUnknownKeysContributeNothing) {
  const auto a = MakeAlbum("A", "Z", 1), b = MakeAlbum("B", "Y", 2);
  SetSortKeys("");
  EXPECT_EQ(Compare(a, b), 0);
  SetSortKeys("album,ARTIST,Colour");
  EXPECT_EQ(Compare(a, b), 0);
  SetSortKeys("album,Artist");
  EXPECT_GT(Compare(a, b), 0);
  // An empty item ends the key list.
  SetSortKeys("Genre,,Album");
  EXPECT_EQ(Compare(a, b), 0);
}

TEST_F(AlbumOrder, ComparisonIsAntisymmetric) {
  SetSortKeys("Artist,Album,Year");
  std::vector<std::unique_ptr<TAlbum>> albums;
  for (const char* name : {"x", "X", "y", "", "\xC3\xA9", "\xC3\x89", "\xD0\xAF", "\xD1\x8F", "\xE6\x9D\xB1"})  // é É Я я 東
    for (const char* artist : {"a", "A", "b"}) albums.push_back(MakeAlbum(name, artist, 3));
  for (const auto& a : albums)
    for (const auto& b : albums) EXPECT_EQ(Sign(Compare(a, b)), -Sign(Compare(b, a)));
}

// The order is not transitive for case variants; sorting many of them must
// neither crash nor lose or duplicate an album.
TEST_F(AlbumOrder, SortingCaseVariantsStaysInsideTheList) {
  SetSortKeys("Album,Artist,Genre,Year");
  std::mt19937 random(7);
  const char* names[] = {"abc", "ABC", "Abc", "abd", "ABD"};
  const char* artists[] = {"Zed", "Amy", "amy", "zed", ""};
  TOLSaveable list;
  for (int i = 0; i < 300; ++i) {
    list.Add(MakeAlbum(names[random() % 5], artists[random() % 5], static_cast<int32_t>(random() % 3))
                 .release());
  }
  std::vector<TAlbum*> before;
  for (int i = 0; i < list.Count(); ++i) before.push_back(list.Items(i));
  list.Sort(CompareAlbums);
  std::vector<TAlbum*> after;
  for (int i = 0; i < list.Count(); ++i) after.push_back(list.Items(i));
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(before, after);
}
