// The view's side of the cover loaders: starting, stopping and resuming the
// three of them, the refill they ask for, and forgetting them once done.
#include "view/marquelle2.h"

namespace tavio {

namespace {

bool AnyUnclaimed(const TOLSaveable& list) {
  for (int32_t i = 0; i < list.Count(); ++i)
    if (!list.Items(i)->CoverReady) return true;
  return false;
}

}  // namespace

std::unique_ptr<TSearchThread> TMarquelle2::NewLoader(TOLSaveable& list, bool backward, int32_t startIndex,
                                                      std::atomic<bool>& doneFlag) {
  auto loader = std::make_unique<TSearchThread>();
  loader->OnDone = [&doneFlag](TSearchThread&) { doneFlag = true; };
  loader->OnReady = [this](TSearchThread&) { RequestRefill(); };
  loader->OnPrepared = [this, &list](TSearchThread&, int32_t index) { CoverArrived(list, index); };
  loader->Prepare = CoverPreparation;
  if (CoverBudget.Limited()) loader->Guide = &CoverBudget;
  loader->Backward = backward;
  loader->List = &list;
  loader->StartIndex = startIndex;
  loader->Start();
  return loader;
}

void TMarquelle2::AttachCoverBudget() {
  if (!CoverBudget.Limited()) return;
  if (!CoverBudget.Attached()) CoverBudget.Attach(Albums, HiddenAlbums, CurrentIndex);
  CoverBudget.SetMiddle(CurrentIndex);
}

void TMarquelle2::StartMainLoaders() {
  AttachCoverBudget();
  MainLoadersDone = false;
  ForwardLoader = NewLoader(Albums, false, CurrentIndex, MainLoadersDone);
  BackwardLoader = NewLoader(Albums, true, CurrentIndex, MainLoadersDone);
}

void TMarquelle2::StartHiddenLoader() {
  AttachCoverBudget();
  HiddenLoaderDone = false;
  HiddenLoader = NewLoader(HiddenAlbums, false, 0, HiddenLoaderDone);
}

void TMarquelle2::StartLoaders() {
  StopLoaders();
  MainLoadersDone = false;
  HiddenLoaderDone = false;
  Busy = false;
  StartMainLoaders();
  StartHiddenLoader();
}

TUnfinishedLoaders TMarquelle2::StopLoaders() {
  TUnfinishedLoaders unfinished;
  unfinished.Main = (ForwardLoader || BackwardLoader) && !MainLoadersDone;
  unfinished.Hidden = HiddenLoader && !HiddenLoaderDone;
  for (auto* loader : {&ForwardLoader, &BackwardLoader, &HiddenLoader}) {
    if (*loader) (*loader)->Stop();
    loader->reset();
  }
  // The lists may change now; the budget takes them again at the next start.
  CoverBudget.Detach();
  // A loader may have finished its walk while it was being stopped.
  unfinished.Main = unfinished.Main && !MainLoadersDone;
  unfinished.Hidden = unfinished.Hidden && !HiddenLoaderDone;
  return unfinished;
}

void TMarquelle2::ResumeLoaders(TUnfinishedLoaders unfinished) {
  // With a budget ResumeLoadersWithWork finds the albums still to prepare;
  // without one, those a scan could not load need the loaders started here.
  if (!CoverBudget.Limited()) {
    unfinished.Main = unfinished.Main || AnyUnclaimed(Albums);
    unfinished.Hidden = unfinished.Hidden || AnyUnclaimed(HiddenAlbums);
  }
  if (unfinished.Main) StartMainLoaders();
  if (unfinished.Hidden) StartHiddenLoader();
  ResumeLoadersWithWork();
}

void TMarquelle2::ResumeLoadersWithWork() {
  if (!CoverBudget.Limited() || AlbumCount == 0) return;
  AttachCoverBudget();
  if (!ForwardLoader && !BackwardLoader && CoverBudget.HasWork(Albums)) StartMainLoaders();
  if (!HiddenLoader && CoverBudget.HasWork(HiddenAlbums)) StartHiddenLoader();
}

void TMarquelle2::PrepareAllCovers() {
  StopLoaders();
  for (TOLSaveable* list : {&Albums, &HiddenAlbums}) {
    for (int32_t i = 0; i < list->Count(); ++i) {
      TAlbum& album = *list->Items(i);
      if (!album.ClaimCover()) continue;
      // As in the loaders: a cover that cannot be prepared stays the white square.
      try {
        PrepareAndHandOverCover(album);
      } catch (...) {
      }
    }
  }
  MainLoadersDone = true;
  HiddenLoaderDone = true;
}

void TMarquelle2::RequestRefill() {
  if (refillRequested_.exchange(true)) return;
  Platform.PostToViewThread([this] {
    refillRequested_ = false;
    RefillSlots();
  });
}

void TMarquelle2::CoverArrived(const TOLSaveable& list, int32_t albumIndex) {
  if (&list != &Albums) return;
  bool shown = false;
  for (size_t s = 0; s < Slots.size(); ++s) {
    if (slotAlbums_[s] == albumIndex) {
      slotStale_[s] = true;
      shown = true;
    }
  }
  if (shown) RequestSlotRefresh();
}

void TMarquelle2::RequestSlotRefresh() {
  if (slotRefreshRequested_.exchange(true)) return;
  Platform.PostToViewThread([this] {
    slotRefreshRequested_ = false;
    RefreshStaleSlots();
  });
}

void TMarquelle2::CleanUpLoaders() {
  if (ForwardLoader && MainLoadersDone) ForwardLoader.reset();
  if (HiddenLoader && HiddenLoaderDone) HiddenLoader.reset();
  if (BackwardLoader && MainLoadersDone) BackwardLoader.reset();
}

TLoaderPause::~TLoaderPause() {
  try {
    view_.ResumeLoaders(unfinished_);
  } catch (...) {
  }
}

}  // namespace tavio
