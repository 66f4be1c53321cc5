// libFuzzer target: Windows bitmaps, as .bmp files and as the packed DIBs of
// bitmap resources.
#include <cstddef>
#include <cstdint>

#include "raster/bmp_file.h"
#include "raster/raster_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavio;
  try {
    DecodeBmpFile(data, size);
  } catch (const ERasterError&) {
  }
  try {
    DecodePackedDib(data, size);
  } catch (const ERasterError&) {
  }
  return 0;
}
