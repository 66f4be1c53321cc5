#include "view/prepare_cover.h"

#include "library/file_access.h"
#include "raster/bevel_edges.h"
#include "raster/module_resources.h"
#include "raster/picture_file.h"
#include "raster/text_painter.h"

namespace tavio {

namespace {

const TTextStyle kTitleStyle{{"ARIAL", 12, true}, kOpaqueBlack, true, kOpaqueWhite};

}  // namespace

void PrepareCoverInto(TBitmap33& out, const std::string& coverFile, const std::string& albumTitle) {
  if (FileExists(coverFile)) {
    LoadFromFile(out, coverFile);
  } else {
    LoadFromResourceName(out, "MOSSEL");
    PaintText(out, 6, 6, albumTitle, kTitleStyle);
  }
  BevelEdges(out, out.BoundsRect());
}

void PrepareCover(TAlbum& album) { PrepareCoverInto(album.Cover, album.CoverFile, album.Album); }

}  // namespace tavio
