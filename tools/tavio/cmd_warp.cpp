// tavio warp: draws a picture through the projective transform onto a
// transparent black bitmap of the given size, for looking at the result.
#include <array>
#include <cstdlib>
#include <string>

#include "command.h"
#include "raster/bmp_file.h"
#include "raster/picture_file.h"
#include "raster/projective_transformation.h"
#include "raster/transform_bitmap.h"

namespace tavio::tool {

namespace {

float ParseFloat(const std::string& text) {
  char* end = nullptr;
  const float v = std::strtof(text.c_str(), &end);
  if (text.empty() || *end != '\0') throw UsageError{"not a number: \"" + text + "\""};
  return v;
}

int32_t ParseSize(const std::string& text) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v <= 0 || v > 16384) throw UsageError{"not a size: \"" + text + "\""};
  return static_cast<int32_t>(v);
}

int RunWarp(const Args& args) {
  if (args.size() != 12) throw UsageError{"expected 12 arguments"};
  TBitmap32 picture;
  LoadFromFile(picture, args[0]);
  TBitmap32 out(ParseSize(args[2]), ParseSize(args[3]));
  std::array<TFloatPoint, 4> corners;
  for (int i = 0; i < 4; ++i) corners[i] = {ParseFloat(args[4 + 2 * i]), ParseFloat(args[5 + 2 * i])};
  TProjectiveTransformation t;
  t.SetCorners(corners);
  t.SetSourceRect({0, 0, static_cast<float>(picture.Width()), static_cast<float>(picture.Height())});
  TransformBitmap(out, picture, t);
  SaveBmpFile(out, args[1]);
  return 0;
}

}  // namespace

TAVIO_COMMAND("warp", "warp IN OUT.bmp W H x0 y0 x1 y1 x2 y2 x3 y3", RunWarp);

}  // namespace tavio::tool
