#include "ui/clipboard_bitmap.h"

#include "raster/picture_limits.h"
#include "raster/raster_error.h"

namespace tavio::ui {

namespace {

// The clipboard is shared by every program: held as briefly as possible.
class TOpenClipboard {
 public:
  explicit TOpenClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~TOpenClipboard() {
    if (open_) CloseClipboard();
  }
  TOpenClipboard(const TOpenClipboard&) = delete;
  TOpenClipboard& operator=(const TOpenClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

}  // namespace

TBitmap32 BitmapFromHandle(HBITMAP bitmap) {
  BITMAP header{};
  if (!GetObjectW(bitmap, sizeof header, &header)) throw ERasterError("The clipboard bitmap cannot be read");
  CheckFullSizeDecode(header.bmWidth, header.bmHeight < 0 ? -int64_t{header.bmHeight} : header.bmHeight);
  const int32_t width = header.bmWidth, height = header.bmHeight < 0 ? -header.bmHeight : header.bmHeight;
  TBitmap32 out(width, height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top, like ours
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), out.Bits(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != height) throw ERasterError("The clipboard bitmap cannot be read");
  // GDI leaves the top byte undefined (mostly 0): a pasted picture is opaque.
  for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) out.Bits()[i] |= 0xFF000000u;
  return out;
}

TBitmap32 ReadClipboardBitmap(HWND owner) {
  if (!IsClipboardFormatAvailable(CF_BITMAP)) return {};
  TOpenClipboard clipboard(owner);
  if (!clipboard.IsOpen()) return {};
  const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  return bitmap ? BitmapFromHandle(bitmap) : TBitmap32{};
}

}  // namespace tavio::ui
