#include "settings/curve_editor.h"

#include "raster/rounding.h"
#include "settings/settings_keys.h"

namespace tavio {
namespace {

constexpr int32_t kLastX = 100;
// The second point every edited curve passes through, outside the plot.
constexpr float kFixedPoint = 110.0f;

bool FitsInt32(double value) { return value > -2147483648.5 && value < 2147483647.5; }

}  // namespace

double TPlotArea::XValue(int32_t x) const { return (x - Left) * 100.0 / (Right - Left); }
double TPlotArea::YValue(int32_t y) const { return (Bottom - y) * 100.0 / (Bottom - Top); }
double TPlotArea::XPixel(double value) const { return Left + value * (Right - Left) / 100.0; }
double TPlotArea::YPixel(double value) const { return Bottom - value * (Bottom - Top) / 100.0; }

void TCurveEditor::ShowStoredCurve() { DrawCurve(FuncA / settings::kCurveScale, FuncB / settings::kCurveScale); }

void TCurveEditor::DrawCurve(double a, double b) {
  Points.clear();
  for (int32_t i = 0; i <= kLastX; ++i) {
    const double d = a * i + b;
    const float y = d != 0 ? static_cast<float>(i / d) : 0.0f;
    Points.push_back({static_cast<double>(i), y});
  }
}

bool TCurveEditor::ChartMouseMove(bool leftButtonDown, float x0, float y0) {
  if (!leftButtonDown) return false;
  Points.clear();
  for (int32_t i = 0; i <= kLastX; ++i) Points.push_back({static_cast<double>(i), static_cast<double>(i)});
  const float denominator = (x0 - kFixedPoint) * y0;
  if (denominator == 0) return false;
  const float a = (x0 - y0) / denominator;
  const float b = 1 - kFixedPoint * a;
  if (!(a > 0)) return false;
  // Dragged far outside the plot, A or B can outgrow the stored integers;
  // such a curve is refused like a flat one rather than stored wrapped.
  const double scaledA = a * settings::kCurveScale, scaledB = b * settings::kCurveScale;
  if (!FitsInt32(scaledA) || !FitsInt32(scaledB)) return false;
  FuncA = Round(scaledA);
  FuncB = Round(scaledB);
  DrawCurve(a, b);
  return true;
}

}  // namespace tavio
