// tavio prepare-cover: loads a picture (or the one embedded in an MP3 file)
// and bevels its edges as the carousel does with every cover, writing the
// result as a bitmap.
#include <string>

#include "command.h"
#include "raster/bevel_edges.h"
#include "raster/bmp_file.h"
#include "view/prepare_cover.h"

namespace tavio::tool {

namespace {

int RunPrepareCover(const Args& args) {
  if (args.size() != 2) throw UsageError{"expected IN and OUT.bmp"};
  TBitmap32 cover;
  LoadCoverPicture(cover, args[0]);
  BevelEdges(cover, cover.BoundsRect());
  SaveBmpFile(cover, args[1]);
  return 0;
}

}  // namespace

TAVIO_COMMAND("prepare-cover", "prepare-cover IN OUT.bmp", RunPrepareCover);

}  // namespace tavio::tool
