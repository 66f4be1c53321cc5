#include "view/prepare_cover.h"

#include "library/embedded_picture.h"
#include "library/file_access.h"
#include "raster/bevel_edges.h"
#include "raster/module_resources.h"
#include "raster/picture_file.h"
#include "raster/picture_limits.h"
#include "raster/raster_error.h"
#include "raster/text_painter.h"

namespace tavio {

namespace {

const TTextStyle kTitleStyle{{"ARIAL", 12, true}, kOpaqueBlack, true, kOpaqueWhite};

std::vector<uint8_t> CoverBytes(const std::string& coverFile) {
  if (!IsMp3File(coverFile)) {
    try {
      return ReadRegularFile(coverFile, kMaxPictureFileBytes);
    } catch (const std::runtime_error& e) {
      throw ERasterError(e.what());
    }
  }
  std::vector<uint8_t> bytes = ReadEmbeddedPicture(coverFile);
  if (bytes.empty()) throw ERasterError("No picture in the tag: " + coverFile);
  return bytes;
}

}  // namespace

void LoadCoverPicture(TBitmap32& out, const std::string& coverFile) {
  const std::vector<uint8_t> bytes = CoverBytes(coverFile);
  TBitmap32 picture;
  try {
    picture = DecodePicture(bytes, coverFile);
  } catch (const ERasterError& e) {
    throw ERasterError(std::string(e.what()) + ": " + coverFile);
  }
  out.TakePixels(std::move(picture));
}

namespace {

bool LoadedCover(TBitmap33& out, const std::string& coverFile) {
  if (!FileExists(coverFile)) return false;
  try {
    LoadCoverPicture(out, coverFile);
    return true;
  } catch (const ERasterError&) {
    return false;
  }
}

}  // namespace

void PrepareCoverInto(TBitmap33& out, const std::string& coverFile, const std::string& albumTitle) {
  // A broken picture gets the titled default cover too: a white square says
  // nothing about which album it stands for, and no later load mends it.
  if (!LoadedCover(out, coverFile)) {
    LoadFromResourceName(out, "MOSSEL");
    PaintText(out, 6, 6, albumTitle, kTitleStyle);
  }
  BevelEdges(out, out.BoundsRect());
}

void PrepareCover(TAlbum& album) { PrepareCoverInto(album.Cover, album.CoverFile, album.Album); }

}  // namespace tavio
