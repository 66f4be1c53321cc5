// TBackgroundScan: runs the walk of a library scan on a worker thread, so the
// dialog keeps painting and can offer Stop. The walk fills a list of its own;
// its progress, messages and end come to the dialog's thread, where the
// dialog decides what becomes of the albums found.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "library/library_scan.h"
#include "library/ol_saveable.h"

namespace tavio {

class TBackgroundScan {
 public:
  // Runs a task later on the dialog's thread; safe from any thread.
  using TPost = std::function<void(std::function<void()>)>;

  explicit TBackgroundScan(TPost postToDialog);
  // Asks the walk to stop and waits for the worker; nothing more is reported.
  ~TBackgroundScan();
  TBackgroundScan(const TBackgroundScan&) = delete;
  TBackgroundScan& operator=(const TBackgroundScan&) = delete;

  // On the dialog's thread. Progress comes at most once per round of the
  // dialog's messages (the latest figures).
  std::function<void(const TScanProgress&)> OnProgress;
  // The end of the walk: found holds the albums when the walk ran to its end
  // and Stop was not asked before this moment; otherwise it is null, and
  // error holds the message of a failure (empty when stopped). loadErrors
  // names the covers that could not be loaded, for the one summary box.
  std::function<void(std::unique_ptr<TOLSaveable> found, const std::vector<std::string>& loadErrors,
                     const std::string& error)>
      OnFinished;

  // Starts the walk of scan (its own handlers are replaced). One at a time.
  void Start(TLibraryScan scan);
  void Stop();
  bool Running() const { return running_; }

 private:
  struct TShared;
  void Walk(TLibraryScan scan);
  void Finish(std::unique_ptr<TOLSaveable> found, const std::vector<std::string>& loadErrors, bool complete,
              const std::string& error);

  TPost post_;
  std::shared_ptr<TShared> shared_;
  std::thread worker_;
  bool running_ = false;
};

}  // namespace tavio
