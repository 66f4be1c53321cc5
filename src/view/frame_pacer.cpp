#include "view/frame_pacer.h"

namespace tavio {

void TFramePacer::Start() {
  nextSlotMs_ = platform_.NowMs();
  lastDrawn_ = -1;
}

bool TFramePacer::Changes(int32_t curvedFrame) {
  if (curvedFrame == lastDrawn_) return false;
  lastDrawn_ = curvedFrame;
  return true;
}

void TFramePacer::WaitForNextSlot() {
  nextSlotMs_ += kFrameMs;
  const int64_t now = platform_.NowMs();
  if (nextSlotMs_ < now) nextSlotMs_ = now;
  platform_.WaitUntil(nextSlotMs_);
}

}  // namespace tavio
