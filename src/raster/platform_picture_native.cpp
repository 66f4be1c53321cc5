#include "raster/platform_picture.h"

#include "raster/raster_error.h"

namespace tavio {

bool PlatformLoaderHandles(const std::string&) { return false; }

TBitmap32 DecodePlatformPicture(const std::vector<uint8_t>&) {
  throw ERasterError("No platform picture loader in this build");
}

}  // namespace tavio
