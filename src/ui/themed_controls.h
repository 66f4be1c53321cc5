// TThemedControls: while one lives, windows created on this thread get the
// themed common controls (version 6) from the module's own manifest, whatever
// the host process's manifest says.
#pragma once
#include <windows.h>

namespace tavio::ui {

class TThemedControls {
 public:
  // Without the manifest or activation contexts, the classic controls stay.
  TThemedControls();
  ~TThemedControls();
  TThemedControls(const TThemedControls&) = delete;
  TThemedControls& operator=(const TThemedControls&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

}  // namespace tavio::ui
