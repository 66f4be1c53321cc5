#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "library/ol_saveable.h"
#include "library/song.h"

using namespace tavio;

TEST(Album, NewAlbumHasAWhiteSquareAndNoClaim) {
  TAlbum album;
  EXPECT_FALSE(album.CoverReady);
  EXPECT_EQ(album.Cover.Width(), 250);
  EXPECT_EQ(album.Cover.Height(), 250);
  EXPECT_EQ(album.Cover.GetPixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(album.Cover.GetPixel(249, 249), 0xFFFFFFFFu);
  EXPECT_EQ(album.Year, 0);
  EXPECT_TRUE(album.ClaimCover());
  EXPECT_FALSE(album.ClaimCover());
}

TEST(Songs, CompareSongsSortsByDescendingTrack) {
  std::vector<TSong> songs(3);
  songs[0].Track = 2;
  songs[1].Track = 0;
  songs[2].Track = 1;
  std::sort(songs.begin(), songs.end(),
            [](const TSong& a, const TSong& b) { return CompareSongs(a, b) < 0; });
  EXPECT_EQ(songs[0].Track, 2);
  EXPECT_EQ(songs[1].Track, 1);
  EXPECT_EQ(songs[2].Track, 0);
}

// Counts destructions so a test can see which records a list released.
struct CountedAlbum : TAlbum {
  explicit CountedAlbum(int* deaths) : deaths_(deaths) {}
  ~CountedAlbum() override { ++*deaths_; }
  int* deaths_;
};

TEST(OLSaveable, ReleasesOnlyWhileOwningItems) {
  int deaths = 0;
  TOLSaveable list;
  auto* a = new CountedAlbum(&deaths);
  auto* b = new CountedAlbum(&deaths);
  auto* c = new CountedAlbum(&deaths);
  list.Add(a);
  list.Add(c);
  list.Insert(1, b);
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(1), b);

  list.OwnsItems = false;
  list.Remove(b);
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(list.Count(), 2);
  list.OwnsItems = true;
  list.Remove(a);
  EXPECT_EQ(deaths, 1);
  list.Clear();
  EXPECT_EQ(deaths, 2);
  EXPECT_EQ(list.Count(), 0);
  delete b;
  EXPECT_EQ(deaths, 3);
}

TEST(OLSaveable, RemoveTakesTheFirstOccurrenceOfThatRecord) {
  TOLSaveable list;
  list.OwnsItems = false;
  TAlbum a, b;
  list.Add(&a);
  list.Add(&b);
  list.Add(&a);
  list.Remove(&a);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0), &b);
  EXPECT_EQ(list.Items(1), &a);
}
