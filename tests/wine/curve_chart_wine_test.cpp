// The curve chart of the settings dialog under the real window messages: only
// a movement with the left button held reshapes the curve.
#include <windows.h>

#include <gtest/gtest.h>

#include "settings/curve_editor.h"
#include "ui/curve_chart.h"

using namespace tavio;

TEST(CurveChart, PressOrStillPointerLeavesTheCurveAndAMovementReshapesIt_Wine) {
  const HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 243, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  TCurveEditor editor;
  editor.FuncA = 8830;
  editor.FuncB = 37590;
  editor.ShowStoredCurve();
  {
    ui::TCurveChart chart(parent, 1, 0, 0, 400, 243, editor);
    const HWND window = chart.Handle();
    const LPARAM aboveDiagonal = MAKELPARAM(200, 53);  // about x 50, y 80
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, aboveDiagonal);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, aboveDiagonal);  // no movement at all
    EXPECT_EQ(editor.FuncA, 8830) << "a bare click reshaped the curve";
    EXPECT_EQ(editor.FuncB, 37590);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(201, 53));
    EXPECT_NE(editor.FuncA, 8830);
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(201, 53));
  }
  DestroyWindow(parent);
}
