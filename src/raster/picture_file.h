// Loading a bitmap from a picture file whose format is chosen by extension:
// JPEG, BMP or (on Windows) another format of the platform's loader.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio {

// ".jpg"/".jpeg" through libjpeg, ".bmp" by our own reader, other picture
// formats through the platform's loader where there is one. Replaces size and
// pixels; raises ERasterError (the bitmap keeping its content) for an
// unsupported extension, a missing file or undecodable data.
void LoadFromFile(TBitmap32& bitmap, const std::string& path);

// Decodes picture bytes the way LoadFromFile decodes a file of that name.
TBitmap32 DecodePicture(const std::vector<uint8_t>& bytes, const std::string& nameForFormat);

}  // namespace tavio
