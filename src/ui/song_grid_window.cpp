#include "ui/song_grid_window.h"

#include <windowsx.h>

#include "view/song_grid_painter.h"

namespace tavio::ui {

TSongGridWindow::TSongGridWindow(HWND parent, TSongList& list) : list_(list) {
  // Hidden until the list has turned in.
  CreateHandle("TSongGrid", WS_CHILD | WS_CLIPSIBLINGS, 0, parent, 0, 0, 0, 0, "", CS_DBLCLKS);
}

TSongGridWindow::~TSongGridWindow() { DestroyHandle(); }

void TSongGridWindow::Repaint() {
  const TSongGridModel& grid = list_.Grid();
  paintedRevision_ = grid.Revision();
  paintedTitle_ = list_.AlbumTitle();
  painted_ = true;
  picture_.SetSize(grid.Width(), grid.Height());
  PaintSongGrid(picture_, grid, paintedTitle_);
  if (Handle() && IsWindowVisible(Handle())) InvalidateRect(Handle(), nullptr, FALSE);
}

void TSongGridWindow::RefreshIfStale() {
  if (!list_.Visible()) return;
  if (!painted_ || paintedRevision_ != list_.Grid().Revision() || paintedTitle_ != list_.AlbumTitle()) Repaint();
}

void TSongGridWindow::ShowGrid(int32_t left, int32_t top) {
  Repaint();
  const TSongGridModel& grid = list_.Grid();
  SetWindowPos(Handle(), HWND_TOP, left, top, grid.Width(), grid.Height(), SWP_SHOWWINDOW);
  // Painted now: the flip has just drawn the same picture on the carousel.
  UpdateWindow(Handle());
  SetFocus(Handle());
}

void TSongGridWindow::HideGrid() { ShowWindow(Handle(), SW_HIDE); }

void TSongGridWindow::ShowWaitCursor(bool on) {
  if (on) {
    savedCursor_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    return;
  }
  // Without a cursor from before, SetCursor(nullptr) would hide the pointer.
  SetCursor(savedCursor_ ? savedCursor_ : LoadCursor(nullptr, IDC_ARROW));
}

bool TSongGridWindow::PointerOverGrid(LPARAM screenPoint) const {
  RECT r;
  GetWindowRect(Handle(), &r);
  const POINT pt{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  return PtInRect(&r, pt) != FALSE;
}

bool TSongGridWindow::HandleKey(WPARAM key) {
  switch (key) {
    case VK_UP:
      list_.GridKey(TGridKey::Up);
      return true;
    case VK_DOWN:
      list_.GridKey(TGridKey::Down);
      return true;
    case VK_HOME:
      list_.GridKey(TGridKey::Home);
      return true;
    case VK_END:
      list_.GridKey(TGridKey::End);
      return true;
    case VK_PRIOR:
      list_.GridKey(TGridKey::PageUp);
      return true;
    case VK_NEXT:
      list_.GridKey(TGridKey::PageDown);
      return true;
    case VK_RETURN:
      list_.GridEnter();
      return true;
    case VK_ESCAPE:
      list_.GridEscape();
      return true;
    default:
      return false;
  }
}

LRESULT TSongGridWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  switch (msg) {
    case WM_LBUTTONDOWN:
      SetFocus(Handle());
      SetCapture(Handle());
      list_.GridMouseDown(x, y);
      break;
    case WM_LBUTTONDBLCLK:
      SetCapture(Handle());
      list_.GridDoubleClick(x, y);
      break;
    case WM_LBUTTONUP:
      if (GetCapture() == Handle()) ReleaseCapture();
      list_.GridMouseUp(x, y);
      break;
    case WM_MOUSEMOVE:
      list_.GridMouseMove(x, y);
      break;
    case WM_SETCURSOR: {
      POINT pt;
      GetCursorPos(&pt);
      ScreenToClient(Handle(), &pt);
      if (LOWORD(lParam) != HTCLIENT || list_.Grid().ColumnBorderAt(pt.x, pt.y) < 0)
        return TPaintBox32::HandleMessage(msg, wParam, lParam);
      SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
      return TRUE;
    }
    case WM_MOUSEWHEEL:
      // The focused list gets every notch; only those over it are its own.
      if (!PointerOverGrid(lParam)) return SendMessageW(GetParent(Handle()), msg, wParam, lParam);
      list_.GridWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (!HandleKey(wParam)) return TPaintBox32::HandleMessage(msg, wParam, lParam);
      break;
    default:
      return TPaintBox32::HandleMessage(msg, wParam, lParam);
  }
  RefreshIfStale();
  return 0;
}

}  // namespace tavio::ui
