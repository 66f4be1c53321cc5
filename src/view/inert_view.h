// TInertView: the view takes no input while a dialog of its own runs (the
// settings, the search for missing covers), and takes it again however the
// dialog ends.
#pragma once
#include "view/marquelle2.h"

namespace tavio {

class TInertView {
 public:
  explicit TInertView(TMarquelle2& view) : view_(view) { view_.Inert = true; }
  ~TInertView() { view_.Inert = false; }
  TInertView(const TInertView&) = delete;
  TInertView& operator=(const TInertView&) = delete;

 private:
  TMarquelle2& view_;
};

}  // namespace tavio
