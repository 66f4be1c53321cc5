#include "host/host_form.h"

#include "view/view_geometry.h"

namespace tavio::host {

TForm2::TForm2(HWND frame) : frame_(frame) {
  RECT client{};
  GetClientRect(frame, &client);
  CreateHandle("TForm2", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, frame, 0, 0, client.right, client.bottom,
               "Test PlugIn");
  // The view's size is set by FormResize once the form is laid out.
  cf_ = std::make_unique<ui::TCarouselWindow>(Handle(), 44, 100, 541, 293);
  FormResize();
}

TForm2::~TForm2() {
  cf_.reset();
  DestroyHandle();
}

void TForm2::Show() {
  if (Visible()) return;
  ShowWindow(Handle(), SW_SHOW);
  FormShow();
}

void TForm2::FitFrame() {
  RECT client{};
  GetClientRect(frame_, &client);
  SetWindowPos(Handle(), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm2::FormShow() {
  if (cf_) cf_->View().Start();
}

void TForm2::FormResize() {
  if (!cf_) return;
  cf_->View().StopScrolling();
  RECT client{};
  GetClientRect(Handle(), &client);
  const TViewBounds b = CentreViewInForm(client.right, client.bottom, cf_->View().ViewHeight());
  MoveWindow(cf_->Handle(), b.Left, b.Top, b.Width, b.Height, TRUE);
}

void TForm2::OpenSettings() {
  if (!cf_ || settingsOpen_) return;
  settingsOpen_ = true;
  try {
    cf_->View().OpenSettings();
  } catch (...) {
    settingsOpen_ = false;
    throw;
  }
  settingsOpen_ = false;
}

LRESULT TForm2::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(Handle(), &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      return 1;
    }
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_MOUSEWHEEL:
      // Wheel notches go to the focus window; the view never takes the focus.
      if (cf_) return SendMessageW(cf_->Handle(), msg, wParam, lParam);
      return TWindow::HandleMessage(msg, wParam, lParam);
    case kShowSettingsMessage:
      OpenSettings();
      ShowWindow(frame_, SW_SHOW);
      Show();
      return 0;
    default:
      return TWindow::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace tavio::host
