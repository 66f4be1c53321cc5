// TCoverBudget: bounds the memory of all prepared covers together. Keeps the
// covers nearest the middle album prepared (both ways round, wrapping) and
// releases the farthest when room is needed; guides the loaders accordingly.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "library/ol_saveable.h"
#include "view/cover_loader.h"

namespace tavio {

class TCoverBudget : public TLoaderGuide {
 public:
  // Albums this close to the middle are always kept and always prepared: the
  // six slots show them, also while a step moves the middle by one.
  static constexpr int32_t kAlwaysKept = 4;
  static constexpr int64_t kMegabyte = 1024 * 1024;

  // 0 = no limit: then nothing is released and the loaders need no guide.
  void SetLimit(int64_t bytes);
  int64_t Limit() const { return limit_; }
  bool Limited() const { return limit_ > 0; }

  // Takes the lists as they are now: which albums are prepared (claimed) and
  // how much their covers take. Only while no loader runs; the lists must
  // not change until Detach.
  void Attach(TOLSaveable& shown, TOLSaveable& hidden, int32_t middle);
  void Detach();
  bool Attached() const;

  // The view's middle album (index into the shown list).
  void SetMiddle(int32_t middle);
  int32_t Middle() const;

  // Nearness to the middle, 0 for the middle itself: shown albums in the
  // order middle, +1, -1, +2, -2, ...; every hidden album after them all, in
  // list order.
  int64_t Rank(bool hidden, int32_t index) const;

  // An unclaimed album of list within reach: a loader started now has work.
  bool HasWork(const TOLSaveable& list);
  int64_t PreparedBytes() const;

  // TLoaderGuide
  uint64_t WalkGeneration() const override { return walkGeneration_; }
  int32_t WalkStart(const TOLSaveable& list) const override;
  uint64_t Changes() const override { return changes_; }
  bool MayPrepare(const TOLSaveable& list, int32_t index) override;
  void Settled(const TOLSaveable& list, int32_t index) override;
  void WaitForChange(uint64_t seen, const std::atomic<bool>& stop) override;
  void Wake() override;

 private:
  struct TEntry {
    bool Hidden;
    int32_t Index;
  };
  // Per list: the bytes of each prepared album (-1 while not prepared), the
  // size each album had when last prepared (-1 unknown), and where in
  // prepared_ a prepared album stands.
  struct TListState {
    TOLSaveable* List = nullptr;
    std::vector<int64_t> Bytes;
    std::vector<int64_t> KnownBytes;
    std::vector<int32_t> Slot;
    int32_t PreparedCount = 0;
  };

  TListState* StateOf(const TOLSaveable& list);
  bool MayPrepareLocked(bool hidden, int32_t index) const;
  void AddPrepared(bool hidden, int32_t index, int64_t bytes);
  void RemovePrepared(bool hidden, int32_t index);
  // Releases the farthest covers while more than the limit is prepared.
  void Enforce();
  void Changed(bool newWalk);
  int32_t DistanceLocked(int32_t index) const;
  int64_t RankLocked(bool hidden, int32_t index) const;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int64_t limit_ = 0;
  bool attached_ = false;
  int32_t middle_ = 0;
  TListState shown_;
  TListState hidden_;
  std::vector<TEntry> prepared_;
  int64_t total_ = 0;
  std::atomic<uint64_t> walkGeneration_{0};
  std::atomic<uint64_t> changes_{0};
  uint64_t wakes_ = 0;
};

}  // namespace tavio
