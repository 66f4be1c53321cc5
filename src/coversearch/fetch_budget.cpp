#include "coversearch/fetch_budget.h"

#include <algorithm>

#include "coversearch/http_error.h"

namespace tavio {

namespace {

// Short enough that Cancel ends a fetch well within a second.
constexpr int32_t kSliceMs = 100;

}  // namespace

void TFetchBudget::Check() const {
  if (cancelled_ && cancelled_->load()) throw EHttpError("Cancelled");
  if (TClock::now() >= deadline_) throw EHttpError("Timed out: the server took too long to answer");
}

int32_t TFetchBudget::LeftMs(int32_t capMs) const {
  Check();
  if (deadline_ == TClock::time_point::max()) return capMs;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - TClock::now()).count();
  return static_cast<int32_t>(std::clamp<int64_t>(left, 1, capMs));
}

bool TFetchBudget::WaitUntil(int32_t waitMs, const std::function<bool(int32_t)>& ready) const {
  const TClock::time_point end = TClock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - TClock::now()).count();
    if (left <= 0) return false;
    if (ready(LeftMs(static_cast<int32_t>(std::min<int64_t>(left, kSliceMs))))) return true;
  }
}

}  // namespace tavio
