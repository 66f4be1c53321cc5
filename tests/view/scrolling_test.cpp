#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "fake_view_platform.h"
#include "view/movement_curve.h"

using namespace tavio;
using namespace tavio::test;

namespace {

// The slot at every position holds album CurrentIndex + position - 3.
void ExpectSlotsAroundCurrent(TViewFixture& f) {
  const int32_t n = f.view.AlbumCount;
  for (int32_t k = 0; k < 6; ++k)
    EXPECT_EQ(f.AlbumInSlot(k), (((f.view.CurrentIndex + k - 3) % n) + n) % n) << "position " << k;
}

bool SameFrame(const TBitmap32& a, const TBitmap32& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Bits(), a.Bits() + a.Width() * a.Height(), b.Bits());
}

}  // namespace

TEST(Steps, SlotsFollowTheCurrentAlbumThroughAnySequenceOfSteps) {
  for (int32_t count : {1, 2, 3, 5, 10}) {
    TViewFixture f(count, count - 1);
    f.view.StepCount = 3;
    std::mt19937 random(count);
    for (int i = 0; i < 40; ++i) {
      f.view.FastMode = random() % 2 == 0;
      const int32_t before = f.view.CurrentIndex;
      if (random() % 2 == 0) {
        f.view.StepPrevious();
        EXPECT_EQ(f.view.CurrentIndex, (before + count - 1) % count);
      } else {
        f.view.StepNext();
        EXPECT_EQ(f.view.CurrentIndex, (before + 1) % count);
      }
      SCOPED_TRACE(count);
      ExpectSlotsAroundCurrent(f);
      ASSERT_FALSE(f.view.Busy);
    }
  }
}

TEST(Steps, CurrentIndexWrapsAtBothEnds) {
  TViewFixture f(10, 0);
  f.view.FastMode = true;
  f.view.StepPrevious();
  EXPECT_EQ(f.view.CurrentIndex, 9);
  f.view.StepNext();
  EXPECT_EQ(f.view.CurrentIndex, 0);
}

TEST(Steps, OneAlbumStillAnimatesAndStaysAtIndexZero) {
  TViewFixture f(1);
  for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(f.AlbumInSlot(k), 0);
  const int before = f.platform.flushes;
  f.view.CurveA = 0;
  f.view.CurveB = 1;
  f.view.StepCount = 4;
  f.view.StepPrevious();
  EXPECT_EQ(f.platform.flushes - before, 4);
  f.view.StepNext();
  EXPECT_EQ(f.view.CurrentIndex, 0);
}

TEST(Steps, TwoAlbumsBringInTheRightIncomingAlbum) {
  {
    TViewFixture f(2, 0);
    f.view.FastMode = true;
    f.view.StepPrevious();  // incoming (0 + 2 - 4) mod 2 = 0, now at the spare position
    EXPECT_EQ(f.AlbumInSlot(0), 0);
  }
  {
    TViewFixture f(2, 0);
    f.view.FastMode = true;
    f.view.StepNext();  // incoming (0 + 3) mod 2 = 1, now at the outer right
    EXPECT_EQ(f.AlbumInSlot(5), 1);
  }
}

TEST(Steps, AnimatedStepsDrawTheirFramesAndEndAtTheRestFrame) {
  TViewFixture f(10, 4);
  f.view.CurveA = 0;
  f.view.CurveB = 1;
  f.view.StepCount = 6;
  f.platform.recordFrames = true;
  f.view.StepPrevious();
  ASSERT_EQ(f.platform.frames.size(), 6u);  // Step 1..6
  EXPECT_EQ(f.platform.messageRounds, 6);
  EXPECT_EQ(f.view.CaptionShift, -1);
  const TBitmap32 lastMoving = f.platform.frames.back();
  f.view.DrawRestFrame();
  EXPECT_TRUE(SameFrame(lastMoving, f.view.FrameBuffer));

  f.platform.frames.clear();
  const TBitmap32 restBefore = f.view.FrameBuffer;
  f.view.StepCount = 6;  // as before the adaptation
  f.view.StepNext();
  ASSERT_EQ(f.platform.frames.size(), 7u);  // Step 6..0
  EXPECT_EQ(f.view.CaptionShift, 1);
  EXPECT_TRUE(SameFrame(f.platform.frames.front(), restBefore));
  f.view.DrawRestFrame();
  EXPECT_TRUE(SameFrame(f.platform.frames.back(), f.view.FrameBuffer));
  EXPECT_EQ(f.view.CurrentIndex, 4);
}

TEST(Steps, InstantStepDrawsOnlyTheRestFrame) {
  TViewFixture f(10, 4);
  f.view.FastMode = true;
  const int before = f.platform.flushes;
  f.view.StepNext();
  EXPECT_EQ(f.platform.flushes - before, 1);
  EXPECT_EQ(f.platform.messageRounds, 0);
  EXPECT_EQ(f.view.CaptionShift, 0);
  EXPECT_EQ(f.view.StepCount, 50);  // instant steps do not adapt the count
}

TEST(Steps, FrameCountAdaptsToTheMeasuredStep) {
  TViewFixture f(10);
  f.view.CurveA = 0;
  f.view.CurveB = 1;
  f.view.StepCount = 50;
  f.platform.msPerFlush = 40;  // 50 frames take 2000 ms
  f.view.StepPrevious();
  EXPECT_EQ(f.view.StepCount, 25);
  f.platform.msPerFlush = 0;  // quick frames wait for their slots: 26 take 416 ms
  f.view.StepNext();
  EXPECT_EQ(f.view.StepCount, 60);
  f.platform.msPerFlush = 1000;  // 61 frames in 61 s
  f.view.StepNext();
  EXPECT_EQ(f.view.StepCount, 1);
}

TEST(Pacing, QuickFramesWaitForTheirSlotAndStillFramesAreNotDrawn) {
  TViewFixture f(10, 4);  // the default curve: the covers stand still after 15 of 50 frames
  f.view.StepCount = 50;
  std::vector<int64_t> drawnAt;
  f.platform.onFlush = [&] { drawnAt.push_back(f.platform.now); };
  const int64_t start = f.platform.now;
  f.view.StepPrevious();
  EXPECT_EQ(drawnAt.size(), 13u);  // 18, 27, ..., 47, 47, 48, 49, 49, 50: the repeats are not drawn
  for (size_t i = 1; i < drawnAt.size(); ++i) EXPECT_GE(drawnAt[i] - drawnAt[i - 1], TFramePacer::kFrameMs);
  EXPECT_EQ(f.platform.messageRounds, 50);  // messages are handled through the still frames too
  EXPECT_EQ(f.view.StepCount, 62);  // 50 slots of 16 ms: 800 ms
  EXPECT_EQ(f.platform.now - start, 50 * TFramePacer::kFrameMs);

  // Frames slower than a slot are not followed by a burst to catch up.
  drawnAt.clear();
  f.platform.msPerFlush = 50;
  f.view.CurveA = 0;
  f.view.CurveB = 1;
  f.view.StepCount = 10;
  const int64_t slowStart = f.platform.now;
  f.view.StepNext();
  ASSERT_EQ(drawnAt.size(), 11u);
  for (size_t i = 1; i < drawnAt.size(); ++i) EXPECT_EQ(drawnAt[i] - drawnAt[i - 1], 50);
  EXPECT_EQ(f.platform.now - slowStart, 11 * 50);
}

TEST(Steps, ErrorInsideAnAnimatedStepClearsBusy) {
  TViewFixture f(10, 5);
  int frames = 0;
  f.platform.onFlush = [&] {
    if (++frames == 3) throw std::runtime_error("drawing failed");
  };
  EXPECT_THROW(f.view.StepPrevious(), std::runtime_error);
  EXPECT_FALSE(f.view.Busy);
  EXPECT_EQ(f.view.CurrentIndex, 5);
  ExpectSlotsAroundCurrent(f);
  // A step to the next album moves its slots before the frames: the index goes with them.
  frames = 0;
  EXPECT_THROW(f.view.StepNext(), std::runtime_error);
  EXPECT_FALSE(f.view.Busy);
  EXPECT_EQ(f.view.CurrentIndex, 6);
  ExpectSlotsAroundCurrent(f);
  f.platform.onFlush = nullptr;
  f.view.FastMode = true;
  f.view.StepPrevious();  // steps work again
  EXPECT_EQ(f.view.CurrentIndex, 5);
}

TEST(Steps, NothingReentersWhileAStepHandlesMessages) {
  TViewFixture f(10, 5);
  f.view.StepCount = 4;
  int nested = 0;
  f.platform.onMessages = [&] {
    if (nested++ > 0) return;
    f.view.StepNext();
    f.view.StepPrevious();
    f.view.TimerTick();
    f.view.DoMouseWheel(120);
    f.view.MouseDown(TMouseButton::mbLeft, 500, 100);  // still reaches FastMode
  };
  f.view.ScrollDirection = -1;
  f.view.StepPrevious();
  EXPECT_EQ(f.view.CurrentIndex, 4);
  EXPECT_TRUE(f.view.FastMode);
  EXPECT_EQ(f.view.PressX, 500);
  ExpectSlotsAroundCurrent(f);
}

TEST(Steps, RefillAskedForDuringAStepWaitsForItsEnd) {
  TViewFixture f(10, 5);
  f.view.StepCount = 3;
  bool posted = false;
  f.platform.onMessages = [&] {
    if (!posted) f.platform.PostToViewThread([&] { f.view.RefillSlots(); });
    posted = true;
    f.platform.Pump();
  };
  f.view.StepNext();
  EXPECT_EQ(f.view.CurrentIndex, 6);
  ExpectSlotsAroundCurrent(f);
}

TEST(Steps, EmptyLibraryIgnoresStepsWheelPanelAndTicks) {
  TFakeViewPlatform platform;
  TFakeViewSettings settings;
  TMarquelle2 view(platform, settings);
  view.Resize(1110, 370);
  view.UseControlPanel = true;
  view.StepPrevious();
  view.StepNext();
  view.DoMouseWheel(-120);
  view.MouseDown(TMouseButton::mbLeft, 1009 + 30, 360);
  view.ScrollDirection = 1;
  view.TimerTick();
  EXPECT_EQ(view.CurrentIndex, 0);
  EXPECT_EQ(platform.flushes, 0);
  EXPECT_THROW(view.CaptionOf(0), std::out_of_range);  // not a division by zero
}

TEST(Timer, DirectionTurnedDuringAStepIsTakenInTheSameTick) {
  TViewFixture f(10, 5);
  f.view.StepCount = 2;
  f.platform.onMessages = [&] { f.view.ScrollDirection = 1; };
  f.view.ScrollDirection = -1;
  f.view.TimerTick();  // one step back, then one forward
  EXPECT_EQ(f.view.CurrentIndex, 5);
  EXPECT_EQ(f.view.CaptionShift, 1);
}

TEST(Pointer, MovementOverTheStacksSetsTheDirection) {
  TViewFixture f(10);  // CenterX 428, CoverSide 254
  struct Case {
    int32_t x, y;
    bool reverse, panel;
    int32_t want;
  } cases[] = {
      {100, 100, false, false, -1}, {427, 254, false, false, -1}, {428, 100, false, false, 0},
      {682, 100, false, false, 0},  {683, 100, false, false, 1},  {100, 100, true, false, 1},
      {900, 100, true, false, -1},  {100, 100, false, true, 7},   {100, 255, false, false, 7},
  };
  for (const Case& c : cases) {
    f.view.ScrollDirection = 7;
    f.view.ReverseScroll = c.reverse;
    f.view.UseControlPanel = c.panel;
    f.view.MouseMove(c.x, c.y);
    EXPECT_EQ(f.view.ScrollDirection, c.want) << c.x << "," << c.y;
  }
}

TEST(Pointer, PressAboveTheStripMakesStepsFastUntilRelease) {
  TViewFixture f(10);
  f.view.MouseDown(TMouseButton::mbRight, 321, 345);  // y = H - 25 is still above the strip
  EXPECT_TRUE(f.view.FastMode);
  EXPECT_EQ(f.view.PressX, 321);
  EXPECT_EQ(f.platform.timerInterval, 20u);
  f.view.MouseUp(TMouseButton::mbRight, 5000, 5000);
  EXPECT_FALSE(f.view.FastMode);
  EXPECT_EQ(f.platform.timerInterval, 200u);
  EXPECT_TRUE(f.platform.timerEnabled);
}

TEST(Pointer, PressInTheBottomStripLeftOfThePanelChangesNothing) {
  TViewFixture f(10);
  f.view.UseControlPanel = true;
  f.view.PressX = 12;
  f.view.MouseDown(TMouseButton::mbLeft, 500, 346);
  EXPECT_FALSE(f.view.FastMode);
  EXPECT_EQ(f.view.PressX, 12);
  EXPECT_EQ(f.platform.timerInterval, 200u);
  EXPECT_EQ(f.view.ScrollDirection, 0);
}

TEST(Panel, ButtonsSetTheDirectionOrStepOnce) {
  struct Case {
    int32_t a;
    bool reverse;
    int32_t wantDirection;
    int32_t wantIndexChange;
  } cases[] = {
      {1, false, 1, 0},   {20, false, 1, 0},  {21, false, 0, 1},  {40, false, 0, 1},
      {50, false, 0, 0},  {61, false, 0, -1}, {80, false, 0, -1}, {81, false, -1, 0},
      {100, false, -1, 0}, {10, true, -1, 0}, {30, true, 0, -1},  {70, true, 0, 1},
      {90, true, 1, 0},   {50, true, 0, 0},
  };
  for (const Case& c : cases) {
    TViewFixture f(10, 5);
    f.view.UseControlPanel = true;
    f.view.ReverseScroll = c.reverse;
    f.view.StepCount = 2;
    f.view.ScrollDirection = 7;
    // Through the press: the panel's left edge is at x = W - 101 = 1009.
    f.view.MouseDown(TMouseButton::mbLeft, 1009 + c.a, 360);
    EXPECT_EQ(f.view.ScrollDirection, c.wantDirection) << c.a << (c.reverse ? " reversed" : "");
    EXPECT_EQ(f.view.CurrentIndex, 5 + c.wantIndexChange) << c.a << (c.reverse ? " reversed" : "");
    EXPECT_FALSE(f.view.FastMode);
  }
}

TEST(Panel, SwitchedOffPanelIgnoresPresses) {
  TViewFixture f(10, 5);
  f.view.ScrollDirection = 7;
  f.view.PanelClick(30);
  f.view.PanelClick(90);
  EXPECT_EQ(f.view.ScrollDirection, 7);
  EXPECT_EQ(f.view.CurrentIndex, 5);
}

TEST(Wheel, OneNotchOneStepWhateverReverseScrollSays) {
  TViewFixture f(10, 5);
  f.view.StepCount = 2;
  f.view.ReverseScroll = true;
  f.view.CMMouseWheel(-120);
  EXPECT_EQ(f.view.CurrentIndex, 4);
  f.view.CMMouseWheel(120);
  f.view.CMMouseWheel(0);
  EXPECT_EQ(f.view.CurrentIndex, 6);
}
