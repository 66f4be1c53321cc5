#include "ui/curve_chart.h"

#include <windowsx.h>

#include <vector>

#include "raster/rounding.h"

namespace tavio::ui {
namespace {

// Room around the plot, so the line's ends stay visible.
constexpr int kMargin = 8;

}  // namespace

TCurveChart::TCurveChart(HWND parent, int id, int x, int y, int w, int h, TCurveEditor& editor) : editor_(editor) {
  CreateHandle("TavioCurveChart", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, parent, x, y, w, h);
  SetWindowLongPtrW(Handle(), GWLP_ID, id);
}

TPlotArea TCurveChart::Plot() const {
  RECT r;
  GetClientRect(Handle(), &r);
  return {kMargin, kMargin, r.right - kMargin, r.bottom - kMargin};
}

void TCurveChart::Paint(HDC dc) {
  RECT r;
  GetClientRect(Handle(), &r);
  // The back wall is not filled: the dialog's own colour shows through.
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  const TPlotArea plot = Plot();
  std::vector<POINT> line;
  for (const TCurvePoint& p : editor_.Points)
    line.push_back({RoundClamped(plot.XPixel(p.X), -30000, 30000), RoundClamped(plot.YPixel(p.Y), -30000, 30000)});
  if (line.size() < 2) return;
  const HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
  const HGDIOBJ old = SelectObject(dc, pen);
  Polyline(dc, line.data(), static_cast<int>(line.size()));
  SelectObject(dc, old);
  DeleteObject(pen);
}

LRESULT TCurveChart::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      Paint(BeginPaint(Handle(), &ps));
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      // A press alone changes nothing; the drag goes on when the pointer
      // leaves the chart.
      SetCapture(Handle());
      lastPoint_ = lParam;
      return 0;
    case WM_MOUSEMOVE: {
      // The system also reports a "movement" that is none (a window shown
      // or closed under a still pointer).
      const bool moved = lParam != lastPoint_;
      lastPoint_ = lParam;
      if (!(wParam & MK_LBUTTON) || !moved) return 0;
      const TPlotArea plot = Plot();
      const float x0 = static_cast<float>(plot.XValue(GET_X_LPARAM(lParam)));
      const float y0 = static_cast<float>(plot.YValue(GET_Y_LPARAM(lParam)));
      editor_.ChartMouseMove(true, x0, y0);
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    }
    case WM_LBUTTONUP:
      if (GetCapture() == Handle()) ReleaseCapture();
      return 0;
    default:
      return TWindow::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace tavio::ui
