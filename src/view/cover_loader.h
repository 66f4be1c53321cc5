// TSearchThread: a cover loader, one background thread that prepares the
// covers of one album list once, claiming each album so no two loaders
// prepare the same one. It never draws and never touches a window.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "library/ol_saveable.h"

namespace tavio {

// Prepares the album's cover into a fresh bitmap and swaps it in under the
// album's CoverLock. Raises the picture's load error; the cover then stays
// as it was.
void PrepareAndHandOverCover(TAlbum& album);

class TSearchThread {
 public:
  using TNotify = std::function<void(TSearchThread&)>;
  using TNotifyIndex = std::function<void(TSearchThread&, int32_t index)>;

  // Created "suspended": set the members, then Start.
  TSearchThread() = default;
  // Stops the loader (see Stop).
  ~TSearchThread();
  TSearchThread(const TSearchThread&) = delete;
  TSearchThread& operator=(const TSearchThread&) = delete;

  // Called on the loader's thread once the whole list has been walked; never
  // after a stop.
  TNotify OnDone;
  // Called on the loader's thread right after it prepared the album four
  // places after StartIndex. Errors it raises are swallowed.
  TNotify OnReady;
  // Called on the loader's thread after each cover it handed over, with the
  // album's index. Errors it raises are swallowed.
  TNotifyIndex OnPrepared;
  int32_t StartIndex = 0;
  // Forward walks StartIndex, StartIndex + 1, ...; backward StartIndex - 1,
  // StartIndex - 2, ... and ends at StartIndex. Both wrap around the list.
  bool Backward = false;
  // Not owned; must stay unchanged until the loader has finished or stopped.
  TOLSaveable* List = nullptr;
  // How one claimed album is prepared; errors it raises are swallowed.
  std::function<void(TAlbum&)> Prepare = PrepareAndHandOverCover;

  void Start();
  // Asks the loader to stop before its next album and waits until its thread
  // has ended: afterwards it touches neither the list nor any album. An
  // album it was preparing is finished first.
  void Stop();
  // The walk is over (completed or stopped); Stop then returns at once.
  bool Finished() const { return finished_.load(); }

 private:
  void Execute();
  void PrepareAt(int32_t index, int32_t count);

  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

}  // namespace tavio
