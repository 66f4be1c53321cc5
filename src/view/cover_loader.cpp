#include "view/cover_loader.h"

#include <mutex>
#include <string>

#include "view/prepare_cover.h"

namespace tavio {
namespace {

int32_t Wrap(int32_t i, int32_t n) { return ((i % n) + n) % n; }

}  // namespace

void PrepareAndHandOverCover(TAlbum& album) {
  std::string coverFile, title;
  {
    std::lock_guard<std::mutex> lock(album.CoverLock);
    coverFile = album.CoverFile;
    title = album.Album;
  }
  TBitmap33 fresh;
  PrepareCoverInto(fresh, coverFile, title);
  std::lock_guard<std::mutex> lock(album.CoverLock);
  album.Cover.TakePixels(std::move(fresh));
}

TSearchThread::~TSearchThread() { Stop(); }

void TSearchThread::Start() {
  stopRequested_ = false;
  finished_ = false;
  thread_ = std::thread([this] { Execute(); });
}

void TSearchThread::Stop() {
  stopRequested_ = true;
  if (thread_.joinable()) thread_.join();
}

void TSearchThread::Execute() {
  // Nothing may escape a loader: a thread that throws ends the process.
  try {
    if (List) {
      const int32_t n = List->Count();
      for (int32_t k = 0; k < n; ++k) {
        if (stopRequested_) break;
        PrepareAt(Wrap(StartIndex + (Backward ? n - 1 - k : k), n), n);
      }
    }
    if (!stopRequested_ && OnDone) OnDone(*this);
  } catch (...) {
  }
  finished_ = true;
}

void TSearchThread::PrepareAt(int32_t index, int32_t count) {
  TAlbum& album = *List->Items(index);
  if (!album.ClaimCover()) return;
  try {
    Prepare(album);
    if (OnPrepared) OnPrepared(*this, index);
  } catch (...) {
  }
  if (index == Wrap(StartIndex + 4, count) && OnReady) {
    try {
      OnReady(*this);
    } catch (...) {
    }
  }
}

}  // namespace tavio
