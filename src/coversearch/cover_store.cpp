#include "coversearch/cover_store.h"

#include <mutex>
#include <stdexcept>

#include "library/library_scan.h"
#include "library/safe_file_write.h"
#include "raster/jpeg_file.h"

namespace tavio {

std::string FolderOf(const std::string& path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

std::string StoreCover(TAlbum& album, const TCoverPicture& picture) {
  std::string folder;
  {
    std::lock_guard<std::mutex> lock(album.CoverLock);
    folder = FolderOf(album.CoverFile);
  }
  if (folder.empty()) throw std::runtime_error("The album \"" + album.Album + "\" has no folder for its cover");
  const std::string path = folder + kStoredCoverName;
  const std::vector<uint8_t> bytes =
      picture.Jpeg.empty() ? EncodeJpeg(picture.Bitmap, kCoverJpegQuality) : picture.Jpeg;
  WriteFileSafely(path, [&](TStream& out) { out.Write(bytes.data(), bytes.size()); });
  std::lock_guard<std::mutex> lock(album.CoverLock);
  album.CoverFile = path;
  return path;
}

}  // namespace tavio
