// libFuzzer target: the cover embedded in an MP3 file's tag, read and
// prepared as the loaders do for an album whose cover file is that MP3.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_input_file.h"
#include "library/embedded_picture.h"
#include "raster/raster_error.h"
#include "view/prepare_cover.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavio;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (int version = 2; version <= 4; ++version) (void)ParsePictureFrame(bytes, version);
  TBitmap33 cover;
  try {
    PrepareCoverInto(cover, fuzz::WriteInputFile(data, size, ".mp3"), "Album");
  } catch (const ERasterError&) {
  }
  return 0;
}
