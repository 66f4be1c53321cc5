// Composing the carousel into the frame buffer: slot filling with mirrors,
// the frame at rest, the moving frames of a step, the caption and the panel.
#include <mutex>
#include <stdexcept>
#include <utility>

#include "library/shared_keys.h"
#include "raster/combine_block.h"
#include "raster/text_painter.h"
#include "view/caption_text.h"
#include "view/cover_drawing.h"
#include "view/marquelle2.h"
#include "view/movement_curve.h"
#include "view/slot_composition.h"

namespace tavio {

int32_t TMarquelle2::Wrapped(int32_t i) const {
  if (AlbumCount <= 0) throw std::out_of_range("The library has no albums");
  return ((i % AlbumCount) + AlbumCount) % AlbumCount;
}

TAlbum& TMarquelle2::AlbumOf(int32_t i) const { return *Albums.Items(Wrapped(i)); }

TBitmap33& TMarquelle2::SlotAt(int32_t position) {
  for (TBitmap33& slot : Slots)
    if (slot.Position == position) return slot;
  // The positions are always a permutation of 0..5.
  return Slots[0];
}

TBitmap33& TMarquelle2::CoverOf(int32_t i) { return AlbumOf(i).Cover; }

std::string TMarquelle2::CaptionOf(int32_t i) const { return CaptionText(AlbumOf(i), CaptionKeys()); }

void TMarquelle2::FillSlot(int32_t albumIndex, TBitmap33& slot) {
  TAlbum& album = AlbumOf(albumIndex);
  size_t slotIndex = Slots.size();
  for (size_t s = 0; s < Slots.size(); ++s) {
    if (&Slots[s] != &slot) continue;
    slotIndex = s;
    slotAlbums_[s] = Wrapped(albumIndex);
    slotStale_[s] = false;
  }
  {
    // A loader may be swapping in this very cover, the budget releasing it.
    std::lock_guard<std::mutex> lock(album.CoverLock);
    if (album.Cover.SharesPixels()) {
      // The white square of every unprepared album: the mirror's alpha ramp
      // goes into a copy, or each album shown once would keep one of its own.
      TBitmap32 cover = album.Cover;
      ComposeSlot(slot, cover, MirrorAlpha);
    } else {
      ComposeSlot(slot, album.Cover, MirrorAlpha);
    }
  }
  if (slotIndex < Slots.size()) CopySlotColumns(slotIndex);
}

void TMarquelle2::CopySlotColumns(size_t slot) {
  slotColumns_[slot].Assign(Slots[slot]);
  slotColumnsOf_[slot] = std::as_const(Slots[slot]).Bits();
}

void TMarquelle2::DrawCoverAt(const TBitmap33& slot, float x, float angle) {
  const size_t s = static_cast<size_t>(&slot - Slots.data());
  // Large slots are read far faster down their columns; a slot changed
  // since its copy was made is drawn as it is.
  if (slotColumnsOf_[s] == slot.Bits() && slotColumns_[s].Width() == slot.Width()) {
    DrawCover(FrameBuffer, Transformation, SourceRect, Places.CoverSide, slotColumns_[s], x, kCoverTop, angle);
  } else {
    DrawCover(FrameBuffer, Transformation, SourceRect, Places.CoverSide, slot, x, kCoverTop, angle);
  }
}

void TMarquelle2::DrawCaptionLine(int32_t albumIndex, bool opaqueBackground) {
  std::string text;
  TColor32 color = kOpaqueWhite;
  if (!Keys.CaptionOverride(text, color)) text = CaptionOf(albumIndex);
  const TTextStyle style{kDefaultUiFont, color, opaqueBackground, kOpaqueBlack};
  PaintText(FrameBuffer, 20, Height() - 20, text, style);
}

void TMarquelle2::DrawControlPanel() {
  if (!UseControlPanel) return;
  const int32_t w = Width(), h = Height();
  CombineBlock(FrameBuffer, w - 101, h - 21, TRect{0, 0, w, h}, PanelImage, TRect{0, 0, w, h}, TDrawMode::dmOpaque);
}

void TMarquelle2::DrawRestFrame() {
  if (AlbumCount == 0) return;
  FrameBuffer.Clear(0);
  // Back to front: the outer covers, then the inner ones, the middle last.
  DrawCoverAt(SlotAt(1), static_cast<float>(Places.OuterLeftX), static_cast<float>(Angles.OuterLeft));
  DrawCoverAt(SlotAt(2), static_cast<float>(Places.InnerLeftX), static_cast<float>(Angles.InnerLeft));
  DrawCoverAt(SlotAt(5), static_cast<float>(Places.OuterRightX), static_cast<float>(Angles.OuterRight));
  DrawCoverAt(SlotAt(4), static_cast<float>(Places.InnerRightX), static_cast<float>(Angles.InnerRight));
  DrawCoverAt(SlotAt(3), static_cast<float>(Places.CenterX), static_cast<float>(Angles.Center));
  Playing.DrawMarks();
  DrawCaptionLine(CurrentIndex, true);
  DrawControlPanel();
  Platform.Flush();
}

void TMarquelle2::DrawEmptyView() {
  SongList.Hide();
  FrameBuffer.Clear(kOpaqueBlack);
  Platform.Flush();
  Platform.Repaint();
}

void TMarquelle2::DrawMovingFrame(int32_t step) {
  const int32_t k = ApplyCurve(step);
  const int32_t n = StepCount;
  FrameBuffer.Clear(0);
  const auto moving = [&](int32_t position, int32_t fromX, int32_t toX, int32_t fromAngle, int32_t toAngle) {
    DrawCoverAt(SlotAt(position), Interpolate(fromX, toX, k, n), Interpolate(fromAngle, toAngle, k, n));
  };
  const TCarouselPlaces& p = Places;
  const TWinkel& a = Angles;
  DrawCoverAt(SlotAt(0), static_cast<float>(p.OuterLeftX), static_cast<float>(a.OuterLeft));
  moving(1, p.OuterLeftX, p.InnerLeftX, a.OuterLeft, a.InnerLeft);
  moving(2, p.InnerLeftX, p.CenterX, a.InnerLeft, a.Center);
  DrawCoverAt(SlotAt(5), static_cast<float>(p.OuterRightX), static_cast<float>(a.OuterRight));
  moving(4, p.InnerRightX, p.OuterRightX, a.InnerRight, a.OuterRight);
  // The cover leaving the middle stays in front of the one arriving.
  moving(3, p.CenterX, p.InnerRightX, a.Center, a.InnerRight);
  DrawCaptionLine(CurrentIndex + CaptionShift, false);
  DrawControlPanel();
  Platform.Flush();
}

void TMarquelle2::RefillSlots() {
  if (AlbumCount < 1) return;
  // Mid-step the slots are renumbered but CurrentIndex is not yet moved: a
  // refill now would put every album one place off. The step does it at its end.
  if (Busy) {
    refillPending_ = true;
    return;
  }
  refillPending_ = false;
  CoverBudget.SetMiddle(CurrentIndex);
  for (int32_t k = 0; k <= 5; ++k) FillSlot(CurrentIndex + k - 3, SlotAt(k));
  DrawRestFrame();
  SetTimerEnabled(true);
}

void TMarquelle2::RefreshStaleSlots() {
  // Mid-step the slots stay as they are; the step's end looks again.
  if (AlbumCount < 1 || Busy) return;
  bool refilled = false;
  for (size_t s = 0; s < Slots.size(); ++s) {
    if (!slotStale_[s].exchange(false)) continue;
    FillSlot(slotAlbums_[s], Slots[s]);
    refilled = true;
  }
  if (refilled) DrawRestFrame();
}

void TMarquelle2::RunPendingRefill() {
  if (pendingJump_ >= 0)
    JumpTo(pendingJump_);
  else if (refillPending_)
    RefillSlots();
  else
    RefreshStaleSlots();
}

}  // namespace tavio
