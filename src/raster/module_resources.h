// The module's bitmap resources ("SCHALTER", "MOSSEL", "NOIMAGE"): found in
// the module that holds this code on Windows, compiled in natively.
#pragma once
#include <string>

#include "raster/bitmap32.h"

namespace tavio {

// Replaces size and pixels of bitmap with the named resource (opaque unless
// it is a 32-bit bitmap); raises ERasterError, the bitmap unchanged, when there
// is no such resource or it cannot be decoded.
void LoadFromResourceName(TBitmap32& bitmap, const std::string& name);

}  // namespace tavio
