// TFrmImages: the modal image search dialog: the search text, the 5 x 4 grid
// of candidate pictures, the size and rating under the mouse, and a status
// line, and the choice of the cover source, remembered for next time. A
// double-click on a cell this search filled chooses it. The search runs on
// TSearchWorker's thread, so the window answers while it fetches.
#pragma once
#include <windows.h>

#include <array>

#include "coversearch/cover_source_choice.h"
#include "coversearch/image_search.h"
#include "coversearch/search_worker.h"
#include "library/album.h"
#include "ui/window.h"

namespace tavio::ui {

class TFrmImages : public TWindow {
 public:
  static constexpr const char* kCaption = "Load images ... (from Google)";
  enum : int { kESuchId = 101, kBtnSearchId, kBtnNextId, kLInfoId, kLabel2Id, kBtnCancelId, kLStatusId, kCBSourceId };
  // The grid sits below the source choice.
  static constexpr int kGridTop = 34;

  explicit TFrmImages(HWND owner);
  ~TFrmImages() override;

  // Sets the search text to the album's artist and title.
  void SetAlbum(const TAlbum& album);
  // True when the dialog ended by a double-click on a cell.
  bool ShowModal();
  // The chosen cell, or -1.
  int32_t SelectedImage() const { return selected_; }
  // The worker has news; posted from its thread.
  static constexpr UINT kNewsMessage = WM_APP + 19;
  // The chosen cell's picture, checked to be the one it showed.
  const TCoverPicture& SelectedPicture() const { return chosen_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND AddControl(const char* className, const char* text, DWORD style, int x, int y, int w, int h, int id);
  void FormShow();
  void RunSearch();
  void BtnCancelClick();
  void ESuchChange() { typed_ = true; }
  void CBSourceChange();
  void Image1MouseMove(int32_t cell);
  void Image1DblClick(int32_t cell);
  void PaintCells(HDC dc);
  void TakeNews();
  void SetStatus(const std::string& text);

  // What the window shows of a cell; the search's own cells live on the worker.
  struct TShownCell {
    TBitmap32 Thumbnail;
    std::string Info;
    // Filled by the current search: only such a cell can be chosen.
    bool Filled = false;
  };

  HWND owner_;
  HWND eSuch_ = nullptr;
  HWND btnSearch_ = nullptr;
  HWND btnNext_ = nullptr;
  HWND lInfo_ = nullptr;
  HWND btnCancel_ = nullptr;
  HWND lStatus_ = nullptr;
  HWND cbSource_ = nullptr;
  HFONT arial_ = nullptr;
  const TAlbum* album_ = nullptr;
  std::array<TShownCell, TImageSearch::kCellCount> cells_;
  int32_t selected_ = -1;
  TCoverPicture chosen_;
  bool done_ = false;
  bool ok_ = false;
  // The search text is the user's, no longer the album's artist and title.
  bool typed_ = false;
  TCoverSourceSettings sources_;
  // Last, so it stops before anything it reports to is gone.
  TSearchWorker worker_;
};

}  // namespace tavio::ui
