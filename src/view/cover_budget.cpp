#include "view/cover_budget.h"

#include <algorithm>

namespace tavio {
namespace {

int32_t Wrap(int32_t i, int32_t n) { return ((i % n) + n) % n; }

}  // namespace

void TCoverBudget::SetLimit(int64_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  limit_ = std::max<int64_t>(bytes, 0);
  Enforce();
  Changed(true);
}

void TCoverBudget::Attach(TOLSaveable& shown, TOLSaveable& hidden, int32_t middle) {
  std::lock_guard<std::mutex> lock(mutex_);
  prepared_.clear();
  total_ = 0;
  middle_ = middle;
  for (auto [state, list] : {std::pair{&shown_, &shown}, std::pair{&hidden_, &hidden}}) {
    const auto n = static_cast<size_t>(list->Count());
    state->List = list;
    state->Bytes.assign(n, -1);
    state->KnownBytes.assign(n, -1);
    state->Slot.assign(n, -1);
    state->PreparedCount = 0;
  }
  attached_ = true;
  for (const bool hiddenList : {false, true}) {
    TListState& state = hiddenList ? hidden_ : shown_;
    for (int32_t i = 0; i < state.List->Count(); ++i) {
      TAlbum& album = *state.List->Items(i);
      if (!album.CoverReady) continue;
      std::lock_guard<std::mutex> coverLock(album.CoverLock);
      AddPrepared(hiddenList, i, album.Cover.OwnPixelBytes());
    }
  }
  Enforce();
  Changed(true);
}

void TCoverBudget::Detach() {
  std::lock_guard<std::mutex> lock(mutex_);
  attached_ = false;
  prepared_.clear();
  total_ = 0;
  shown_ = {};
  hidden_ = {};
  Changed(true);
}

bool TCoverBudget::Attached() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return attached_;
}

void TCoverBudget::SetMiddle(int32_t middle) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (middle == middle_) return;
  middle_ = middle;
  Changed(true);
}

int32_t TCoverBudget::Middle() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return middle_;
}

int64_t TCoverBudget::Rank(bool hidden, int32_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return RankLocked(hidden, index);
}

int64_t TCoverBudget::RankLocked(bool hidden, int32_t index) const {
  const int32_t n = shown_.List ? shown_.List->Count() : 0;
  if (hidden) return 2 * static_cast<int64_t>(n) + index;
  if (n == 0) return 0;
  const int32_t forward = Wrap(index - middle_, n);
  const int32_t backward = Wrap(middle_ - index, n);
  if (forward <= backward) return forward == 0 ? 0 : 2 * static_cast<int64_t>(forward) - 1;
  return 2 * static_cast<int64_t>(backward);
}

int32_t TCoverBudget::DistanceLocked(int32_t index) const {
  const int32_t n = shown_.List->Count();
  return std::min(Wrap(index - middle_, n), Wrap(middle_ - index, n));
}

TCoverBudget::TListState* TCoverBudget::StateOf(const TOLSaveable& list) {
  if (!attached_) return nullptr;
  if (&list == shown_.List) return &shown_;
  if (&list == hidden_.List) return &hidden_;
  return nullptr;
}

bool TCoverBudget::MayPrepareLocked(bool hidden, int32_t index) const {
  if (limit_ == 0) return true;
  if (!hidden && DistanceLocked(index) <= kAlwaysKept) return true;
  // Hidden albums wait until every shown one is prepared.
  if (hidden && shown_.PreparedCount < shown_.List->Count()) return false;
  const int64_t rank = RankLocked(hidden, index);
  int64_t releasable = 0;
  for (const TEntry& e : prepared_) {
    if (RankLocked(e.Hidden, e.Index) > rank && (e.Hidden || DistanceLocked(e.Index) > kAlwaysKept))
      releasable += (e.Hidden ? hidden_ : shown_).Bytes[e.Index];
  }
  const int64_t kept = total_ - releasable;
  int64_t expected = (hidden ? hidden_ : shown_).KnownBytes[index];
  if (expected < 0) {
    // Not prepared before: as large as the covers prepared so far on average.
    // One larger than that is prepared once, released at once, and known.
    int64_t count = 0;
    for (const TEntry& e : prepared_) count += (e.Hidden ? hidden_ : shown_).Bytes[e.Index] > 0 ? 1 : 0;
    expected = count > 0 ? total_ / count : 0;
  }
  return kept + expected <= limit_;
}

bool TCoverBudget::MayPrepare(const TOLSaveable& list, int32_t index) {
  std::lock_guard<std::mutex> lock(mutex_);
  const TListState* state = StateOf(list);
  return state && MayPrepareLocked(state == &hidden_, index);
}

bool TCoverBudget::HasWork(const TOLSaveable& list) {
  std::lock_guard<std::mutex> lock(mutex_);
  const TListState* state = StateOf(list);
  if (!state) return false;
  const int32_t n = list.Count();
  if (state == &hidden_) {
    for (int32_t j = 0; j < n; ++j)
      if (!list.Items(j)->CoverReady) return MayPrepareLocked(true, j);
    return false;
  }
  for (int32_t d = 0; d <= n / 2; ++d) {
    for (const int32_t i : {Wrap(middle_ + d, n), Wrap(middle_ - d, n)})
      if (!list.Items(i)->CoverReady) return MayPrepareLocked(false, i);
  }
  return false;
}

int64_t TCoverBudget::PreparedBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return total_;
}

int32_t TCoverBudget::WalkStart(const TOLSaveable& list) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return &list == shown_.List ? middle_ : 0;
}

void TCoverBudget::Settled(const TOLSaveable& list, int32_t index) {
  std::lock_guard<std::mutex> lock(mutex_);
  TListState* state = StateOf(list);
  if (!state || index < 0 || index >= list.Count()) return;
  TAlbum& album = *list.Items(index);
  int64_t bytes = 0;
  {
    std::lock_guard<std::mutex> coverLock(album.CoverLock);
    bytes = album.Cover.OwnPixelBytes();
  }
  const bool hidden = state == &hidden_;
  RemovePrepared(hidden, index);
  AddPrepared(hidden, index, bytes);
  state->KnownBytes[index] = bytes;
  Enforce();
  Changed(false);
}

void TCoverBudget::AddPrepared(bool hidden, int32_t index, int64_t bytes) {
  TListState& state = hidden ? hidden_ : shown_;
  state.Bytes[index] = bytes;
  state.Slot[index] = static_cast<int32_t>(prepared_.size());
  ++state.PreparedCount;
  prepared_.push_back({hidden, index});
  total_ += bytes;
}

void TCoverBudget::RemovePrepared(bool hidden, int32_t index) {
  TListState& state = hidden ? hidden_ : shown_;
  const int32_t slot = state.Slot[index];
  if (slot < 0) return;
  const TEntry last = prepared_.back();
  prepared_[slot] = last;
  (last.Hidden ? hidden_ : shown_).Slot[last.Index] = slot;
  prepared_.pop_back();
  total_ -= state.Bytes[index];
  state.Bytes[index] = -1;
  state.Slot[index] = -1;
  --state.PreparedCount;
}

void TCoverBudget::Enforce() {
  if (!attached_ || limit_ == 0) return;
  bool released = false;
  while (total_ > limit_) {
    const TEntry* farthest = nullptr;
    int64_t farthestRank = -1;
    for (const TEntry& e : prepared_) {
      const int64_t rank = RankLocked(e.Hidden, e.Index);
      if (rank <= farthestRank || (e.Hidden ? hidden_ : shown_).Bytes[e.Index] <= 0) continue;
      if (!e.Hidden && DistanceLocked(e.Index) <= kAlwaysKept) continue;
      farthest = &e;
      farthestRank = rank;
    }
    if (!farthest) break;
    const TEntry victim = *farthest;
    TListState& state = victim.Hidden ? hidden_ : shown_;
    TAlbum& album = *state.List->Items(victim.Index);
    {
      // FillSlot holds this lock while it copies the cover into a slot.
      std::lock_guard<std::mutex> coverLock(album.CoverLock);
      album.ReleaseCover();
    }
    RemovePrepared(victim.Hidden, victim.Index);
    released = true;
  }
  if (released) Changed(true);
}

void TCoverBudget::Changed(bool newWalk) {
  if (newWalk) ++walkGeneration_;
  ++changes_;
  changed_.notify_all();
}

void TCoverBudget::WaitForChange(uint64_t seen, const std::atomic<bool>& stop) {
  std::unique_lock<std::mutex> lock(mutex_);
  const uint64_t wakes = wakes_;
  changed_.wait(lock, [&] { return changes_ != seen || stop || wakes_ != wakes; });
}

void TCoverBudget::Wake() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++wakes_;
  changed_.notify_all();
}

}  // namespace tavio
