#include "raster/text_painter.h"

#include <windows.h>

#include <algorithm>

#include "raster/bitmap32.h"
#include "text/wide_text_win32.h"

namespace tavio {

namespace {

COLORREF ToColorRef(TColor32 c) { return RGB(RedOf(c), GreenOf(c), BlueOf(c)); }

HFONT CreateFontFor(HDC dc, const TFontSpec& font) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(font.SizePoints, GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynW(lf.lfFaceName, Widen(font.Name).c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}

// A memory DC with the font selected; the DIB section for the text's cell is
// made once the cell's size is known.
struct TTextDc {
  HDC Dc = CreateCompatibleDC(nullptr);
  HFONT Font;
  HGDIOBJ OldFont;
  explicit TTextDc(const TFontSpec& font) : Font(CreateFontFor(Dc, font)), OldFont(SelectObject(Dc, Font)) {}
  ~TTextDc() {
    SelectObject(Dc, OldFont);
    DeleteObject(Font);
    DeleteDC(Dc);
  }
  TTextDc(const TTextDc&) = delete;
  TTextDc& operator=(const TTextDc&) = delete;
};

}  // namespace

void PaintText(TBitmap32& bitmap, int32_t x, int32_t y, const std::string& text, const TTextStyle& style) {
  if (text.empty() || bitmap.Empty()) return;
  TTextDc t(style.Font);
  const std::wstring wide = Widen(text);
  SIZE extent{};
  GetTextExtentPoint32W(t.Dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
  // Italic overhangs and the like may reach past the measured cell; a few
  // pixels of margin keep them.
  const int32_t margin = 4;
  const TRect cell{x - margin, y - margin, x + extent.cx + margin, y + extent.cy + margin};
  const TRect area = IntersectRect(cell, bitmap.BoundsRect());
  if (area.IsEmpty()) return;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = area.Width();
  info.bmiHeader.biHeight = -area.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP dib = CreateDIBSection(t.Dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!dib) return;
  HGDIOBJ oldBitmap = SelectObject(t.Dc, dib);
  auto* work = static_cast<TColor32*>(pixels);
  for (int32_t r = 0; r < area.Height(); ++r) {
    std::copy_n(bitmap.Row(area.Top + r) + area.Left, area.Width(), work + static_cast<size_t>(r) * area.Width());
  }
  GdiFlush();
  SetTextColor(t.Dc, ToColorRef(style.Color));
  SetBkColor(t.Dc, ToColorRef(style.Background));
  SetBkMode(t.Dc, style.Opaque ? OPAQUE : TRANSPARENT);
  TextOutW(t.Dc, x - area.Left, y - area.Top, wide.c_str(), static_cast<int>(wide.size()));
  GdiFlush();
  // GDI clears the alpha byte of what it touches; our pixels keep theirs.
  for (int32_t r = 0; r < area.Height(); ++r) {
    TColor32* row = bitmap.Row(area.Top + r) + area.Left;
    const TColor32* drawn = work + static_cast<size_t>(r) * area.Width();
    for (int32_t i = 0; i < area.Width(); ++i) row[i] = (row[i] & 0xFF000000u) | (drawn[i] & 0x00FFFFFFu);
  }
  SelectObject(t.Dc, oldBitmap);
  DeleteObject(dib);
}

}  // namespace tavio
