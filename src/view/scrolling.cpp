// Scrolling: the two one-album steps (animated, quick or instant), the steps
// queued by wheel and keys, the jump, the frame count adaptation, the timer
// tick and the pointer, button, panel and wheel input.
#include <algorithm>

#include "view/marquelle2.h"
#include "view/movement_curve.h"

namespace tavio {

void TMarquelle2::SetTimerEnabled(bool enabled) {
  Timer.Enabled = enabled;
  Platform.SetTimer(Timer.Enabled, Timer.Interval);
}

void TMarquelle2::SetTimerInterval(uint32_t intervalMs) {
  Timer.Interval = intervalMs;
  Platform.SetTimer(Timer.Enabled, Timer.Interval);
}

void TMarquelle2::ShiftPositions(int32_t shift) {
  for (TBitmap33& slot : Slots) slot.Position = (slot.Position + shift) % 6;
}

int32_t TMarquelle2::ApplyCurve(int32_t step) const { return CurvedFrame(step, StepCount, CurveMode, CurveA, CurveB); }

void TMarquelle2::PacedFrame(int32_t step) {
  if (pacer_.Changes(ApplyCurve(step))) DrawMovingFrame(step);
  pacer_.WaitForNextSlot();
}

void TMarquelle2::FinishStep(int64_t startMs) {
  // A quick step is short on purpose: it tells nothing about the machine.
  if (quickStep_) return;
  StepCount = AdaptedStepCount(StepCount, StepDuration, Platform.NowMs() - startMs);
}

void TMarquelle2::BringInPrevious() {
  FillSlot(CurrentIndex + AlbumCount - 4, SlotAt(5));
  ShiftPositions(1);
}

void TMarquelle2::BringInNext() {
  FillSlot(CurrentIndex + 3, SlotAt(0));
  ShiftPositions(5);
}

void TMarquelle2::MoveToNextIndex() { CurrentIndex = CurrentIndex == AlbumCount - 1 ? 0 : CurrentIndex + 1; }

int32_t TMarquelle2::StepFrames() const { return quickStep_ ? std::max(StepCount / kQuickStepShare, 1) : StepCount; }

int32_t TMarquelle2::StepOfFrame(int32_t frame) const {
  return quickStep_ ? static_cast<int32_t>(static_cast<int64_t>(frame) * StepCount / StepFrames()) : frame;
}

void TMarquelle2::StepPrevious() {
  if (Busy || AlbumCount == 0) return;
  CoverBudget.SetMiddle(Wrapped(CurrentIndex - 1));
  CurveMode = kCurvePrevious;
  // A press during an animated step may set FastMode; the step stays animated.
  const bool instant = FastMode;
  if (instant) {
    BringInPrevious();
    CaptionShift = 0;
  } else {
    const int64_t startMs = Platform.NowMs();
    {
      TBusyScope busy(*this);
      CaptionShift = -1;
      pacer_.Start();
      for (int32_t frame = 1; frame <= StepFrames(); ++frame) PacedFrame(StepOfFrame(frame));
      BringInPrevious();
    }
    FinishStep(startMs);
  }
  CurrentIndex = CurrentIndex == 0 ? AlbumCount - 1 : CurrentIndex - 1;
  if (instant) DrawRestFrame();
  RunPendingRefill();
}

void TMarquelle2::StepNext() {
  if (Busy || AlbumCount == 0) return;
  CoverBudget.SetMiddle(Wrapped(CurrentIndex + 1));
  CurveMode = kCurveNext;
  const bool instant = FastMode;
  if (instant) {
    BringInNext();
    CaptionShift = 0;
  } else {
    const int64_t startMs = Platform.NowMs();
    {
      TBusyScope busy(*this);
      CaptionShift = 1;
      BringInNext();
      pacer_.Start();
      try {
        for (int32_t frame = StepFrames(); frame >= 0; --frame) PacedFrame(StepOfFrame(frame));
      } catch (...) {
        // The slots already stand one place on; the index must follow them.
        MoveToNextIndex();
        throw;
      }
    }
    FinishStep(startMs);
  }
  MoveToNextIndex();
  if (instant) DrawRestFrame();
  RunPendingRefill();
}

void TMarquelle2::QueueStep(int32_t direction) {
  queuedSteps_ += direction < 0 ? -1 : 1;
  RunQueuedSteps();
}

void TMarquelle2::RunQueuedSteps() {
  // A step's messages may queue more; they are taken by this same loop.
  bool first = true;
  while (queuedSteps_ != 0 && !Busy && AlbumCount > 0) {
    const int32_t direction = queuedSteps_ < 0 ? -1 : 1;
    queuedSteps_ -= direction;
    // Steps that had to wait are a backlog: they run quick.
    quickStep_ = !first || queuedSteps_ != 0;
    first = false;
    try {
      direction < 0 ? StepPrevious() : StepNext();
    } catch (...) {
      quickStep_ = false;
      queuedSteps_ = 0;
      throw;
    }
    quickStep_ = false;
  }
}

void TMarquelle2::JumpTo(int32_t albumIndex) {
  if (AlbumCount == 0) return;
  queuedSteps_ = 0;
  // Mid-step the index is the step's; the jump is made when it ends.
  if (Busy) {
    pendingJump_ = Wrapped(albumIndex);
    return;
  }
  pendingJump_ = -1;
  SongList.Hide();
  CurrentIndex = Wrapped(albumIndex);
  RefillSlots();
}

void TMarquelle2::TimerTick() {
  if (AlbumCount == 0 || Busy) return;
  if (ScrollDirection < 0) StepPrevious();
  // Messages handled during the step may have turned the direction round.
  if (ScrollDirection > 0) StepNext();
  RunQueuedSteps();
  Keys.Tick();
  Playing.Poll();
  RefreshStaleSlots();
  CleanUpLoaders();
  ResumeLoadersWithWork();
}

void TMarquelle2::MouseMove(int32_t x, int32_t y) {
  if (Inert) return;
  // Below the band of the covers the direction stays as it is.
  if (y > Places.CoverSide) return;
  // Off the middle cover the shown song list goes away first; only the next
  // movement scrolls.
  if (SongList.Visible() && (x < Places.CenterX || x > Places.CenterX + Places.CoverSide)) {
    if (!Busy) FlipSongList();
    return;
  }
  if (UseControlPanel) return;
  if (x < Places.CenterX)
    ScrollDirection = -1;
  else if (x > Places.CenterX + Places.CoverSide)
    ScrollDirection = 1;
  else
    ScrollDirection = 0;
  if (ReverseScroll) ScrollDirection = -ScrollDirection;
}

void TMarquelle2::MouseDown(TMouseButton, int32_t x, int32_t y) {
  if (Inert) return;
  if (y > Height() - kPanelStripHeight) {
    if (x > Width() - 101) PanelClick(x - (Width() - 101));
    return;
  }
  SetTimerInterval(kFastTimerMs);
  FastMode = true;
  PressX = x;
}

void TMarquelle2::MouseUp(TMouseButton, int32_t, int32_t) {
  SetTimerInterval(kIdleTimerMs);
  FastMode = false;
}

void TMarquelle2::PanelClick(int32_t a) {
  if (!UseControlPanel) return;
  if (a <= 20) {
    // The arrows point the way the covers move: left brings in the next album.
    ScrollDirection = 1;
  } else if (a <= 40) {
    ScrollDirection = 0;
    if (!Busy) ReverseScroll ? StepPrevious() : StepNext();
  } else if (a <= 60) {
    ScrollDirection = 0;
  } else if (a <= 80) {
    ScrollDirection = 0;
    if (!Busy) ReverseScroll ? StepNext() : StepPrevious();
  } else {
    ScrollDirection = -1;
  }
  if (ReverseScroll) ScrollDirection = -ScrollDirection;
}

void TMarquelle2::CMMouseWheel(int32_t delta) { DoMouseWheel(delta); }

bool TMarquelle2::DoMouseWheel(int32_t delta) {
  if (Inert) return true;
  QueueStep(delta < 0 ? -1 : 1);
  return true;
}

}  // namespace tavio
