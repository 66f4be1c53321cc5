// TFrmImages: the modal image search dialog: the search text, the 5 x 4 grid
// of candidate pictures, the size and rating under the mouse. A double-click
// on a cell chooses it. The search itself is TImageSearch's.
#pragma once
#include <windows.h>

#include "coversearch/http_client.h"
#include "coversearch/image_search.h"
#include "library/album.h"
#include "ui/window.h"

namespace tavio::ui {

class TFrmImages : public TWindow {
 public:
  static constexpr const char* kCaption = "Load images ... (from Google)";
  enum : int { kESuchId = 101, kBtnSearchId, kBtnNextId, kLInfoId, kLabel2Id };

  TFrmImages(HWND owner, TSearchEndpoint endpoint);
  ~TFrmImages() override;

  // Sets the search text to the album's artist and title.
  void SetAlbum(const TAlbum& album);
  // True when the dialog ended by a double-click on a cell.
  bool ShowModal();
  // The chosen cell, or -1.
  int32_t SelectedImage() const { return selected_; }
  // The chosen cell's picture, checked to be the one it showed.
  const TCoverPicture& SelectedPicture() const { return chosen_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND AddControl(const char* className, const char* text, DWORD style, int x, int y, int w, int h, int id);
  void FormShow();
  void RunSearch();
  void ESuchChange() { search_.TextChanged(); }
  void Image1MouseMove(int32_t cell);
  void Image1DblClick(int32_t cell);
  void PaintCells(HDC dc);

  HWND owner_;
  HWND eSuch_ = nullptr;
  HWND btnSearch_ = nullptr;
  HWND btnNext_ = nullptr;
  HWND lInfo_ = nullptr;
  HFONT arial_ = nullptr;
  const TAlbum* album_ = nullptr;
  TImageSearch search_;
  THttpClient client_;
  int32_t selected_ = -1;
  TCoverPicture chosen_;
  bool done_ = false;
  bool ok_ = false;
  bool searching_ = false;
};

}  // namespace tavio::ui
