#include "raster/platform_picture.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "raster/picture_limits.h"
#include "raster/raster_error.h"

namespace tavio {

namespace {

template <typename T>
struct TReleaser {
  T* Ptr = nullptr;
  ~TReleaser() {
    if (Ptr) Ptr->Release();
  }
};

// OLE pictures know their size in HIMETRIC (0.01 mm); the screen's pixels per
// inch turn that into pixels, as the picture would be shown.
int32_t HimetricToPixels(OLE_XSIZE_HIMETRIC himetric, int pixelsPerInch) {
  return MulDiv(himetric, pixelsPerInch, 2540);
}

IPicture* LoadOlePicture(const std::vector<uint8_t>& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) throw ERasterError("Out of memory for the picture");
  std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  TReleaser<IStream> stream;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream.Ptr))) {
    GlobalFree(memory);
    throw ERasterError("Out of memory for the picture");
  }
  IPicture* picture = nullptr;
  if (FAILED(OleLoadPicture(stream.Ptr, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                            reinterpret_cast<void**>(&picture))) ||
      !picture) {
    throw ERasterError("The picture cannot be decoded");
  }
  return picture;
}

}  // namespace

bool PlatformLoaderHandles(const std::string& extension) {
  return extension == ".gif" || extension == ".ico" || extension == ".wmf" || extension == ".emf";
}

TBitmap32 DecodePlatformPicture(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) throw ERasterError("The picture file is empty");
  TReleaser<IPicture> picture{LoadOlePicture(bytes)};
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  picture.Ptr->get_Width(&w);
  picture.Ptr->get_Height(&h);
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int32_t width = HimetricToPixels(w, dpiX), height = HimetricToPixels(h, dpiY);
  CheckFullSizeDecode(width, height);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, like our rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!dib) throw ERasterError("Out of memory for the picture");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  // Transparent parts of icons and GIFs show white, as on a default canvas.
  std::memset(pixels, 0xFF, static_cast<size_t>(width) * height * 4);
  const HRESULT rendered = picture.Ptr->Render(dc, 0, 0, width, height, 0, h, w, -h, nullptr);
  GdiFlush();
  TBitmap32 out;
  if (SUCCEEDED(rendered)) {
    out.SetSize(width, height);
    const auto* src = static_cast<const TColor32*>(pixels);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) out.Bits()[i] = src[i] | 0xFF000000u;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
  if (!SUCCEEDED(rendered)) throw ERasterError("The picture cannot be drawn");
  return out;
}

}  // namespace tavio
