// libFuzzer target: a cover picture loaded and prepared as the loaders do,
// from a file whose extension the input's last byte picks (so a JPEG may
// arrive named .bmp and the other way round).
#include <cstddef>
#include <cstdint>

#include "fuzz_input_file.h"
#include "raster/raster_error.h"
#include "view/prepare_cover.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavio;
  static const char* const kExtensions[] = {".jpg", ".bmp", ".JPEG", ".gif"};
  const char* extension = kExtensions[size > 0 ? data[size - 1] % 4 : 0];
  TBitmap33 cover;
  try {
    PrepareCoverInto(cover, fuzz::WriteInputFile(data, size, extension), "Album");
  } catch (const ERasterError&) {
  }
  return 0;
}
