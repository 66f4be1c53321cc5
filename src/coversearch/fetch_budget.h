// TFetchBudget: how long one fetch may still take, and whether its caller has
// given up. Every wait of a fetch goes through it, so neither a trickling
// server nor a user waiting on Cancel can hold a fetch past its bounds.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>

namespace tavio {

class TFetchBudget {
 public:
  using TClock = std::chrono::steady_clock;

  // No deadline; nothing cancels.
  TFetchBudget() = default;
  TFetchBudget(int32_t totalMs, const std::atomic<bool>* cancelled)
      : deadline_(TClock::now() + std::chrono::milliseconds(totalMs)), cancelled_(cancelled) {}

  // Raises EHttpError when the fetch was cancelled or its time is up.
  void Check() const;
  // Milliseconds left, at most capMs; raises as Check does when none are.
  int32_t LeftMs(int32_t capMs) const;
  // Calls ready(ms) with short waits until it says yes, for at most waitMs;
  // false when waitMs passed. Raises as Check does.
  bool WaitUntil(int32_t waitMs, const std::function<bool(int32_t)>& ready) const;

 private:
  TClock::time_point deadline_ = TClock::time_point::max();
  const std::atomic<bool>* cancelled_ = nullptr;
};

}  // namespace tavio
