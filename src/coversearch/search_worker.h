// TSearchWorker: runs the image search's fetches on a thread of its own, so
// the dialog's window (and the player's, which shares its thread) never waits
// on the network. The worker alone touches the search while a job runs; the
// window learns what happened from the news it takes after each notify.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "coversearch/cover_picture.h"
#include "coversearch/image_search.h"
#include "coversearch/web_get.h"
#include "raster/bitmap32.h"

namespace tavio {

struct TSearchNews {
  enum class TKind {
    Status,     // Text: what the search is doing, or how it ended
    CellFilled, // Cell, Thumbnail and Info (the size and rating under the mouse)
    Finished,   // the job is over; another may start
    Chosen,     // Cell's Picture, checked to be the one it showed
    NotChosen,  // Text: why the chosen cell gave no picture
  };
  TKind Kind = TKind::Status;
  std::string Text;
  int32_t Cell = -1;
  TBitmap32 Thumbnail;
  std::string Info;
  TCoverPicture Picture;
};

// The status line when a search has ended.
std::string DescribeSearchEnd(const TSearchResult& result, const TSearchLimits& limits);

class TSearchWorker {
 public:
  // Makes the worker's one web client; it ends its fetch when cancelled is set.
  using TWebFactory = std::function<std::unique_ptr<TWebGet>(const std::atomic<bool>& cancelled)>;

  // notify is called on the worker's thread whenever news is waiting.
  TSearchWorker(TImageSearch search, TWebFactory makeWeb, std::function<void()> notify);
  ~TSearchWorker();
  TSearchWorker(const TSearchWorker&) = delete;
  TSearchWorker& operator=(const TSearchWorker&) = delete;

  // A job is running (until its Finished news is taken).
  bool Busy() const { return busy_; }
  // Runs one search for artist and album (either may be empty).
  void Search(const std::string& artist, const std::string& album);
  // Ends the job under way; later searches ask source.
  void UseSource(std::unique_ptr<TCoverSource> source);
  // Gets the chosen cell's picture, fetching it again if the cell gave it up.
  void Choose(int32_t cell);
  // Ends the job under way and waits for it; its fetch ends within a fraction of a second.
  void Cancel();
  std::vector<TSearchNews> TakeNews();

 private:
  void Start(std::function<void()> job);
  void Tell(TSearchNews news);

  TImageSearch search_;
  std::atomic<bool> cancelled_{false};
  std::unique_ptr<TWebGet> web_;
  std::function<void()> notify_;
  std::mutex mutex_;
  std::vector<TSearchNews> news_;
  bool busy_ = false;
  std::thread thread_;
};

}  // namespace tavio
