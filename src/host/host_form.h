// TForm2: the borderless host form inside the player's frame window. It holds
// the carousel window CF, centres it on resize and starts it when shown.
#pragma once
#include <windows.h>

#include <memory>

#include "ui/carousel_window.h"
#include "ui/window.h"

namespace tavio::host {

// Posted to the form by Config, which runs on the player's main thread, so the
// settings command runs on the view's own thread.
constexpr UINT kShowSettingsMessage = WM_APP + 20;

class TForm2 : public ui::TWindow {
 public:
  explicit TForm2(HWND frame);
  ~TForm2() override;

  // Makes the form visible; the first time (and after a hide) runs FormShow.
  void Show();
  // The form's own visibility: while the player hides the frame, the form
  // stays visible inside it and must not be shown (and started) again.
  bool Visible() const { return (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0; }
  // Fills the frame's client area.
  void FitFrame();
  ui::TCarouselWindow* CF() { return cf_.get(); }
  // The view's settings command; a second request while the dialog is open
  // only brings the frame forward.
  void OpenSettings();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormShow();
  void FormResize();

  HWND frame_;
  std::unique_ptr<ui::TCarouselWindow> cf_;
  bool settingsOpen_ = false;
};

}  // namespace tavio::host
