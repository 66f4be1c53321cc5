#include "view/prepare_cover.h"

#include "library/file_access.h"
#include "raster/bevel_edges.h"
#include "raster/module_resources.h"
#include "raster/picture_file.h"
#include "raster/raster_error.h"
#include "raster/text_painter.h"

namespace tavio {

namespace {

const TTextStyle kTitleStyle{{"ARIAL", 12, true}, kOpaqueBlack, true, kOpaqueWhite};

bool LoadedFromFile(TBitmap33& out, const std::string& coverFile) {
  if (!FileExists(coverFile)) return false;
  try {
    LoadFromFile(out, coverFile);
    return true;
  } catch (const ERasterError&) {
    return false;
  }
}

}  // namespace

void PrepareCoverInto(TBitmap33& out, const std::string& coverFile, const std::string& albumTitle) {
  // A broken picture gets the titled default cover too: a white square says
  // nothing about which album it stands for, and no later load mends it.
  if (!LoadedFromFile(out, coverFile)) {
    LoadFromResourceName(out, "MOSSEL");
    PaintText(out, 6, 6, albumTitle, kTitleStyle);
  }
  BevelEdges(out, out.BoundsRect());
}

void PrepareCover(TAlbum& album) { PrepareCoverInto(album.Cover, album.CoverFile, album.Album); }

}  // namespace tavio
