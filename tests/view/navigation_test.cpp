// Keys, type-to-jump, queued wheel notches and jumps on the carousel view.
#include <gtest/gtest.h>

#include "fake_view_platform.h"
#include "text/utf8.h"
#include "view/type_to_jump.h"

using namespace tavio;
using namespace tavio::test;

namespace {

void ExpectSlotsAroundCurrent(TViewFixture& f) {
  const int32_t n = f.view.AlbumCount;
  for (int32_t k = 0; k < 6; ++k)
    EXPECT_EQ(f.AlbumInSlot(k), (((f.view.CurrentIndex + k - 3) % n) + n) % n) << "position " << k;
}

// Types the UTF-8 text one character at a time.
void Type(TMarquelle2& view, const std::string& text) {
  for (size_t i = 0; i < text.size();) view.CharTyped(NextCodePoint(text, i));
}

}  // namespace

TEST(QueuedSteps, WheelNotchesDuringAStepAreRunAfterItAsQuickSteps) {
  TViewFixture f(20, 5);
  f.view.CurveA = 0;
  f.view.CurveB = 1;
  f.view.StepCount = 40;
  int rounds = 0;
  f.platform.onMessages = [&] {
    if (++rounds <= 4) f.view.CMMouseWheel(120);  // four more notches while the first step runs
  };
  const int before = f.platform.flushes;
  f.view.CMMouseWheel(120);
  EXPECT_EQ(f.view.CurrentIndex, 10);
  ExpectSlotsAroundCurrent(f);
  // One animated step of 41 frames (which adapts the count to 61), then
  // four quick ones of a quarter of that, which adapt nothing.
  EXPECT_EQ(f.platform.flushes - before, 41 + 4 * 16);
  EXPECT_EQ(f.view.StepCount, 61);
  EXPECT_FALSE(f.view.Busy);

  // Opposite notches that wait cancel out; which way one goes is as before.
  rounds = 0;
  f.platform.onMessages = [&] {
    if (++rounds == 1) f.view.CMMouseWheel(-120);
    if (rounds == 2) f.view.CMMouseWheel(120);
  };
  f.view.CMMouseWheel(-120);
  EXPECT_EQ(f.view.CurrentIndex, 9);
}

TEST(Keys, ArrowsStepPageKeysHomeAndEndJump) {
  struct Case {
    TViewKey key;
    int32_t from, want;
  } cases[] = {
      {TViewKey::Left, 5, 4},     {TViewKey::Right, 5, 6},    {TViewKey::Right, 11, 0},
      {TViewKey::PageUp, 7, 2},   {TViewKey::PageUp, 2, 9},   {TViewKey::PageDown, 3, 8},
      {TViewKey::PageDown, 9, 2}, {TViewKey::Home, 7, 0},     {TViewKey::End, 3, 11},
  };
  for (const Case& c : cases) {
    TViewFixture f(12, c.from);
    f.view.StepCount = 3;
    const int before = f.platform.flushes;
    f.view.KeyDown(c.key);
    EXPECT_EQ(f.view.CurrentIndex, c.want) << static_cast<int>(c.key) << " from " << c.from;
    ExpectSlotsAroundCurrent(f);
    if (c.key != TViewKey::Left && c.key != TViewKey::Right) {
      EXPECT_EQ(f.platform.flushes - before, 1) << "a jump draws the rest frame alone";
    }
  }
}

TEST(Keys, JumpAskedForDuringAStepIsMadeWhenItEnds) {
  TViewFixture f(12, 5);
  f.view.StepCount = 3;
  bool pressed = false;
  f.platform.onMessages = [&] {
    if (!pressed) f.view.KeyDown(TViewKey::End);
    pressed = true;
  };
  f.view.StepNext();
  EXPECT_EQ(f.view.CurrentIndex, 11);
  ExpectSlotsAroundCurrent(f);
}

TEST(Keys, EnterOpensTheSongListEscapeClosesItSpaceOnlyWithoutSearchText) {
  TViewFixture f(5, 2);
  f.view.StepCount = 2;
  f.view.PressX = 0;  // no press over the middle cover: the key alone opens it
  f.view.KeyDown(TViewKey::Enter);
  EXPECT_TRUE(f.view.SongList.Visible());
  f.view.KeyDown(TViewKey::Enter);
  EXPECT_TRUE(f.view.SongList.Visible());
  f.view.KeyDown(TViewKey::Escape);
  EXPECT_FALSE(f.view.SongList.Visible());
  f.view.KeyDown(TViewKey::Space);
  EXPECT_TRUE(f.view.SongList.Visible());
  f.view.KeyDown(TViewKey::Escape);

  f.view.CharTyped('A');
  f.view.KeyDown(TViewKey::Space);
  f.view.CharTyped(' ');
  EXPECT_FALSE(f.view.SongList.Visible());
}

TEST(TypeToJump, FindsTheFirstAlbumInTheShownOrderIgnoringCaseAndAccents) {
  TViewFixture f(6, 0);
  const char* titles[] = {"Abbey Road", "Zebra", "Z\xC3\xA9ro", "zenith", "\xC3\x89lan", "Blue"};  // Zéro, Élan
  for (int32_t i = 0; i < 6; ++i) f.view.Albums.Items(i)->Album = titles[i];

  Type(f.view, "ze");
  EXPECT_EQ(f.view.CurrentIndex, 1);
  Type(f.view, "r");
  EXPECT_EQ(f.view.CurrentIndex, 2);  // "zer" = "Zéro"
  Type(f.view, "N");
  EXPECT_EQ(f.view.CurrentIndex, 2);  // no match: nothing moves

  f.platform.now += TTypeToJump::kResetMs;  // the pause starts a new text
  Type(f.view, "ela");
  EXPECT_EQ(f.view.CurrentIndex, 4);
  f.platform.now += 100;
  Type(f.view, "n ");
  EXPECT_EQ(f.view.CurrentIndex, 4);  // Space belongs to the text: no song list
  EXPECT_FALSE(f.view.SongList.Visible());
}

TEST(TypeToJump, CharactersOfEveryScriptAreTypedWholeAndFoldCase) {
  TViewFixture f(4, 0);
  const char* titles[] = {"Abbey Road", "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0",  // Москва
                          "\xE6\x9D\xB1\xE4\xBA\xAC", "\xCE\xA9mega"};                       // 東京, Ωmega
  for (int32_t i = 0; i < 4; ++i) f.view.Albums.Items(i)->Album = titles[i];
  Type(f.view, "\xD0\xBC\xD0\xBE");  // мо
  EXPECT_EQ(f.view.CurrentIndex, 1);
  std::string text;
  TColor32 color = 0;
  ASSERT_TRUE(f.view.Keys.CaptionOverride(text, color));
  EXPECT_EQ(text, "\xD0\xBC\xD0\xBE");
  f.platform.now += TTypeToJump::kResetMs;
  Type(f.view, "\xE6\x9D\xB1");  // 東
  EXPECT_EQ(f.view.CurrentIndex, 2);
  f.platform.now += TTypeToJump::kResetMs;
  Type(f.view, "\xCF\x89");  // ω
  EXPECT_EQ(f.view.CurrentIndex, 3);
}

TEST(TypeToJump, TextReplacesTheCaptionGreyWithoutMatchUntilItRunsOut) {
  TViewFixture f(4, 0);
  std::string text;
  TColor32 color = 0;
  EXPECT_FALSE(f.view.Keys.CaptionOverride(text, color));
  int flushes = f.platform.flushes;
  Type(f.view, "Alb");
  EXPECT_EQ(f.view.CurrentIndex, 0);
  EXPECT_GT(f.platform.flushes, flushes) << "the typed text shows without a move";
  ASSERT_TRUE(f.view.Keys.CaptionOverride(text, color));
  EXPECT_EQ(text, "Alb");
  EXPECT_EQ(color, kOpaqueWhite);
  Type(f.view, "x");
  ASSERT_TRUE(f.view.Keys.CaptionOverride(text, color));
  EXPECT_EQ(text, "Albx");
  EXPECT_EQ(color, TKeyboardNavigation::kNoMatchColor);

  // The timer's part alone: a whole tick may also draw covers that arrived.
  f.platform.now += TTypeToJump::kResetMs - 1;
  flushes = f.platform.flushes;
  f.view.Keys.Tick();
  EXPECT_EQ(f.platform.flushes, flushes);
  f.platform.now += 1;
  f.view.Keys.Tick();
  EXPECT_EQ(f.platform.flushes, flushes + 1) << "the caption comes back at once";
  EXPECT_FALSE(f.view.Keys.CaptionOverride(text, color));
}

TEST(TypeToJump, FoldingDropsCaseAndAccents) {
  EXPECT_EQ(FoldForSearch("Zebra"), "zebra");
  EXPECT_EQ(FoldForSearch("\xC3\x89t\xC3\xA9 \xC3\x80 \xC3\x96l \xC3\xBC"), "ete a ol u");  // Été À Öl ü
  EXPECT_EQ(FoldForSearch("\xC3\x86\xC3\x98\xC3\xA6"), "\xC3\xA6\xC3\xB8\xC3\xA6");  // Æ Ø æ: no base letter, lower case
  EXPECT_EQ(FoldForSearch("\xD0\x9C\xD0\xB8\xD1\x80"), "\xD0\xBC\xD0\xB8\xD1\x80");  // Мир: every script folds
  EXPECT_EQ(FoldForSearch("12 ab!"), "12 ab!");
  EXPECT_EQ(FoldForSearch(""), "");
}
