// TCurveEditor: the movement-curve editor of the settings dialog without its
// chart: the 101 points shown, the pointer's reshaping of the curve through
// the point under it and (110, 110), and the two stored integers.
#pragma once
#include <cstdint>
#include <vector>

namespace tavio {

struct TCurvePoint {
  double X = 0;
  double Y = 0;
};

// The chart's plot rectangle in pixels; both axes run from 0 to 100 over it
// (left to right, bottom to top) and go on linearly outside it.
struct TPlotArea {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 100;
  int32_t Bottom = 100;

  double XValue(int32_t x) const;
  double YValue(int32_t y) const;
  // The pixel of a value, for drawing.
  double XPixel(double value) const;
  double YPixel(double value) const;
};

class TCurveEditor {
 public:
  // FuncA and FuncB are the curve's A and B times 1,000,000.
  int32_t FuncA = 0;
  int32_t FuncB = 0;
  // x = 0..100 with the curve's y, which may leave 0..100.
  std::vector<TCurvePoint> Points;

  // The stored curve, as the dialog shows it when it opens.
  void ShowStoredCurve();
  // y = x / (a x + b) at x = 0..100, y 0 where the divisor is 0.
  void DrawCurve(double a, double b);
  // A pointer movement to the axis values (x0, y0): with the left button
  // held, the curve through that point and (110, 110) when it bends upwards
  // (A > 0); otherwise the straight line, the integers unchanged. Returns
  // whether the curve was taken.
  bool ChartMouseMove(bool leftButtonDown, float x0, float y0);
};

}  // namespace tavio
