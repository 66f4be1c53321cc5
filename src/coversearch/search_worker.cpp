#include "coversearch/search_worker.h"

#include <algorithm>
#include <exception>


namespace tavio {

namespace {

constexpr const char* kEllipsis = "\u2026";

TSearchNews News(TSearchNews::TKind kind, std::string text = "") {
  TSearchNews news;
  news.Kind = kind;
  news.Text = std::move(text);
  return news;
}

}  // namespace

std::string DescribeSearchEnd(const TSearchResult& result, const TSearchLimits& limits) {
  const std::string found = result.Filled == 1 ? "1 picture" : std::to_string(result.Filled) + " pictures";
  switch (result.End) {
    case TSearchEnd::NoPage:
      return "The search failed: " + result.PageError;
    case TSearchEnd::OutOfTries:
      return "Stopped after " + std::to_string(limits.MaxTries) + " links tried; found " + found + ".";
    case TSearchEnd::OutOfTime:
      return "Stopped after " + std::to_string(limits.MaxSearchMs / 1000) + " seconds; found " + found + ".";
    case TSearchEnd::Cancelled:
      return "Cancelled; found " + found + ".";
    case TSearchEnd::Done:
      break;
  }
  return result.Filled == 0 ? "No pictures found." : "Found " + found + ".";
}

TSearchWorker::TSearchWorker(TImageSearch search, TWebFactory makeWeb, std::function<void()> notify)
    : search_(std::move(search)), web_(makeWeb(cancelled_)), notify_(std::move(notify)) {}

TSearchWorker::~TSearchWorker() { Cancel(); }

void TSearchWorker::Tell(TSearchNews news) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    news_.push_back(std::move(news));
  }
  notify_();
}

std::vector<TSearchNews> TSearchWorker::TakeNews() {
  std::vector<TSearchNews> taken;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    taken.swap(news_);
  }
  for (const TSearchNews& news : taken)
    if (news.Kind == TSearchNews::TKind::Finished) busy_ = false;
  return taken;
}

void TSearchWorker::Start(std::function<void()> job) {
  if (thread_.joinable()) thread_.join();
  cancelled_ = false;
  busy_ = true;
  thread_ = std::thread([this, job = std::move(job)] {
    // Nothing may leave the thread; a job's failure is news like any other.
    try {
      job();
    } catch (const std::exception& e) {
      Tell(News(TSearchNews::TKind::Status, e.what()));
    } catch (...) {
      Tell(News(TSearchNews::TKind::Status, "The search failed."));
    }
    Tell(News(TSearchNews::TKind::Finished));
  });
}

void TSearchWorker::Search(const std::string& artist, const std::string& album) {
  Start([this, artist, album] {
    Tell(News(TSearchNews::TKind::Status, std::string("Searching ") + kEllipsis));
    TSearchEvents events;
    events.Cancelled = [this] { return cancelled_.load(); };
    events.Downloading = [this](int32_t number, int32_t of) {
      Tell(News(TSearchNews::TKind::Status,
            "Downloading " + std::to_string(number) + " of " + std::to_string(of) + " " + kEllipsis));
    };
    events.CellFilled = [this](int32_t cell) {
      TSearchNews news = News(TSearchNews::TKind::CellFilled);
      news.Cell = cell;
      news.Thumbnail = search_.Cells[cell].Thumbnail;
      // The names come in UTF-8; the dialog's texts are in the code page, like its ellipsis.
      news.Info = search_.InfoFor(cell).value_or("");
      Tell(std::move(news));
    };
    const TSearchResult result = search_.Run(artist, album, *web_, events);
    Tell(News(TSearchNews::TKind::Status, DescribeSearchEnd(result, search_.Limits)));
  });
}

void TSearchWorker::Choose(int32_t cell) {
  Start([this, cell] {
    TSearchNews news = News(TSearchNews::TKind::Chosen);
    news.Cell = cell;
    try {
      news.Picture = search_.PictureOf(cell, *web_);
    } catch (const std::exception& e) {
      news.Kind = TSearchNews::TKind::NotChosen;
      news.Text = e.what();
    }
    Tell(std::move(news));
  });
}

void TSearchWorker::UseSource(std::unique_ptr<TCoverSource> source) {
  Cancel();
  search_.UseSource(std::move(source));
}

void TSearchWorker::Cancel() {
  cancelled_ = true;
  if (thread_.joinable()) thread_.join();
}

}  // namespace tavio
