// libFuzzer target: PNG decoding through libspng with our limits.
#include <cstddef>
#include <cstdint>

#include "raster/png_file.h"
#include "raster/raster_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    tavio::DecodePng(data, size);
  } catch (const tavio::ERasterError&) {
  }
  return 0;
}
