// Text drawn onto a bitmap's pixels in a named font. Windows draws with GDI;
// native builds have no font renderer and draw nothing, so captions and
// titles are simply left out of natively rendered pictures.
#pragma once
#include <cstdint>
#include <string>

#include "raster/bitmap32.h"

namespace tavio {

struct TFontSpec {
  std::string Name;
  int32_t SizePoints = 8;
  bool Bold = false;
};

// The default user-interface font of every canvas.
inline const TFontSpec kDefaultUiFont{"MS Sans Serif", 8, false};

struct TTextStyle {
  TFontSpec Font = kDefaultUiFont;
  TColor32 Color = kOpaqueBlack;
  // Opaque fills the text's cell with Background; otherwise only glyphs are drawn.
  bool Opaque = true;
  TColor32 Background = kOpaqueWhite;
};

// Draws text with its cell's top-left at (x, y), clipped to the bitmap. The
// alpha of touched pixels is kept as it was.
void PaintText(TBitmap32& bitmap, int32_t x, int32_t y, const std::string& text, const TTextStyle& style);

}  // namespace tavio
