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
  if (Guide) Guide->Wake();
  if (thread_.joinable()) thread_.join();
}

void TSearchThread::Execute() {
  // Nothing may escape a loader: a thread that throws ends the process.
  try {
    if (List && Guide) {
      GuidedWalk(List->Count());
    } else if (List) {
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

void TSearchThread::GuidedWalk(int32_t count) {
  uint64_t generation = Guide->WalkGeneration();
  int32_t start = Guide->WalkStart(*List);
  int32_t k = 0;
  while (!stopRequested_ && k < count) {
    // Read before the questions below, so a change made while they are
    // answered ends the wait at once.
    const uint64_t changes = Guide->Changes();
    if (Guide->WalkGeneration() != generation) {
      generation = Guide->WalkGeneration();
      start = Guide->WalkStart(*List);
      k = 0;
    }
    const int32_t index = Wrap(start + (Backward ? count - 1 - k : k), count);
    if (!List->Items(index)->CoverReady && !Guide->MayPrepare(*List, index)) {
      Guide->WaitForChange(changes, stopRequested_);
      continue;
    }
    PrepareAt(index, count);
    ++k;
  }
}

void TSearchThread::PrepareAt(int32_t index, int32_t count) {
  TAlbum& album = *List->Items(index);
  if (!album.ClaimCover()) return;
  bool prepared = false;
  try {
    Prepare(album);
    prepared = true;
  } catch (...) {
  }
  try {
    if (Guide) Guide->Settled(*List, index);
    if (prepared && OnPrepared) OnPrepared(*this, index);
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
