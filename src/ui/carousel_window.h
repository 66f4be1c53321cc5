// TCarouselWindow: the window of the carousel. It owns the portable view,
// gives it the screen, timer, clock and message round, and feeds it input.
#pragma once
#include <windows.h>

#include <memory>

#include "ui/paint_box32.h"
#include "ui/song_grid_window.h"
#include "view/marquelle2.h"

namespace tavio::ui {

class TCarouselWindow : public TPaintBox32, public TViewPlatform, public TCoverPicker {
 public:
  TCarouselWindow(HWND parent, int x, int y, int w, int h);
  ~TCarouselWindow() override;

  TMarquelle2& View() { return *view_; }

 protected:
  const TBitmap32& Buffer() const override { return view_->FrameBuffer; }
  void PaintOver(HDC dc) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Flush() override { TPaintBox32::Flush(); }
  void ProcessPendingMessages() override;
  void WaitUntil(int64_t dueMs) override;
  void SetTimer(bool enabled, uint32_t intervalMs) override;
  int64_t NowMs() override;
  void PostToViewThread(std::function<void()> task) override;
  void ShowSettingsDialog(TConfigModel& dialog) override;
  void RequestParentLayout() override;
  void Repaint() override;
  void DropPostedTasks();
  void ClickIfReleasedInside(LPARAM point);
  LRESULT HandleViewMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // The view's context menu at a point on the screen.
  void ShowCoverMenu(int screenX, int screenY);
  TCoverPicture ClipboardBitmap() override;
  TCoverPicture ChooseWebCover(const TAlbum& album) override;
  std::vector<const TAlbum*> FindMissingCovers(const std::vector<TAlbum*>& albums,
                                         const std::function<void()>& saveLibrary) override;

  std::unique_ptr<TMarquelle2> view_;
  std::unique_ptr<TSongGridWindow> songGrid_;
  // Wakes the frame wait; high-resolution where the system offers it, so a
  // 16 ms wait is not rounded up to the scheduler's 15.6 ms tick twice.
  HANDLE frameTimer_ = nullptr;
  LARGE_INTEGER clockFrequency_{};
  // The first half of a character typed as a surrogate pair.
  char16_t highSurrogate_ = 0;
  // A left press on this window that a release here turns into a click.
  bool leftPressed_ = false;
};

}  // namespace tavio::ui
