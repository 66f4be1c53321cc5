#include "settings/background_scan.h"

#include <exception>
#include <mutex>

namespace tavio {

// What the worker and the dialog's posted tasks share; it outlives the scan
// object, so a task that runs late finds alive cleared and does nothing.
struct TBackgroundScan::TShared {
  std::mutex mutex;
  bool stop = false;
  bool alive = true;
  bool progressPosted = false;
  TScanProgress progress;
};

TBackgroundScan::TBackgroundScan(TPost postToDialog)
    : post_(std::move(postToDialog)), shared_(std::make_shared<TShared>()) {}

TBackgroundScan::~TBackgroundScan() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stop = true;
    shared_->alive = false;
  }
  if (worker_.joinable()) worker_.join();
}

void TBackgroundScan::Start(TLibraryScan scan) {
  if (running_) return;
  if (worker_.joinable()) worker_.join();
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stop = false;
  }
  running_ = true;
  worker_ = std::thread([this, scan = std::move(scan)]() mutable { Walk(std::move(scan)); });
}

void TBackgroundScan::Stop() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->stop = true;
  }
}

// Worker thread: only the shared block and post_ are touched here.
void TBackgroundScan::Walk(TLibraryScan scan) {
  const std::shared_ptr<TShared> shared = shared_;
  scan.StopRequested = [shared] {
    std::lock_guard lock(shared->mutex);
    return shared->stop;
  };
  scan.OnProgress = [this, shared](const TScanProgress& progress) {
    std::lock_guard lock(shared->mutex);
    shared->progress = progress;
    if (shared->progressPosted) return;
    shared->progressPosted = true;
    post_([this, shared] {
      TScanProgress latest;
      {
        std::lock_guard lock(shared->mutex);
        shared->progressPosted = false;
        if (!shared->alive) return;
        latest = shared->progress;
      }
      if (OnProgress) OnProgress(latest);
    });
  };
  auto found = std::make_unique<TOLSaveable>();
  bool complete = false;
  std::string error;
  try {
    complete = scan.Collect(*found);
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "Unknown error";
  }
  // The list travels to the dialog's thread; a late task releases it unused.
  auto result = std::make_shared<std::unique_ptr<TOLSaveable>>(std::move(found));
  post_([this, shared, result, complete, error, loadErrors = scan.LoadErrors()] {
    {
      std::lock_guard lock(shared->mutex);
      if (!shared->alive) return;
    }
    Finish(std::move(*result), loadErrors, complete, error);
  });
}

void TBackgroundScan::Finish(std::unique_ptr<TOLSaveable> found, const std::vector<std::string>& loadErrors,
                             bool complete, const std::string& error) {
  if (worker_.joinable()) worker_.join();
  running_ = false;
  bool stopped;
  {
    std::lock_guard lock(shared_->mutex);
    stopped = shared_->stop;
  }
  if (!complete || stopped) found.reset();
  if (OnFinished) OnFinished(std::move(found), loadErrors, error);
}

}  // namespace tavio
