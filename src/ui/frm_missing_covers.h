// TFrmMissingCovers: the progress window of "Find missing covers ...": counts
// as the albums are done and a Stop button, while TMissingCovers runs on a
// thread of its own; a summary box when it ends. Modal over the player's
// window, with its own message round, so the player keeps drawing.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "coversearch/cover_source_choice.h"
#include "coversearch/missing_covers_tally.h"
#include "library/album.h"
#include "ui/window.h"

namespace tavio::ui {

class TFrmMissingCovers : public TWindow {
 public:
  static constexpr const char* kCaption = "Find missing covers";
  enum : int { kLProgressId = 101, kBtnStopId };

  explicit TFrmMissingCovers(HWND owner);
  ~TFrmMissingCovers() override;

  // Runs the search over albums and shows the summary; returns the albums
  // that got a cover. saveLibrary runs on the worker thread.
  std::vector<const TAlbum*> Run(const std::vector<TAlbum*>& albums, const std::function<void()>& saveLibrary);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr UINT kProgressMessage = WM_APP + 20;
  static constexpr UINT kFinishedMessage = WM_APP + 21;

  void Work(const std::vector<TAlbum*>& albums, const std::function<void()>& saveLibrary);
  void BtnStopClick();
  void ShowProgress();

  HWND owner_;
  HWND lProgress_ = nullptr;
  HWND btnStop_ = nullptr;
  TCoverSourceSettings sources_;
  std::atomic<bool> stop_{false};
  bool done_ = false;
  bool stopped_ = false;
  // Shared with the worker.
  std::mutex mutex_;
  TMissingCoversTally tally_{0};
  std::vector<const TAlbum*> found_;
  std::thread worker_;
};

}  // namespace tavio::ui
