// A slot bitmap composed from an album cover: the cover on top and, below it,
// the mirror image of its bottom third fading to black. Pure pixel work.
#pragma once
#include <cstdint>

#include "raster/bitmap32.h"

namespace tavio {

// Makes slot W x Round(4H/3) for a W x H cover: rows 0..H-1 the cover, the
// rest its bottom third upside down, blended onto black with master alpha
// mirrorAlpha. The fade is an alpha ramp written into the cover itself
// (rewritten the same way on every call), which also takes mirrorAlpha as
// its MasterAlpha. The caller keeps other threads off the cover meanwhile.
void ComposeSlot(TBitmap32& slot, TBitmap32& cover, int32_t mirrorAlpha);

}  // namespace tavio
