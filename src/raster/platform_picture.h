// Picture formats beyond JPEG and BMP, decoded by the platform's own loader
// (OLE pictures on Windows). Natively there is none.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio {

// extension in lower case with its dot, e.g. ".gif".
bool PlatformLoaderHandles(const std::string& extension);
// Opaque pixels; raises ERasterError for data the loader cannot decode.
TBitmap32 DecodePlatformPicture(const std::vector<uint8_t>& bytes);

}  // namespace tavio
