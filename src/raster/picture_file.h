// Loading a bitmap from picture bytes or a picture file. The format is the
// content's (JPEG, PNG, BMP by their first bytes), whatever the name says;
// other formats go to the platform's loader where it knows the extension.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "raster/bitmap32.h"

namespace tavio {

// Replaces size and pixels; raises ERasterError (the bitmap keeping its
// content) for a missing file, an unknown format or undecodable data.
void LoadFromFile(TBitmap32& bitmap, const std::string& path);

// Decodes picture bytes as LoadFromFile decodes a file; nameForFormat names
// the picture in errors and picks the platform loader for other formats.
TBitmap32 DecodePicture(const std::vector<uint8_t>& bytes, const std::string& nameForFormat);

}  // namespace tavio
