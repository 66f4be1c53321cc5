// Bitmaps taken from the clipboard (CF_BITMAP) and from bitmap handles.
#pragma once
#include <windows.h>

#include "raster/bitmap32.h"

namespace tavio::ui {

// Opaque pixels of a GDI bitmap; raises ERasterError for a bitmap beyond the
// size limits or one that cannot be read.
TBitmap32 BitmapFromHandle(HBITMAP bitmap);
// The clipboard's bitmap; empty when the clipboard holds none or is busy.
TBitmap32 ReadClipboardBitmap(HWND owner);

}  // namespace tavio::ui
