// TSongGridWindow: the song list's window, a child of the carousel. It shows
// the picture the list's painter draws and hands mouse, wheel and keys to the
// list; everything the list does is decided there, not here.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/paint_box32.h"
#include "view/song_list.h"

namespace tavio::ui {

class TSongGridWindow : public TPaintBox32, public TSongGridScreen {
 public:
  TSongGridWindow(HWND parent, TSongList& list);
  ~TSongGridWindow() override;

  // Repaints when the list changed or the middle album did (a step while the
  // list is shown changes its header).
  void RefreshIfStale();

 protected:
  const TBitmap32& Buffer() const override { return picture_; }
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void ShowGrid(int32_t left, int32_t top) override;
  void HideGrid() override;
  void ShowWaitCursor(bool on) override;
  void Repaint();
  bool HandleKey(WPARAM key);
  bool PointerOverGrid(LPARAM screenPoint) const;

  TSongList& list_;
  TBitmap32 picture_;
  uint64_t paintedRevision_ = 0;
  std::string paintedTitle_;
  bool painted_ = false;
  HCURSOR savedCursor_ = nullptr;
};

}  // namespace tavio::ui
