// TCurveChart: the chart of the movement-curve editor: fixed 0..100 axes,
// the editor's points as a red line, and mouse movement handed to the editor.
#pragma once
#include <windows.h>

#include "settings/curve_editor.h"
#include "ui/window.h"

namespace tavio::ui {

class TCurveChart : public TWindow {
 public:
  TCurveChart(HWND parent, int id, int x, int y, int w, int h, TCurveEditor& editor);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  TPlotArea Plot() const;
  void Paint(HDC dc);

  TCurveEditor& editor_;
  // Where the pointer was last seen, as the mouse messages give it.
  LPARAM lastPoint_ = -1;
};

}  // namespace tavio::ui
