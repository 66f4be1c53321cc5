#include "raster/picture_file.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "raster/bmp_file.h"
#include "raster/file_bytes.h"
#include "raster/jpeg_file.h"
#include "raster/platform_picture.h"
#include "raster/png_file.h"
#include "raster/raster_error.h"

namespace tavio {

namespace {

std::string LowerExtension(const std::string& name) {
  const size_t slash = name.find_last_of("/\\");
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = name.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

bool StartsWith(const std::vector<uint8_t>& bytes, const char* signature, size_t length) {
  return bytes.size() >= length && std::memcmp(bytes.data(), signature, length) == 0;
}

enum class TFormat { Jpeg, Png, Bmp, Platform };

// The signatures: JPEG's SOI marker followed by another marker, PNG's eight
// bytes (its file signature) and the bitmap file header's "BM".
TFormat FormatOf(const std::vector<uint8_t>& bytes, const std::string& name) {
  if (StartsWith(bytes, "\xFF\xD8\xFF", 3)) return TFormat::Jpeg;
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n", 8)) return TFormat::Png;
  if (StartsWith(bytes, "BM", 2)) return TFormat::Bmp;
  if (StartsWith(bytes, "GIF8", 4) && PlatformLoaderHandles(".gif")) return TFormat::Platform;
  if (PlatformLoaderHandles(LowerExtension(name))) return TFormat::Platform;
  throw ERasterError(bytes.empty() ? "The picture is empty" : "Unknown picture format");
}

TBitmap32 Decode(const std::vector<uint8_t>& bytes, const std::string& name) {
  switch (FormatOf(bytes, name)) {
    case TFormat::Jpeg:
      return DecodeJpeg(bytes.data(), bytes.size());
    case TFormat::Png:
      return DecodePng(bytes.data(), bytes.size());
    case TFormat::Bmp:
      return DecodeBmpFile(bytes.data(), bytes.size());
    case TFormat::Platform:
      break;
  }
  return DecodePlatformPicture(bytes);
}

}  // namespace

TBitmap32 DecodePicture(const std::vector<uint8_t>& bytes, const std::string& nameForFormat) {
  try {
    return Decode(bytes, nameForFormat);
  } catch (const ERasterError& e) {
    throw ERasterError(std::string(e.what()) + ": " + nameForFormat);
  }
}

void LoadFromFile(TBitmap32& bitmap, const std::string& path) {
  bitmap.TakePixels(DecodePicture(ReadFileBytes(path), path));
}

}  // namespace tavio
