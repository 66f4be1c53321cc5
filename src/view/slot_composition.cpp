#include "view/slot_composition.h"

#include "raster/combine_block.h"
#include "raster/rounding.h"

namespace tavio {
namespace {

// Rows H - 2 up to H - b fade from nearly mirrorAlpha to 0; the last row and
// the two left and one right edge columns keep their alpha.
void WriteAlphaRamp(TBitmap32& cover, int32_t mirrorAlpha) {
  const int32_t w = cover.Width();
  const int32_t h = cover.Height();
  const int32_t b = Round(h / 3.0);
  for (int32_t i = 2; i <= b; ++i) {
    const int32_t alpha = mirrorAlpha - Round(static_cast<double>(i * mirrorAlpha) / b);
    TColor32* row = cover.Row(h - i);
    for (int32_t x = 2; x <= w - 2; ++x) row[x] = SetAlpha(row[x], alpha);
  }
}

}  // namespace

void ComposeSlot(TBitmap32& slot, TBitmap32& cover, int32_t mirrorAlpha) {
  const int32_t w = cover.Width();
  const int32_t h = cover.Height();
  slot.Clear(0);
  slot.SetSize(w, Round(h * 4.0 / 3.0));
  cover.MasterAlpha = mirrorAlpha;
  WriteAlphaRamp(cover, mirrorAlpha);
  CombineBlock(slot, 0, 0, TRect{0, 0, w, 2 * h}, cover, TRect{0, Round(2.0 * h / 3.0), w, h}, TDrawMode::dmBlend);
  slot.FlipVertical();
  CombineBlock(slot, 0, 0, TRect{0, 0, w, h}, cover, TRect{0, 0, w, h}, TDrawMode::dmOpaque);
}

}  // namespace tavio
