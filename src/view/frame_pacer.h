// TFramePacer: keeps the frames of an animated step to the display's pace and
// tells which frames would show nothing new. The clock and the wait are the
// platform's, so a fake clock drives it in tests.
#pragma once
#include <cstdint>

#include "view/view_platform.h"

namespace tavio {

class TFramePacer {
 public:
  // One frame slot: about what a 60 Hz display can show.
  static constexpr int64_t kFrameMs = 16;

  explicit TFramePacer(TViewPlatform& platform) : platform_(platform) {}

  // A step begins now; its first frame is always drawn.
  void Start();
  // Whether a frame at this curved position shows anything the last drawn
  // one did not; true also records it as drawn.
  bool Changes(int32_t curvedFrame);
  // Handles messages until the next slot. A slot missed by slow drawing is
  // not caught up with a burst: the next one counts from now.
  void WaitForNextSlot();

 private:
  TViewPlatform& platform_;
  int64_t nextSlotMs_ = 0;
  int32_t lastDrawn_ = -1;
};

}  // namespace tavio
