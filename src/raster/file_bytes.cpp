#include "raster/file_bytes.h"

#include <cstdio>
#include <memory>

#include "raster/picture_limits.h"
#include "raster/raster_error.h"

namespace tavio {

namespace {

// A 64-megapixel 32-bit bitmap with headers is a little over 256 MB; no
// picture file we accept can be larger.
constexpr long long kMaxPictureFileBytes = kMaxPicturePixels * 4 + 64 * 1024;

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  // fopen takes ANSI paths on Windows, which is what our texts are.
  TFile f(std::fopen(path.c_str(), "rb"));
  if (!f) throw ERasterError("Cannot open file: " + path);
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  for (;;) {
    const size_t got = std::fread(chunk, 1, sizeof chunk, f.get());
    if (got == 0) break;
    if (static_cast<long long>(bytes.size() + got) > kMaxPictureFileBytes) {
      throw ERasterError("File is too large for a picture: " + path);
    }
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (std::ferror(f.get())) throw ERasterError("Cannot read file: " + path);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  TFile f(std::fopen(path.c_str(), "wb"));
  if (!f) throw ERasterError("Cannot create file: " + path);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  if (std::fclose(f.release()) != 0 || !written) throw ERasterError("Cannot write file: " + path);
}

}  // namespace tavio
