// libFuzzer target: JPEG decoding through libjpeg with our limits.
#include <cstddef>
#include <cstdint>

#include "raster/jpeg_file.h"
#include "raster/raster_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    tavio::DecodeJpeg(data, size);
  } catch (const tavio::ERasterError&) {
  }
  return 0;
}
