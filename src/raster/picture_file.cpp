#include "raster/picture_file.h"

#include <algorithm>
#include <cctype>

#include "raster/bmp_file.h"
#include "raster/file_bytes.h"
#include "raster/jpeg_file.h"
#include "raster/platform_picture.h"
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

enum class TFormat { Jpeg, Bmp, Platform };

TFormat FormatOf(const std::string& name) {
  const std::string ext = LowerExtension(name);
  if (ext == ".jpg" || ext == ".jpeg") return TFormat::Jpeg;
  if (ext == ".bmp") return TFormat::Bmp;
  if (PlatformLoaderHandles(ext)) return TFormat::Platform;
  throw ERasterError("Unsupported picture format \"" + ext + "\": " + name);
}

TBitmap32 Decode(const std::vector<uint8_t>& bytes, TFormat format) {
  switch (format) {
    case TFormat::Jpeg:
      return DecodeJpeg(bytes.data(), bytes.size());
    case TFormat::Bmp:
      return DecodeBmpFile(bytes.data(), bytes.size());
    case TFormat::Platform:
      break;
  }
  return DecodePlatformPicture(bytes);
}

}  // namespace

TBitmap32 DecodePicture(const std::vector<uint8_t>& bytes, const std::string& nameForFormat) {
  // Bytes out of a tag have no extension of their own.
  if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return Decode(bytes, TFormat::Jpeg);
  return Decode(bytes, FormatOf(nameForFormat));
}

void LoadFromFile(TBitmap32& bitmap, const std::string& path) {
  const TFormat format = FormatOf(path);
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  TBitmap32 picture;
  try {
    picture = Decode(bytes, format);
  } catch (const ERasterError& e) {
    throw ERasterError(std::string(e.what()) + ": " + path);
  }
  bitmap.TakePixels(std::move(picture));
}

}  // namespace tavio
