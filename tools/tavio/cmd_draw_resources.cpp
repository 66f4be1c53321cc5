// tavio draw-resources DIR: draws the module bitmaps (control panel, default
// cover, image-search placeholder) with plain pixel code and writes them as
// 24-bit .bmp files; the files in resources/ are its output.
#include <cmath>
#include <functional>
#include <string>

#include "command.h"
#include "raster/bitmap32.h"
#include "raster/bmp_file.h"
#include "raster/picture_file.h"

namespace tavio::tool {

namespace {

constexpr float kPi = 3.14159265f;

// Sets every pixel whose centre satisfies inside(x, y).
void FillWhere(TBitmap32& b, TColor32 c, const std::function<bool(float, float)>& inside) {
  for (int32_t y = 0; y < b.Height(); ++y) {
    for (int32_t x = 0; x < b.Width(); ++x) {
      if (inside(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f)) b.SetPixel(x, y, c);
    }
  }
}

void FillRect(TBitmap32& b, TColor32 c, float l, float t, float r, float bottom) {
  FillWhere(b, c, [=](float x, float y) { return x >= l && x < r && y >= t && y < bottom; });
}

// A ring between two radii; angles in degrees counter-clockwise from the
// right, limited to [from, to] (pass -180, 180 for the whole ring).
void FillRing(TBitmap32& b, TColor32 c, float cx, float cy, float inner, float outer, float from = -180,
              float to = 180) {
  FillWhere(b, c, [=](float x, float y) {
    const float d = std::hypot(x - cx, y - cy);
    const float angle = std::atan2(cy - y, x - cx) * 180.0f / kPi;
    return d >= inner && d <= outer && angle >= from && angle <= to;
  });
}

void FillDisc(TBitmap32& b, TColor32 c, float cx, float cy, float r) { FillRing(b, c, cx, cy, -1.0f, r); }

// A line of the given width with round ends.
void FillLine(TBitmap32& b, TColor32 c, float x0, float y0, float x1, float y1, float width) {
  FillWhere(b, c, [=](float x, float y) {
    const float dx = x1 - x0, dy = y1 - y0;
    float t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
    t = std::fmax(0.0f, std::fmin(1.0f, t));
    return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2;
  });
}

void FillTriangle(TBitmap32& b, TColor32 c, float ax, float ay, float bx, float by, float cx, float cy) {
  FillWhere(b, c, [=](float x, float y) {
    const auto side = [&](float px, float py, float qx, float qy) { return (qx - px) * (y - py) - (qy - py) * (x - px); };
    const float s1 = side(ax, ay, bx, by), s2 = side(bx, by, cx, cy), s3 = side(cx, cy, ax, ay);
    return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
  });
}

// A triangle pointing left (dir -1) or right (dir +1) centred on (cx, cy).
void Arrow(TBitmap32& b, TColor32 c, float cx, float cy, int dir) {
  const float tip = cx + dir * 4.0f, back = cx - dir * 4.0f;
  FillTriangle(b, c, tip, cy, back, cy - 5.0f, back, cy + 5.0f);
}

TBitmap32 DrawControlPanel() {
  constexpr TColor32 kFace = Color32(48, 48, 48), kEdge = Color32(112, 112, 112), kGlyph = Color32(230, 230, 230);
  TBitmap32 b(100, 20);
  b.Clear(kEdge);
  for (int i = 0; i < 5; ++i) {
    const float left = 20.0f * i;
    FillRect(b, kFace, left + 1, 1, left + 19, 19);
    const float cx = left + 10, cy = 10;
    switch (i) {
      case 0: Arrow(b, kGlyph, cx - 3, cy, -1); Arrow(b, kGlyph, cx + 3, cy, -1); break;
      case 1: Arrow(b, kGlyph, cx, cy, -1); break;
      case 2: FillRect(b, kGlyph, cx - 4, cy - 5, cx - 1, cy + 5); FillRect(b, kGlyph, cx + 1, cy - 5, cx + 4, cy + 5); break;
      case 3: Arrow(b, kGlyph, cx, cy, 1); break;
      case 4: Arrow(b, kGlyph, cx - 3, cy, 1); Arrow(b, kGlyph, cx + 3, cy, 1); break;
    }
  }
  return b;
}

// A question mark of about 56 pixels' height centred on (cx, cy).
void QuestionMark(TBitmap32& b, TColor32 c, float cx, float cy) {
  FillRing(b, c, cx, cy - 12, 9, 15, -75, 180);
  FillLine(b, c, cx + 3, cy, cx, cy + 8, 6);
  FillDisc(b, c, cx, cy + 20, 4);
}

// A record without a sleeve: the default cover. The band from (6, 6) to
// (290, 30) stays white for the album title written onto it.
TBitmap32 DrawDefaultCover() {
  TBitmap32 b(300, 300);
  b.Clear(kOpaqueWhite);
  const float cx = 150, cy = 168;
  FillRing(b, kOpaqueBlack, cx, cy, 118, 122);
  for (float r : {108.0f, 96.0f, 84.0f, 72.0f, 60.0f}) FillRing(b, kOpaqueBlack, cx, cy, r, r + 1);
  FillDisc(b, kOpaqueBlack, cx, cy, 46);
  QuestionMark(b, kOpaqueWhite, cx, cy);
  return b;
}

// The image search's placeholder: an empty, crossed-out frame.
TBitmap32 DrawNoImage() {
  TBitmap32 b(120, 120);
  b.Clear(kOpaqueWhite);
  FillRect(b, kOpaqueBlack, 10, 10, 110, 13);
  FillRect(b, kOpaqueBlack, 10, 107, 110, 110);
  FillRect(b, kOpaqueBlack, 10, 10, 13, 110);
  FillRect(b, kOpaqueBlack, 107, 10, 110, 110);
  FillLine(b, kOpaqueBlack, 14, 14, 106, 106, 3);
  FillLine(b, kOpaqueBlack, 106, 14, 14, 106, 3);
  return b;
}

int RunDrawResources(const Args& args) {
  if (args.size() != 1) throw UsageError{"expected the output folder"};
  const std::string dir = args[0] + "/";
  SaveBmpFile(DrawControlPanel(), dir + "schalter.bmp", 24);
  SaveBmpFile(DrawDefaultCover(), dir + "mossel.bmp", 24);
  SaveBmpFile(DrawNoImage(), dir + "noimage.bmp", 24);
  return 0;
}

}  // namespace

TAVIO_COMMAND("draw-resources", "draw-resources DIR", RunDrawResources);

}  // namespace tavio::tool
