// TPaintBox32: a child window whose pixels come from a TBitmap32 frame buffer
// owned by someone else; Paint and Flush copy that buffer to the screen.
#pragma once
#include <windows.h>

#include "raster/bitmap32.h"
#include "ui/window.h"

namespace tavio::ui {

// Copies a bitmap to a device context with its top-left at (x, y).
void DrawBitmap(HDC dc, int x, int y, const TBitmap32& bitmap);

class TPaintBox32 : public TWindow {
 public:
  void Flush();

 protected:
  // The buffer shown; subclasses own it.
  virtual const TBitmap32& Buffer() const = 0;
  // Called after the buffer was copied during WM_PAINT, on the same DC.
  virtual void PaintOver(HDC) {}

  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace tavio::ui
