#include "raster/file_bytes.h"

#include <cstdio>
#include <memory>

#include "raster/picture_limits.h"
#include "raster/raster_error.h"
#include "text/open_file.h"

namespace tavio {

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

// The size of an open file, or -1 when it cannot be told.
long long FileSize(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return -1;
#ifdef _WIN32
  const long long size = _ftelli64(f);
#else
  const long long size = ftello(f);
#endif
  if (std::fseek(f, 0, SEEK_SET) != 0) return -1;
  return size;
}

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  TFile f(OpenFile(path, "rb"));
  if (!f) throw ERasterError("Cannot open file: " + path);
  const long long size = FileSize(f.get());
  if (size < 0) throw ERasterError("Cannot read file: " + path);
  if (size > kMaxPictureFileBytes) throw ERasterError("File is too large for a picture: " + path);
  // One buffer of the file's size; a file that grows meanwhile is cut there.
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), f.get());
  if (std::ferror(f.get())) throw ERasterError("Cannot read file: " + path);
  bytes.resize(got);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  TFile f(OpenFile(path, "wb"));
  if (!f) throw ERasterError("Cannot create file: " + path);
  // An empty vector's data() may be null, which fwrite must not be given.
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  if (std::fclose(f.release()) != 0 || !written) throw ERasterError("Cannot write file: " + path);
}

}  // namespace tavio
