#include "library/genre_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavio;

namespace {

TAlbum* Add(TOLSaveable& list, const std::string& album, const std::string& genre) {
  auto* a = new TAlbum;
  a->Album = album;
  a->Genre = genre;
  list.Add(a);
  return a;
}

std::vector<std::string> Names(const TOLSaveable& list) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < list.Count(); ++i) names.push_back(list.Items(i)->Album);
  return names;
}

std::vector<std::string> Entries(const TGenreFilter& filter) {
  std::vector<std::string> texts;
  for (int32_t i = 0; i < filter.Count(); ++i)
    texts.push_back(filter.Entry(i).Text + (filter.Entry(i).Checked ? "+" : "-"));
  return texts;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(GenreFilter, CheckListIsSortedIgnoringCaseAndKeepsTheFirstSpelling) {
  TOLSaveable albums, hidden;
  Add(albums, "a", "rock");
  Add(albums, "b", "");
  Add(albums, "c", "   ");
  Add(albums, "d", "Ambient");
  Add(albums, "e", "Rock");
  Add(hidden, "f", "ROCK");
  Add(hidden, "g", "jazz");
  TGenreFilter filter;
  filter.SetAlbums(albums);
  filter.SetHiddenAlbums(hidden);
  EXPECT_EQ(Entries(filter), (Strings{"Ambient+", "jazz-", "rock+", "Without Genre+"}));
  EXPECT_EQ(filter.IndexOf("ROCK"), 2);
  EXPECT_FALSE(filter.GenreFilterChanged);
}

TEST(GenreFilter, NothingMovesUnlessTheUserClicked) {
  TOLSaveable albums, hidden;
  Add(albums, "a", "Pop");
  Add(hidden, "h", "Jazz");
  TGenreFilter filter;
  filter.SetAlbums(albums);
  filter.SetHiddenAlbums(hidden);
  filter.ApplyGenreFilter();  // Jazz unchecked, but not clicked
  EXPECT_EQ(Names(albums), (Strings{"a"}));
  EXPECT_EQ(Names(hidden), (Strings{"h"}));

  TGenreFilter withoutView;  // opened with no view: no lists to move
  Add(albums, "b", "Rock");
  withoutView.AddGenres(albums, true);
  withoutView.SetAllChecked(false);
  withoutView.ApplyGenreFilter();
  EXPECT_EQ(albums.Count(), 2);
}

TEST(GenreFilter, UncheckingWithoutGenreHidesAlbumsWithBlankGenres) {
  TOLSaveable albums, hidden;
  Add(albums, "a", "");
  Add(albums, "b", "Pop");
  Add(albums, "c", "  ");
  TGenreFilter filter;
  filter.SetAlbums(albums);
  filter.SetHiddenAlbums(hidden);
  filter.SetChecked(filter.IndexOf("Without Genre"), false);
  filter.ApplyGenreFilter();
  EXPECT_EQ(Names(albums), (Strings{"b"}));
  EXPECT_EQ(Names(hidden), (Strings{"c", "a"}));
  EXPECT_TRUE(albums.OwnsItems);
  EXPECT_TRUE(hidden.OwnsItems);
}

TEST(GenreFilter, ReturningAlbumsAreAppendedInReverseAndHiddenListIsReversed) {
  TOLSaveable albums, hidden;
  Add(albums, "s1", "Pop");
  Add(albums, "r1", "rock");
  Add(albums, "s2", "Pop");
  Add(hidden, "h1", "Jazz");
  Add(hidden, "h2", "Jazz");
  Add(hidden, "h3", "Rock");
  TGenreFilter filter;
  filter.SetAlbums(albums);
  filter.SetHiddenAlbums(hidden);
  EXPECT_EQ(Entries(filter), (Strings{"Jazz-", "Pop+", "rock+"}));

  filter.ToggleAll();  // Jazz on, Pop off, rock off
  filter.ApplyGenreFilter();
  // Combined list: s1 r1 s2 h3 h2 h1; the hidden ones are taken from its end.
  EXPECT_EQ(Names(albums), (Strings{"h2", "h1"}));
  EXPECT_EQ(Names(hidden), (Strings{"h3", "s2", "r1", "s1"}));

  TGenreFilter next;  // a later dialog checks everything again
  next.SetAlbums(albums);
  next.SetHiddenAlbums(hidden);
  next.SetAllChecked(true);
  next.ApplyGenreFilter();
  EXPECT_EQ(Names(albums), (Strings{"h2", "h1", "s1", "r1", "s2", "h3"}));
  EXPECT_EQ(hidden.Count(), 0);
}

TEST(GenreFilter, MovingReleasesNoAlbum) {
  TOLSaveable albums, hidden;
  TAlbum* kept = Add(albums, "a", "Pop");
  TGenreFilter filter;
  filter.SetAlbums(albums);
  filter.SetHiddenAlbums(hidden);
  filter.Toggle(0);
  filter.ApplyGenreFilter();
  ASSERT_EQ(hidden.Count(), 1);
  EXPECT_EQ(hidden.Items(0), kept);  // ASan reports a use after free otherwise
  EXPECT_EQ(hidden.Items(0)->Genre, "Pop");
}
