// The movement-curve editor: the curve through the pointer and (110, 110),
// the movements it refuses, and the curves it draws.
#include <gtest/gtest.h>

#include "settings/curve_editor.h"

using namespace tavio;

namespace {

bool IsStraightLine(const TCurveEditor& editor) {
  if (editor.Points.size() != 101) return false;
  for (size_t i = 0; i < editor.Points.size(); ++i)
    if (editor.Points[i].X != static_cast<double>(i) || editor.Points[i].Y != static_cast<double>(i)) return false;
  return true;
}

}  // namespace

TEST(CurveEditor, PointerAboveTheDiagonalSetsTheCurveThroughIt) {
  TCurveEditor editor;
  EXPECT_TRUE(editor.ChartMouseMove(true, 50, 80));
  EXPECT_EQ(editor.FuncA, 6250);
  EXPECT_EQ(editor.FuncB, 312500);
  ASSERT_EQ(editor.Points.size(), 101u);
  EXPECT_NEAR(editor.Points[50].Y, 80.0, 1e-4);
  EXPECT_NEAR(editor.Points[100].Y, 106.7, 0.05);
  EXPECT_EQ(editor.Points[0].Y, 0.0);
}

TEST(CurveEditor, RefusedMovementsShowTheLineAndKeepTheIntegers) {
  struct TCase {
    const char* what;
    bool left;
    float x, y;
  };
  for (const TCase& c : {TCase{"on the diagonal", true, 40, 40}, TCase{"below it", true, 70, 20},
                         TCase{"on the x axis", true, 50, 0}, TCase{"at x 110", true, 110, 50},
                         TCase{"far outside, A beyond 32 bits", true, 50, -1e-6f}}) {
    TCurveEditor editor;
    editor.FuncA = 8830;
    editor.FuncB = 37590;
    EXPECT_FALSE(editor.ChartMouseMove(c.left, c.x, c.y)) << c.what;
    EXPECT_TRUE(IsStraightLine(editor)) << c.what;
    EXPECT_EQ(editor.FuncA, 8830) << c.what;
    EXPECT_EQ(editor.FuncB, 37590) << c.what;
  }
}

TEST(CurveEditor, MovingWithoutTheLeftButtonChangesNothing) {
  TCurveEditor editor;
  editor.FuncA = 8830;
  editor.FuncB = 37590;
  editor.ShowStoredCurve();
  const auto before = editor.Points;
  EXPECT_FALSE(editor.ChartMouseMove(false, 50, 80));
  EXPECT_EQ(editor.FuncA, 8830);
  ASSERT_EQ(editor.Points.size(), before.size());
  EXPECT_EQ(editor.Points[10].Y, before[10].Y);
}

TEST(CurveEditor, StoredCurvesDrawAsTheirFormulaSays) {
  TCurveEditor editor;
  editor.FuncA = 0;
  editor.FuncB = 1000000;
  editor.ShowStoredCurve();
  EXPECT_TRUE(IsStraightLine(editor));

  editor.FuncA = 8830;
  editor.FuncB = 37590;
  editor.ShowStoredCurve();
  EXPECT_NEAR(editor.Points[1].Y, 21.5, 0.05);
  EXPECT_NEAR(editor.Points[10].Y, 79.4, 0.05);
  EXPECT_NEAR(editor.Points[100].Y, 108.6, 0.05);

  editor.FuncA = 0;
  editor.FuncB = 0;  // every divisor 0
  editor.ShowStoredCurve();
  for (const TCurvePoint& p : editor.Points) EXPECT_EQ(p.Y, 0.0);
}

TEST(CurveEditor, PlotAreaMapsPixelsLinearlyAndBeyondItsEdges) {
  const TPlotArea plot{10, 20, 210, 220};
  EXPECT_DOUBLE_EQ(plot.XValue(10), 0);
  EXPECT_DOUBLE_EQ(plot.XValue(210), 100);
  EXPECT_DOUBLE_EQ(plot.YValue(220), 0);
  EXPECT_DOUBLE_EQ(plot.YValue(20), 100);
  EXPECT_DOUBLE_EQ(plot.XValue(0), -5);
  EXPECT_DOUBLE_EQ(plot.YValue(240), -10);
  EXPECT_DOUBLE_EQ(plot.XPixel(plot.XValue(123)), 123);
}
