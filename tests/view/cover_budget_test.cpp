// The cover budget on its own, driven the way the loaders drive it: which
// covers stay prepared around the middle, which go first, and when hidden
// albums get their turn.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "view/cover_budget.h"

using namespace tavio;

namespace {

constexpr int32_t kSide = 10;
constexpr int64_t kCoverBytes = kSide * kSide * 4;

struct TBudgetFixture {
  TBudgetFixture(int32_t shownCount, int32_t hiddenCount, int64_t coversAllowed, int32_t middle,
                 std::map<int32_t, int32_t> wider = {})
      : sides(std::move(wider)) {
    for (int32_t i = 0; i < shownCount; ++i) shown.Add(new TAlbum);
    for (int32_t i = 0; i < hiddenCount; ++i) hidden.Add(new TAlbum);
    budget.SetLimit(coversAllowed * kCoverBytes);
    budget.Attach(shown, hidden, middle);
  }

  // What a loader does with a claimed album: a cover of its own, then Settled.
  bool PrepareIfAllowed(TOLSaveable& list, int32_t index) {
    TAlbum& album = *list.Items(index);
    if (album.CoverReady || !budget.MayPrepare(list, index)) return false;
    album.ClaimCover();
    {
      std::lock_guard<std::mutex> lock(album.CoverLock);
      const auto side = sides.find(index);
      album.Cover.SetSize(side == sides.end() ? kSide : side->second, kSide);
      album.Cover.Clear(kOpaqueWhite);
    }
    ++preparations;
    budget.Settled(list, index);
    return true;
  }

  // Both lists prepared nearest first until the budget allows nothing more.
  void Settle() {
    bool progress = true;
    while (progress) {
      progress = false;
      const int32_t n = shown.Count();
      for (int32_t d = 0; d <= n / 2 && !progress; ++d) {
        progress = PrepareIfAllowed(shown, (budget.Middle() + d) % n) ||
                   PrepareIfAllowed(shown, ((budget.Middle() - d) % n + n) % n);
      }
      for (int32_t j = 0; j < hidden.Count() && !progress; ++j) progress = PrepareIfAllowed(hidden, j);
    }
  }

  static std::set<int32_t> Prepared(const TOLSaveable& list) {
    std::set<int32_t> indices;
    for (int32_t i = 0; i < list.Count(); ++i)
      if (list.Items(i)->CoverReady) indices.insert(i);
    return indices;
  }

  TOLSaveable shown;
  TOLSaveable hidden;
  TCoverBudget budget;
  int preparations = 0;
  // Shown albums whose cover is wider than kSide.
  std::map<int32_t, int32_t> sides;
};

std::set<int32_t> Range(int32_t from, int32_t to) {
  std::set<int32_t> s;
  for (int32_t i = from; i <= to; ++i) s.insert(i);
  return s;
}

}  // namespace

TEST(CoverBudget, KeepsTheCoversNearestTheMiddleBothWaysRoundTheList) {
  // 13 covers: the middle and six on each side.
  {
    TBudgetFixture f(30, 0, 13, 15);
    f.Settle();
    EXPECT_EQ(TBudgetFixture::Prepared(f.shown), Range(9, 21));
    EXPECT_EQ(f.budget.PreparedBytes(), 13 * kCoverBytes);
  }
  {
    TBudgetFixture f(30, 0, 13, 1);  // near the start: wraps to the end
    f.Settle();
    std::set<int32_t> expected = Range(0, 7);
    for (int32_t i : {25, 26, 27, 28, 29}) expected.insert(i);
    EXPECT_EQ(TBudgetFixture::Prepared(f.shown), expected);
  }
  {
    TBudgetFixture f(30, 0, 13, 28);  // near the end: wraps to the start
    f.Settle();
    std::set<int32_t> expected = Range(22, 29);
    for (int32_t i : {0, 1, 2, 3, 4}) expected.insert(i);
    EXPECT_EQ(TBudgetFixture::Prepared(f.shown), expected);
  }
}

TEST(CoverBudget, MovingTheMiddleReleasesTheFarthestFirst) {
  TBudgetFixture f(30, 0, 13, 15);
  f.Settle();
  f.budget.SetMiddle(16);
  // The one newly near album takes the place of the one left farthest behind.
  ASSERT_TRUE(f.PrepareIfAllowed(f.shown, 22));
  EXPECT_EQ(TBudgetFixture::Prepared(f.shown), Range(10, 22));
  EXPECT_EQ(f.shown.Items(9)->Cover.Width(), 250);  // back to the white square
  // A long way on, across the end of the list.
  f.budget.SetMiddle(2);
  f.Settle();
  std::set<int32_t> expected = Range(0, 8);
  for (int32_t i : {26, 27, 28, 29}) expected.insert(i);
  EXPECT_EQ(TBudgetFixture::Prepared(f.shown), expected);
  EXPECT_EQ(f.budget.PreparedBytes(), 13 * kCoverBytes);
}

TEST(CoverBudget, AnAlbumTooLargeForWhatIsLeftIsPreparedOnceNotOverAndOver) {
  // Room for 14 covers; album 22, the next one forward, is four times as large.
  TBudgetFixture f(30, 0, 14, 15, {{22, 4 * kSide}});
  f.Settle();
  // 13 kept, album 22 prepared and released at once, album 8 then fits.
  EXPECT_EQ(f.preparations, 15);
  std::set<int32_t> expected = Range(8, 21);
  EXPECT_EQ(TBudgetFixture::Prepared(f.shown), expected);
  f.Settle();
  EXPECT_EQ(f.preparations, 15);
  EXPECT_FALSE(f.budget.HasWork(f.shown));
  EXPECT_EQ(f.budget.PreparedBytes(), 14 * kCoverBytes);
}

TEST(CoverBudget, TheSlotsAlbumsAreKeptEvenBeyondTheBudget) {
  TBudgetFixture f(30, 0, 2, 15);
  f.Settle();
  EXPECT_EQ(TBudgetFixture::Prepared(f.shown), Range(11, 19));
}

TEST(CoverBudget, NoLimitKeepsEveryCover) {
  TBudgetFixture f(30, 5, 0, 15);
  f.Settle();
  f.budget.SetMiddle(0);
  f.Settle();
  EXPECT_EQ(TBudgetFixture::Prepared(f.shown).size(), 30u);
  EXPECT_EQ(TBudgetFixture::Prepared(f.hidden).size(), 5u);
}

TEST(CoverBudget, HiddenAlbumsComeAfterEveryShownOneAndWithinTheBudget) {
  {
    TBudgetFixture f(12, 5, 15, 0);
    EXPECT_FALSE(f.budget.MayPrepare(f.hidden, 0));
    f.Settle();
    EXPECT_EQ(TBudgetFixture::Prepared(f.shown).size(), 12u);
    EXPECT_EQ(TBudgetFixture::Prepared(f.hidden), Range(0, 2));
    // A shown album needing room takes it from the hidden ones, last first.
    TAlbum& album = *f.shown.Items(6);
    {
      std::lock_guard<std::mutex> lock(album.CoverLock);
      album.ReleaseCover();
    }
    f.budget.Detach();
    f.budget.Attach(f.shown, f.hidden, 0);
    f.budget.SetLimit(14 * kCoverBytes);
    EXPECT_EQ(TBudgetFixture::Prepared(f.hidden), Range(0, 2));
    ASSERT_TRUE(f.PrepareIfAllowed(f.shown, 6));
    EXPECT_EQ(TBudgetFixture::Prepared(f.hidden), Range(0, 1));
  }
  {
    TBudgetFixture f(30, 5, 13, 0);  // the shown ones alone do not fit
    f.Settle();
    EXPECT_TRUE(TBudgetFixture::Prepared(f.hidden).empty());
  }
}
