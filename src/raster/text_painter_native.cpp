#include "raster/text_painter.h"

namespace tavio {

// No font renderer natively (see the header).
void PaintText(TBitmap32&, int32_t, int32_t, const std::string&, const TTextStyle&) {}

}  // namespace tavio
