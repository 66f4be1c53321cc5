#include "ui/carousel_window.h"

#include <string>

namespace tavio::ui {
namespace {

constexpr UINT kRunTaskMessage = WM_APP + 1;
constexpr UINT_PTR kScrollTimerId = 1;

// The control's own canvas: straight onto the screen.
class TDcCanvas : public TScreenCanvas {
 public:
  explicit TDcCanvas(HDC dc) : dc_(dc) {}
  void TextOut(int32_t x, int32_t y, const std::string& text) override {
    const HGDIOBJ oldFont = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc_, RGB(255, 255, 255));
    SetBkColor(dc_, RGB(0, 0, 0));
    SetBkMode(dc_, OPAQUE);
    ::TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
    SelectObject(dc_, oldFont);
  }
  void Draw(int32_t x, int32_t y, const TBitmap32& bitmap) override { DrawBitmap(dc_, x, y, bitmap); }

 private:
  HDC dc_;
};

}  // namespace

TCarouselWindow::TCarouselWindow(HWND parent, int x, int y, int w, int h) {
  CreateHandle("TMarquelle2", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, parent, x, y, w, h,
               "", CS_DBLCLKS);
  view_ = std::make_unique<TMarquelle2>(*this);
  view_->Resize(w, h);
}

TCarouselWindow::~TCarouselWindow() {
  KillTimer(Handle(), kScrollTimerId);
  view_.reset();
  DropPostedTasks();
  DestroyHandle();
}

void TCarouselWindow::PaintOver(HDC dc) {
  TDcCanvas canvas(dc);
  view_->Paint(canvas);
}

LRESULT TCarouselWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!view_) return TPaintBox32::HandleMessage(msg, wParam, lParam);
  switch (msg) {
    case WM_SIZE:
      view_->Resize(LOWORD(lParam), HIWORD(lParam));
      InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case kRunTaskMessage: {
      std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(lParam));
      (*task)();
      return 0;
    }
    default:
      return TPaintBox32::HandleMessage(msg, wParam, lParam);
  }
}

void TCarouselWindow::ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the loop that owns this thread.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void TCarouselWindow::SetTimer(bool enabled, uint32_t intervalMs) {
  if (!Handle()) return;
  if (enabled)
    ::SetTimer(Handle(), kScrollTimerId, intervalMs, nullptr);
  else
    KillTimer(Handle(), kScrollTimerId);
}

int64_t TCarouselWindow::NowMs() { return static_cast<int64_t>(GetTickCount64()); }

void TCarouselWindow::PostToViewThread(std::function<void()> task) {
  auto* boxed = new std::function<void()>(std::move(task));
  if (!PostMessageA(Handle(), kRunTaskMessage, 0, reinterpret_cast<LPARAM>(boxed))) delete boxed;
}

void TCarouselWindow::DropPostedTasks() {
  MSG msg;
  while (PeekMessageA(&msg, Handle(), kRunTaskMessage, kRunTaskMessage, PM_REMOVE))
    delete reinterpret_cast<std::function<void()>*>(msg.lParam);
}

}  // namespace tavio::ui
