#include "ui/paint_box32.h"

namespace tavio::ui {

void DrawBitmap(HDC dc, int x, int y, const TBitmap32& bitmap) {
  if (bitmap.Empty()) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = bitmap.Width();
  info.bmiHeader.biHeight = -bitmap.Height();  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, x, y, bitmap.Width(), bitmap.Height(), 0, 0, 0, bitmap.Height(), bitmap.Bits(), &info,
                    DIB_RGB_COLORS);
}

void TPaintBox32::Flush() {
  if (!Handle()) return;
  HDC dc = GetDC(Handle());
  DrawBitmap(dc, 0, 0, Buffer());
  ReleaseDC(Handle(), dc);
}

LRESULT TPaintBox32::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the buffer covers the whole area
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      DrawBitmap(dc, 0, 0, Buffer());
      PaintOver(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    default:
      return TWindow::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace tavio::ui
