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

// What a loader asks while it walks when not every cover may be kept: where
// its walk starts again, whether an album is within reach, and when to look
// again. Every member is called on loader threads and must be thread-safe.
class TLoaderGuide {
 public:
  virtual ~TLoaderGuide() = default;
  // Changes whenever a walk must begin again from WalkStart (the middle moved,
  // covers were released).
  virtual uint64_t WalkGeneration() const = 0;
  virtual int32_t WalkStart(const TOLSaveable& list) const = 0;
  // Changes whenever anything a refusal of MayPrepare rests on changes.
  virtual uint64_t Changes() const = 0;
  virtual bool MayPrepare(const TOLSaveable& list, int32_t index) = 0;
  // The claimed album at index is done with, prepared or not.
  virtual void Settled(const TOLSaveable& list, int32_t index) = 0;
  // Returns once Changes() differs from seen, stop is set or Wake was called.
  virtual void WaitForChange(uint64_t seen, const std::atomic<bool>& stop) = 0;
  virtual void Wake() = 0;
};

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
  // Not owned. Without one the loader walks its list once from StartIndex;
  // with one it begins again wherever the guide says, prepares only what the
  // guide allows and waits for a change when it allows nothing more. It
  // reports OnDone once it has walked the whole list without a new start.
  TLoaderGuide* Guide = nullptr;

  void Start();
  // Asks the loader to stop before its next album and waits until its thread
  // has ended: afterwards it touches neither the list nor any album. An
  // album it was preparing is finished first.
  void Stop();
  // The walk is over (completed or stopped); Stop then returns at once.
  bool Finished() const { return finished_.load(); }

 private:
  void Execute();
  void GuidedWalk(int32_t count);
  void PrepareAt(int32_t index, int32_t count);

  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

}  // namespace tavio
